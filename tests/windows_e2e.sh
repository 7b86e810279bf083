#!/usr/bin/env bash
# End-to-end check of the Windows build: runs it under Wine and the native
# build, each copied alone into an empty directory and started from
# somewhere else, and requires the same set of files with the same bytes.
# Then makes the Windows build fail on a directory standing where the notes
# file should go, and requires its message box and exit status 1. Last, the
# authoring tool of each build exports, checks and compiles, and both must
# give the same files and the same diagnostics, and its language server
# answers the recorded session of the tests.
#
# Needs cmake, ninja, g++, the MinGW-w64 cross compiler, wine, xvfb-run.
# SB_E2E_TIMEOUT (seconds, default 120) bounds each run under Wine: a run
# that does not end by itself is waiting on a dialog nobody will close.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
timeout_s=${SB_E2E_TIMEOUT:-120}

cmake --preset default >/dev/null
cmake --build --preset default
cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
mkdir -p "$WINEPREFIX"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "windows_e2e: $*" >&2
  exit 1
}

# Runs `wine ARGS...` in its own X server, from the directory $wine_cwd
# (default $work/cwd), waiting for the whole Wine session to end so that the
# X server is not pulled away under it. Returns the program's exit status
# (124 on timeout).
run_wine() {
  local rc=0
  (cd "${wine_cwd:-$work/cwd}" &&
    timeout --kill-after=10 "$timeout_s" xvfb-run -a sh -c '"$@"; rc=$?; wineserver -w; exit $rc' \
      sh "$@") || rc=$?
  if ((rc == 124 || rc == 137)); then
    wineserver -k 2>/dev/null || true
    return 124
  fi
  return "$rc"
}

mkdir "$work/cwd" "$work/native" "$work/windows"

# Wine's first start builds its prefix, which takes a while; do it outside
# the timed runs.
start=$SECONDS
run_wine wine wineboot --init || fail "wine cannot start (status $?)"
echo "windows_e2e: wine ready in $((SECONDS - start)) s"

# --- The normal run -------------------------------------------------------
cp build/default/scenario_builder "$work/native/"
native_rc=0
(cd "$work/cwd" && "$work/native/scenario_builder" >"$work/native.out" 2>"$work/native.err") ||
  native_rc=$?
((native_rc == 0)) || fail "native build exited with $native_rc: $(cat "$work/native.err")"

cp build/windows/scenario_builder.exe "$work/windows/"
start=$SECONDS
windows_rc=0
run_wine wine "$work/windows/scenario_builder.exe" || windows_rc=$?
((windows_rc != 124)) ||
  fail "Windows build did not end within $timeout_s s: a dialog is waiting for an answer"
((windows_rc == 0)) || fail "Windows build exited with status $windows_rc"
echo "windows_e2e: Windows run took $((SECONDS - start)) s"

list_files() {
  (cd "$1" && find . -maxdepth 1 -type f ! -name scenario_builder ! -name scenario_builder.exe \
    -printf '%f\n' | LC_ALL=C sort)
}
list_files "$work/native" >"$work/native.list"
list_files "$work/windows" >"$work/windows.list"
if ! diff -u "$work/native.list" "$work/windows.list" >"$work/list.diff"; then
  cat "$work/list.diff" >&2
  fail "the two builds wrote different sets of files (- native, + Windows)"
fi
[[ -s $work/native.list ]] || fail "neither build wrote any file"
if find "$work/windows" -mindepth 1 -type d | grep -q .; then
  fail "the Windows build made a directory: $(find "$work/windows" -mindepth 1 -type d)"
fi
count=0
while IFS= read -r name; do
  cmp "$work/native/$name" "$work/windows/$name" || fail "'$name' differs between the builds"
  count=$((count + 1))
done <"$work/native.list"
echo "windows_e2e: $count files, identical in both builds:"
while IFS= read -r name; do
  printf '  %8d  %s\n' "$(stat -c %s "$work/native/$name")" "$name"
done <"$work/native.list"

# --- A failure: a directory standing where the notes file should go -------
# The run must stop there with a message box naming the operation, the path
# and the system's reason, and exit with status 1 once the box is closed;
# the files written before it are those the native build writes.
notes=Lavrano_Cestelle_58121_note.txt
mkdir "$work/native_fail" "$work/windows_fail"
mkdir "$work/native_fail/$notes" "$work/windows_fail/$notes"
cp build/default/scenario_builder "$work/native_fail/"
cp build/windows/scenario_builder.exe "$work/windows_fail/"
native_rc=0
(cd "$work/cwd" && "$work/native_fail/scenario_builder" >/dev/null 2>&1) || native_rc=$?
((native_rc == 1)) || fail "native build exited with $native_rc on the failing run"

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Werror -static -municode \
  -o "$work/windows_message_box.exe" tests/windows_message_box.cc
