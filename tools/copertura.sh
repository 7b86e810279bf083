#!/usr/bin/env bash
# Line and branch coverage of the compiler and the document writers: builds
# the tests with clang's source-based coverage (`coverage` preset), runs
# them (the unit tests and the replay of the fuzz seeds and regressions,
# FuzzSemiTest and FuzzRegressionTest), merges the profiles of every process
# they started and prints the report for compiler/ and sources/. The last
# lines give the totals of compiler/ alone.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/coverage
rm -rf "$out/profili"
# A failing test still leaves its profile; the report is printed either way
# and the script fails afterwards.
status=0
cmake --workflow --preset coverage || status=$?

profdata=$(command -v llvm-profdata-14 || command -v llvm-profdata)
cov=$(command -v llvm-cov-14 || command -v llvm-cov)
# A child stopped by its file-size limit leaves a cut-short profile; the
# others are merged all the same.
"$profdata" merge -sparse -failure-mode=all "$out"/profili/*.profraw -o "$out/copertura.profdata"

oggetti=("$out/tests/scenario_tests" -object "$out/scenario_builder")
# The report is narrowed by leaving the other folders out; with ccache's base
# directory set the recorded paths run through build/coverage/../../.
report() {
  "$cov" report "${oggetti[@]}" -instr-profile="$out/copertura.profdata" \
    -ignore-filename-regex="^(/usr/|.*/\.\./($1)/|$PWD/($1)/)"
}
echo "== coverage of compiler/ and sources/"
report 'app|platform|tests|fuzz|tool|bench'
echo "== compiler/ alone"
report 'app|platform|tests|fuzz|tool|bench|sources' | tail -1
# The lines not run, for looking them up:
#   llvm-cov show build/coverage/tests/scenario_tests -instr-profile=build/coverage/copertura.profdata compiler -show-line-counts-or-regions | grep -E '^ +[0-9]+\| +0\|'
exit $status
