#!/usr/bin/env bash
# Holds the README's `apt-get install` line to what the two commands use:
# every program and CMake package that the configure of the `default`
# preset (build/default, configured beforehand) found on this machine, and
# every program the tests run, must come from a Debian package that the
# line installs, directly or as one of their dependencies. So a fresh Debian 12 machine that runs the line has
# all that `cmake --workflow --preset test` and `--preset run` need, even
# though this machine has more installed.
set -euo pipefail
cd "$(dirname "$0")/.."
cache=build/default/CMakeCache.txt
[[ -f $cache ]] || { echo "controlla_dipendenze: configure the default preset first" >&2; exit 1; }

riga=$(grep -m1 -E '^ +apt-get install' README.md) || {
  echo "controlla_dipendenze: README.md has no apt-get install line" >&2
  exit 1
}
pacchetti=()
for parola in ${riga#*install}; do
  [[ $parola == -* ]] || pacchetti+=("$parola")
done

# The packages the line brings: those named and all they depend on.
chiusura=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
             --no-breaks --no-replaces --no-enhances "${pacchetti[@]}" | grep -v '^ ' | sort -u)

# What the configure used: CMake and the generator, the compiler, and a file
# of each package's CMake configuration.
compilatore=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' build/default/CMakeFiles/*/CMakeCXXCompiler.cmake | head -1)
usati=("$(command -v cmake)" "$compilatore"
       "$(sed -n 's/^CMAKE_MAKE_PROGRAM:FILEPATH=//p' "$cache")")
while IFS= read -r cartella; do
  usati+=("$(find "$cartella" -maxdepth 1 -name '*.cmake' | head -1)")
done < <(sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=\(\/.*\)$/\1/p' "$cache")
# Programs the tests run by name, which no configure finds: the plot's SVG
# is checked with xmllint and rendered with rsvg-convert.
for programma in xmllint rsvg-convert; do
  usati+=("$(command -v "$programma" || echo "$programma")")
done

fail=0
for f in "${usati[@]}"; do
  vero=$(readlink -f "$f")
  pacchetto=$(dpkg -S "$vero" 2>/dev/null | head -1 | cut -d: -f1) || true
  if [[ -z $pacchetto ]]; then
    echo "$f: not installed by any Debian package"
    fail=1
  elif ! grep -qxF "$pacchetto" <<<"$chiusura"; then
    echo "$f: from $pacchetto, which the README's apt-get line does not bring"
    fail=1
  fi
done
if ((fail)); then
  echo "the README's apt-get line misses packages the build needs"
  exit 1
fi
echo "the README's apt-get line brings all the build uses (${#usati[@]} things checked)"