windows_rc=0
run_wine sh -c 'wine "$1" scenario_builder "$2" >"$3" & wine "$4"; rc=$?; wait; exit $rc' sh \
  "$work/windows_message_box.exe" "$timeout_s" "$work/box.txt" \
  "$work/windows_fail/scenario_builder.exe" || windows_rc=$?
((windows_rc != 124)) || fail "the failing Windows run did not end within $timeout_s s"
((windows_rc == 1)) || fail "the failing Windows run exited with status $windows_rc, not 1"
tr -d '\r' <"$work/box.txt" >"$work/box"
grep -q '^buttons=' "$work/box" || fail "the failing Windows run showed no message box"
path="$(winepath -w "$work/windows_fail")\\$notes"
text=$(sed -n 's/^text=//p' "$work/box")
[[ $text == "cannot open '$path': "?* ]] ||
  fail "unexpected failure message: '$text' (expected \"cannot open '$path': <reason>\")"
expect_line() {
  grep -qxF "$1" "$work/box" || fail "expected '$1' from the failing Windows run, got: $(cat "$work/box")"
}
expect_line "buttons=OK"
# The window stays on screen behind the box, as it was built.
expect_line "window=280x179"
expect_line "label=Attendere 64,64 177x53"
list_files "$work/native_fail" >"$work/native_fail.list"
list_files "$work/windows_fail" >"$work/windows_fail.list"
diff -u "$work/native_fail.list" "$work/windows_fail.list" >&2 ||
  fail "the failing runs left different sets of files (- native, + Windows)"
while IFS= read -r name; do
  cmp "$work/native_fail/$name" "$work/windows_fail/$name" ||
    fail "'$name' differs between the failing runs"
done <"$work/native_fail.list"
echo "windows_e2e: failing run stopped with a box over its window:"
sed 's/^/  /' "$work/box"

# --- The authoring tool ---------------------------------------------------
# Each build's scenario_tool exports the built-in sources, compiles them,
# then checks and compiles (with --keep-going) a train source with a signal
# on a text board's cell. Same files, same bytes, same exit statuses, same
# diagnostics (line ends aside) in both.
source=Lavrano_Cestelle_linea.txt
train=Lavrano_Cestelle_58121-.txt
clash="segnale, 6800, 2, 4, 1, 1, 0, 2, 2,1,1, 0"
mkdir "$work/tool_native" "$work/tool_windows" "$work/tool_native/out" "$work/tool_windows/out"
tool_native() { (cd "$work/tool_native" && "$root/build/default/scenario_tool" "$@"); }
cp build/windows/scenario_tool.exe "$work/"
tool_windows() { wine_cwd="$work/tool_windows" run_wine wine "$work/scenario_tool.exe" "$@"; }

for side in native windows; do
  rc=0
  "tool_$side" export -o . >"$work/tool_$side.export" 2>&1 || rc=$?
  ((rc == 0)) || fail "$side scenario_tool export exited with $rc: $(cat "$work/tool_$side.export")"
  rc=0
  "tool_$side" compile "$source" "$train" -o out >"$work/tool_$side.compile" 2>&1 || rc=$?
  ((rc == 0)) || fail "$side scenario_tool compile exited with $rc: $(cat "$work/tool_$side.compile")"
  mkdir "$work/tool_$side/clash"
  cp "$work/tool_$side/$source" "$work/tool_$side/clash/"
  { cat "$work/tool_$side/$train"; printf '%s\r\n' "$clash"; } >"$work/tool_$side/clash/$train"
  rc=0
  "tool_$side" compile "clash/$source" "clash/$train" -o clash --keep-going \
    >"$work/tool_$side.clash" 2>&1 || rc=$?
  ((rc == 1)) || fail "$side scenario_tool compile --keep-going exited with $rc, not 1"
  rc=0
  "tool_$side" check "clash/$source" "clash/$train" --diagnostics-format json \
    >"$work/tool_$side.json" 2>&1 || rc=$?
  ((rc == 1)) || fail "$side scenario_tool check exited with $rc, not 1"
