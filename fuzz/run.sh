#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a bounded time (seconds, first
# argument, default 60): the three compile targets, the decoders of the
# compiled files and the authoring tool's check. Fails when any target finds
# a crash, a leak, a sanitizer report or a broken invariant; the failing
# input is left in build/fuzz/artifacts/<target>/ and belongs, once mended,
# in fuzz/regressions/<target>/. Prints, per target, the executions per
# second and the number of corpus entries at the end of its run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

# The targets, each with its kept failures in fuzz/regressions/<name>/ and
# its seeds in fuzz/seeds/<name>/; a new target is one more word here.
targets=(linea treno entrambi decodifica check)
# The check of the authoring tool reads both sources too: it starts from the
# same seeds as fuzz_entrambi.
semi() { [[ $1 == check ]] && echo entrambi || echo "$1"; }
# Targets whose inputs are the two sources, and so get their dictionary.
dictionary_targets=" linea treno entrambi check "

cmake --preset fuzz >/dev/null
if ! cmake --build --preset fuzz -j2 >build/fuzz-build.log 2>&1; then
  tail -50 build/fuzz-build.log; echo "the fuzz targets do not build"; exit 1
fi

out=build/fuzz
status=0
for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  rm -rf "$corpus" "$artifacts"
  mkdir -p "$corpus" "$artifacts"
  for d in "fuzz/seeds/$(semi "$target")" "fuzz/regressions/$target"; do
    if [[ -d $d ]]; then find "$d" -type f ! -name .keep -exec cp {} "$corpus/" \;; fi
  done
done
"$out/fuzz/fuzz_semi" "$out/corpus/linea" "$out/corpus/treno" "$out/corpus/entrambi" \
  "$out/corpus/decodifica"
cp "$out/corpus/entrambi/"*.bin "$out/corpus/check/"

for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  log="$out/fuzz_$target.log"
  extra=()
  [[ "$dictionary_targets" == *" $target "* ]] && extra+=(-dict=fuzz/sorgenti.dict)
  echo "== fuzz_$target for ${seconds}s"
  if ! "$out/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 "${extra[@]}" \
      -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    echo "fuzz_$target FAILED:"; tail -40 "$log"; status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(grep -oE ' cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || true)
  entries=$(find "$corpus" -type f | wc -l)
  echo "fuzz_$target: ${runs:-?} executions, ${rate:-?} executions/s, ${entries} corpus entries, ${cov:-?} coverage points"
  if compgen -G "$artifacts/*" >/dev/null; then
    echo "fuzz_$target left findings in $artifacts"; status=1
  fi
done
exit $status
