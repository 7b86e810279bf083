#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a bounded time (seconds, first
# argument, default 60): the three compile targets, the decoders of the
# compiled files and the authoring tool's check. Fails when any target finds
# a crash, a leak, a sanitizer report or a broken invariant; the failing
# input is left in build/fuzz/artifacts/<target>/ and belongs, once mended,
# in fuzz/regressions/<target>/. Prints, per target, the executions per
# second (of both its workers) and the number of corpus entries at the end
# of its run.
#
# With --together as second argument the targets run at the same time, each
# under `nice`, rather than one after another: a long campaign then takes
# its length once, not once per target, on a machine that may be busy with
# other work meanwhile.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
together=false
[[ "${2:-}" == --together ]] && together=true

# The targets, each with its kept failures in fuzz/regressions/<name>/ and
# its seeds in fuzz/seeds/<name>/; a new target is one more word here.
targets=(linea treno entrambi decodifica check lsp)
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

# Runs one target; its summary goes to $out/fuzz_<target>.summary, and its
# status is 1 when it failed or left a finding. One after another, each
# target has the machine to itself and runs as two workers, one a core, on
# one corpus (each takes up what the other adds to it as it goes); the rate
# printed is the two workers' together.
workers=2
$together && workers=1
fuzz_one() {
  local target=$1 corpus="$out/corpus/$1" artifacts="$out/artifacts/$1"
  local summary="$out/fuzz_$1.summary" failed=0
  local extra=()
  [[ "$dictionary_targets" == *" $target "* ]] && extra+=(-dict=fuzz/sorgenti.dict)
  local run=("$out/fuzz/fuzz_$target")
  $together && run=(nice -n 19 "${run[@]}")
  : >"$summary"
  local pids=() logs=() k
  for ((k = 0; k < workers; ++k)); do
    logs+=("$out/fuzz_$1.$k.log")
    "${run[@]}" "$corpus" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=4096 -max_len=65536 -print_final_stats=1 "${extra[@]}" \
      -artifact_prefix="$artifacts/" >"${logs[k]}" 2>&1 &
    pids+=($!)
  done
  for ((k = 0; k < workers; ++k)); do
    if ! wait "${pids[k]}"; then
      { echo "fuzz_$target FAILED (worker $k):"; tail -40 "${logs[k]}"; } >>"$summary"; failed=1
    fi
  done
  local runs=0 rate=0 cov=0 entries n r c log
  for log in "${logs[@]}"; do
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    r=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    c=$(grep -oE ' cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || true)
    runs=$((runs + ${n:-0})); rate=$((rate + ${r:-0}))
    ((${c:-0} > cov)) && cov=$c
  done
  entries=$(find "$corpus" -type f | wc -l)
  echo "fuzz_$target: ${runs} executions, ${rate} executions/s (${workers} worker(s)), ${entries} corpus entries, ${cov} coverage points" >>"$summary"
  # A slow unit is libFuzzer's note of an input that took over 10 s of wall
  # time, which on a busy machine (or under nice) may be only a wait for a
  # core; a real hang ends the run as a timeout, which is a finding.
  local slow
  slow=$(find "$artifacts" -name 'slow-unit-*' | wc -l)
  [[ $slow -gt 0 ]] && echo "fuzz_$target noted $slow slow unit(s) in $artifacts (not a finding)" >>"$summary"
  if [[ -n $(find "$artifacts" -type f ! -name 'slow-unit-*') ]]; then
    echo "fuzz_$target left findings in $artifacts" >>"$summary"; failed=1
  fi
  return $failed
}

status=0
if $together; then
  echo "== all targets at once for ${seconds}s"
  pids=()
  for target in "${targets[@]}"; do fuzz_one "$target" & pids+=($!); done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  for target in "${targets[@]}"; do cat "$out/fuzz_$target.summary"; done
else
  for target in "${targets[@]}"; do
    echo "== fuzz_$target for ${seconds}s"
    fuzz_one "$target" || status=1
    cat "$out/fuzz_$target.summary"
  done
fi
exit $status
