#!/usr/bin/env bash
# Builds the fuzz targets (the compile targets, the decoders' target and the
# authoring tool's check)
# and runs each for a bounded time (seconds, first
# argument, default 60). Fails when any target finds a crash, a leak, a
# sanitizer report or a broken invariant; the failing input is left in
# build/fuzz/artifacts/<target>/ and belongs, once mended, in
# fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out=build/fuzz
status=0
# The check of the authoring tool reads both sources too: it starts from the
# same seeds as fuzz_entrambi.
semi() { [[ $1 == check ]] && echo entrambi || echo "$1"; }
targets="linea treno entrambi decodifica check"
for target in $targets; do
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
cp "$out/corpus/entrambi/incorporati.bin" "$out/corpus/check/"

for target in $targets; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  log="$out/fuzz_$target.log"
  echo "== fuzz_$target for ${seconds}s"
  if ! "$out/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    echo "fuzz_$target FAILED:"; tail -40 "$log"; status=1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
  if compgen -G "$artifacts/*" >/dev/null; then
    echo "fuzz_$target left findings in $artifacts"; status=1
  fi
done
exit $status
