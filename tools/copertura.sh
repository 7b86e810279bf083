#!/usr/bin/env bash
# Line and branch coverage of the compiler, the document writers and the
# authoring tool: builds
# the tests with clang's source-based coverage (`coverage` preset), runs
# them (the unit tests and the replay of the fuzz seeds and regressions,
# FuzzSemiTest and FuzzRegressionTest), merges the profiles of every process
# they started and prints the report for compiler/ and sources/, the totals
# of compiler/ alone, then the report for tool/. Fails when fewer than 90 %
# of the lines of tool/ run; what stays unrun, and why, is listed in
# docs/sviluppo.md.
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

oggetti=("$out/tests/scenario_tests" -object "$out/scenario_builder" -object "$out/scenario_tool")
# The report is narrowed by leaving the other folders out; with ccache's base
# directory set the recorded paths run through build/coverage/../../.
report() {
  "$cov" report "${oggetti[@]}" -instr-profile="$out/copertura.profdata" \
    -ignore-filename-regex="^(/usr/|.*/\.\./($1)/|$PWD/($1)/)"
}
altri='app|platform|tests|fuzz|bench|supporto|editors'
echo "== coverage of compiler/ and sources/"
report "$altri|tool"
echo "== compiler/ alone"
report "$altri|tool|sources" | tail -1
echo "== coverage of tool/"
report "$altri|compiler|sources" | tee "$out/copertura_tool.txt"
# The TOTAL row: regions, missed, cover, functions, missed, executed,
# lines, missed, cover, ...; the lines' cover is its 10th field.
righe=$(awk '$1 == "TOTAL" { sub("%", "", $10); print $10 }' "$out/copertura_tool.txt")
if awk -v r="$righe" 'BEGIN { exit !(r < 90) }'; then
  echo "coverage of tool/: $righe % of lines, under 90 %"
  status=1
fi
# The lines not run, for looking them up:
#   llvm-cov show build/coverage/tests/scenario_tests -object build/coverage/scenario_tool -instr-profile=build/coverage/copertura.profdata compiler tool -show-line-counts-or-regions | grep -E '^ +[0-9]+\| +0\|'
exit $status