done
for f in clash json; do
  tr -d '\r' <"$work/tool_native.$f" >"$work/tool_native.$f.lf"
  tr -d '\r' <"$work/tool_windows.$f" >"$work/tool_windows.$f.lf"
  diff -u "$work/tool_native.$f.lf" "$work/tool_windows.$f.lf" >&2 ||
    fail "the two builds' scenario_tool gave different diagnostics (- native, + Windows)"
done
grep -q '(code 16)' "$work/tool_native.clash.lf" || fail "no code 16 in: $(cat "$work/tool_native.clash.lf")"
count=0
for sub in . out clash; do
  list_files "$work/tool_native/$sub" >"$work/tool_native.list"
  list_files "$work/tool_windows/$sub" >"$work/tool_windows.list"
  diff -u "$work/tool_native.list" "$work/tool_windows.list" >&2 ||
    fail "the two builds' scenario_tool wrote different files in $sub (- native, + Windows)"
  while IFS= read -r name; do
    cmp "$work/tool_native/$sub/$name" "$work/tool_windows/$sub/$name" ||
      fail "'$sub/$name' differs between the two builds' scenario_tool"
    count=$((count + 1))
  done <"$work/tool_native.list"
done
for name in Lavrano_Cestelle_linea.dat Lavrano_Cestelle_58121.sim Lavrano_Cestelle_58121.dat; do
  cmp "$work/tool_native/out/$name" "$work/native/$name" ||
    fail "scenario_tool compile's '$name' differs from scenario_builder's"
done
echo "windows_e2e: scenario_tool: $count files identical in both builds, diagnostics alike"

# --- Reading the compiled files back ---------------------------------------
# dump, plot and diff of each build's tool on the files it compiled: the same
# records, the same picture, the same verdict. Windows writes its console
# output with CR LF line ends, so those are compared without the CRs.
for side in native windows; do
  for f in Lavrano_Cestelle_58121.dat Lavrano_Cestelle_58121.sim Lavrano_Cestelle_linea.dat; do
    every=()
    [[ $f == *_linea.dat ]] && every=(--every 1000)
    rc=0
    "tool_$side" dump "out/$f" --format json "${every[@]}" \
      >"$work/tool_$side.dump.$f" 2>&1 || rc=$?
    ((rc == 0)) || fail "$side scenario_tool dump $f exited with $rc: $(head -c 300 "$work/tool_$side.dump.$f")"
  done
  rc=0
  "tool_$side" plot out -o line.svg >"$work/tool_$side.plot" 2>&1 || rc=$?
  ((rc == 0)) || fail "$side scenario_tool plot exited with $rc: $(cat "$work/tool_$side.plot")"
  rc=0
  "tool_$side" diff out out >"$work/tool_$side.diff" 2>&1 || rc=$?
  ((rc == 0)) || fail "$side scenario_tool diff of a directory with itself exited with $rc"
done
for f in Lavrano_Cestelle_58121.dat Lavrano_Cestelle_58121.sim Lavrano_Cestelle_linea.dat; do
  tr -d '\r' <"$work/tool_windows.dump.$f" | cmp - "$work/tool_native.dump.$f" ||
    fail "the two builds' scenario_tool dump of $f differ"
done
cmp "$work/tool_native/line.svg" "$work/tool_windows/line.svg" ||
  fail "the two builds' scenario_tool plot drew different pictures"
echo "windows_e2e: scenario_tool dump, plot and diff alike in both builds"

# --- The language server ---------------------------------------------------
# The session the native build's server answers in the tests, replayed
# against the Windows build's `scenario_tool lsp` under Wine. The framing
# counts bytes, so the server's standard input and output must be in binary
# mode there: a CR added before a line feed would break every message after
# the first.
replay=build/default/tests/trascrizione_lsp
[[ -x $replay ]] || fail "no $replay: the native build's tests are not built"
rc=0
wine_cwd="$work/tool_windows" run_wine "$root/$replay" "$root/tests/data/lsp/sessione.jsonl" \
  wine "$work/scenario_tool.exe" lsp >"$work/lsp.out" 2>&1 || rc=$?
((rc != 124)) || fail "the Windows build's language server did not end within $timeout_s s"
((rc == 0)) || fail "the Windows build's language server failed the session: $(cat "$work/lsp.out")"
echo "windows_e2e: scenario_tool lsp answered the recorded session under Wine"
