#!/usr/bin/env bash
# Checks the release packages that `cmake --workflow --preset package` and
# `--preset package-windows` leave in build/packages (or the directory
# given): each archive must hold exactly one top folder with both programs,
# the README and every document of docs/; the ZIP must carry no DLL, and its
# programs must not import the MinGW runtime DLLs either. The Linux package
# is also unpacked and run: scenario_builder must write its six files next to
# itself and scenario_tool must answer --help. Both carry the editor
# packages: the VS Code extension (with its grammars, its settings and the
# language client inside) and the Neovim module.
#
# The .deb must hold the programs, their manual pages and the documents and
# depend on nothing a Debian system lacks; run as root, it is installed with
# apt-get, scenario_tool --version and `man scenario_tool` are tried, and it
# is removed again, leaving none of its files behind.
#
# Usage: tools/controlla_pacchetti.sh [PACKAGE_DIR] [linux|deb|windows]...
# (every kind when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/packages}
shift || true
[[ -d $dir ]] || { echo "controlla_pacchetti: no directory $dir" >&2; exit 1; }
dir=$(cd "$dir" && pwd)
kinds=("$@")
((${#kinds[@]})) || kinds=(linux deb windows)

fail() {
  echo "controlla_pacchetti: $*" >&2
  exit 1
}

# The one archive of a kind in the directory.
archive_of() {
  local pattern=$1
  local found=("$dir"/$pattern)
  [[ -e ${found[0]} ]] || fail "no package $pattern in $dir"
  ((${#found[@]} == 1)) || fail "more than one package $pattern in $dir: ${found[*]}"
  echo "${found[0]}"
}

# Fails unless the listing (one path a line) holds every path given.
expect_entries() {
  local listing=$1 archive=$2
  shift 2
  local p
  for p in "$@"; do
    grep -qxF "$p" <<<"$listing" || fail "$archive lacks $p"
  done
}

docs=()
for f in docs/*.md; do docs+=("$(basename "$f")"); done
((${#docs[@]})) || fail "docs/ holds no document"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# What every package holds under its documents' folder DOCDIR, one path a
# line: the README, every document of docs/ and the editor packages.
doc_entries() {
  local d
  echo "$1/README.md"
  for d in "${docs[@]}"; do echo "$1/docs/$d"; done
  echo "$1/editors/scenario-sources.vsix"
  echo "$1/editors/nvim/lua/scenario_sources.lua"
}

# The extension unpacked from the archive must hold what VS Code loads.
check_vsix() {
  local archive=$1 vsix=$2 kind=$3 listing
  mkdir -p "$scratch/vsix-$kind"
  (cd "$scratch/vsix-$kind" && cmake -E tar xf "$archive" "$vsix")
  listing=$(cmake -E tar tf "$scratch/vsix-$kind/$vsix")
  expect_entries "$listing" "$vsix" extension/package.json extension/extension.js \
    extension/language-configuration.json extension/syntaxes/linea.tmLanguage.json \
    extension/syntaxes/treno.tmLanguage.json \
    extension/node_modules/vscode-languageclient/package.json
  (cd "$scratch/vsix-$kind" && cmake -E tar xf "$vsix" extension/package.json)
  grep -q '"scenarioSources.server.path"' "$scratch/vsix-$kind/extension/package.json" ||
    fail "$vsix: the extension has no setting for the server's path"
}

check_linux() {
  local archive top listing
  archive=$(archive_of 'scenario_builder-*-Linux.tar.gz')
  top=$(basename "$archive" .tar.gz)
  # cmake's own tar lists .tar.gz and .zip alike; directories end in "/".
  listing=$(cmake -E tar tf "$archive" | grep -v '/$')
  local wanted
  mapfile -t wanted < <(doc_entries "$top/share/doc/scenario_builder")
  wanted+=("$top/bin/scenario_builder" "$top/bin/scenario_tool")
  expect_entries "$listing" "$archive" "${wanted[@]}"
  if grep -v "^$top/" <<<"$listing" | grep -q .; then
    fail "$archive holds files outside $top/"
  fi
  check_vsix "$archive" "$top/share/doc/scenario_builder/editors/scenario-sources.vsix" linux

  # Unpacked alone, the programs run: the builder writes its files beside
  # itself, wherever it was started from.
  mkdir "$scratch/linux"
  (cd "$scratch/linux" && cmake -E tar xf "$archive")
  local bin="$scratch/linux/$top/bin"
  (cd "$scratch" && "$bin/scenario_builder" >/dev/null) || fail "the packaged scenario_builder failed"
  local f
  for f in Lavrano_Cestelle_58121_note.txt Lavrano_Cestelle_58121_rallentamenti.txt \
           Lavrano_Cestelle_58121_scheda_treno.txt Lavrano_Cestelle_linea.dat \
           Lavrano_Cestelle_58121.sim Lavrano_Cestelle_58121.dat; do
    [[ -s $bin/$f ]] || fail "the packaged scenario_builder did not write $f"
  done
  "$bin/scenario_tool" --help >/dev/null || fail "the packaged scenario_tool --help failed"
  echo "ok: $archive"
}

check_deb() {
  local deb listing
  deb=$(archive_of 'scenario-builder_*_amd64.deb')
  command -v dpkg-deb >/dev/null || fail "dpkg-deb not found"
  # Paths as installed; directories left out.
  listing=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./|/|')
  local doc=/usr/share/doc/scenario_builder
  local wanted
  mapfile -t wanted < <(doc_entries "$doc")
  wanted+=(/usr/bin/scenario_builder /usr/bin/scenario_tool
           /usr/share/man/man1/scenario_builder.1.gz /usr/share/man/man1/scenario_tool.1.gz)
  expect_entries "$listing" "$deb" "${wanted[@]}"
  if grep -v '^/usr/' <<<"$listing" | grep -q .; then
    fail "$deb installs files outside /usr: $(grep -v '^/usr/' <<<"$listing" | tr '\n' ' ')"
  fi

  # At run time the programs need the C library and the C++ runtime, which
  # every Debian system has, and the tool the HTTP library of the preview's
  # live server, which Debian ships only as a shared library; nothing else
  # may be asked for.
  local dep nome
  while IFS= read -r dep; do
    nome=${dep%% *}
    [[ -z $nome || $nome =~ ^(libc6|libstdc\+\+6|libgcc-s1|libcpp-httplib[0-9.]+)$ ]] ||
      fail "$deb depends on $dep, which a Debian system need not have"
  done < <(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//')

  if ((EUID != 0)); then
    echo "ok: $deb (contents; installing it needs root)"
    return
  fi
  local versione
  versione=$(dpkg-deb -f "$deb" Version)
  ! dpkg -s scenario-builder >/dev/null 2>&1 || fail "scenario-builder is installed already"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null ||
    fail "apt-get install $deb failed"
  local installati
  installati=$(dpkg -L scenario-builder)
  [[ $(/usr/bin/scenario_tool --version) == "scenario_tool $versione" ]] ||
    fail "the installed scenario_tool --version does not say $versione"
  # A minimal system may be set to leave manual pages out (dpkg's
  # path-exclude); the page is then read from the package itself.
  local pagina
  if [[ -e /usr/share/man/man1/scenario_tool.1.gz ]]; then
    pagina=$(man scenario_tool 2>/dev/null) || fail "man scenario_tool failed"
  else
    echo "(this system leaves /usr/share/man out; the page is read from $deb)"
    mkdir "$scratch/deb"
    dpkg-deb -x "$deb" "$scratch/deb"
    pagina=$(man -l "$scratch/deb/usr/share/man/man1/scenario_tool.1.gz") || fail "man -l failed"
  fi
  grep -q "scenario_tool check" <<<"$pagina" || fail "the manual page of scenario_tool lacks its commands"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq scenario-builder >/dev/null ||
    fail "apt-get purge scenario-builder failed"
  ! dpkg -s scenario-builder >/dev/null 2>&1 || fail "scenario-builder is still installed"
  local f
  while IFS= read -r f; do
    [[ -d $f || ! -e $f ]] || fail "$f stayed after the package was removed"
  done <<<"$installati"
  echo "ok: $deb (installed, run, read through man, removed)"
}

check_windows() {
  local archive top listing
  archive=$(archive_of 'scenario_builder-*-win64.zip')
  top=$(basename "$archive" .zip)
  listing=$(cmake -E tar tf "$archive" | grep -v '/$')
  local wanted
  mapfile -t wanted < <(doc_entries "$top")
  wanted+=("$top/scenario_builder.exe" "$top/scenario_tool.exe")
  expect_entries "$listing" "$archive" "${wanted[@]}"
  if grep -v "^$top/" <<<"$listing" | grep -q .; then
    fail "$archive holds files outside $top/"
  fi
  check_vsix "$archive" "$top/editors/scenario-sources.vsix" windows
  if grep -qi '\.dll$' <<<"$listing"; then
    fail "$archive carries DLLs: $(grep -i '\.dll$' <<<"$listing" | tr '\n' ' ')"
  fi

  # Only Windows' own DLLs may be imported: the MinGW runtime (libstdc++,
  # libgcc, libwinpthread) must be linked in, since nothing ships it.
  local objdump=x86_64-w64-mingw32-objdump
  command -v "$objdump" >/dev/null || fail "$objdump not found (package binutils-mingw-w64-x86-64)"
  mkdir "$scratch/windows"
  (cd "$scratch/windows" && cmake -E tar xf "$archive")
  local exe imported
  for exe in scenario_builder.exe scenario_tool.exe; do
    imported=$("$objdump" -p "$scratch/windows/$top/$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    [[ -n $imported ]] || fail "$exe: no import table found"
    if grep -qi '^lib' <<<"$imported"; then
      fail "$exe needs DLLs that are not part of Windows: $(grep -i '^lib' <<<"$imported" | tr '\n' ' ')"
    fi
  done
  echo "ok: $archive"
}

for k in "${kinds[@]}"; do
  case $k in
    linux) check_linux ;;
    deb) check_deb ;;
    windows) check_windows ;;
    *) fail "unknown package kind $k (linux, deb or windows)" ;;
  esac
done
