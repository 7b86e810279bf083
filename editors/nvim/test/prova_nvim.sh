#!/usr/bin/env bash
# Neovim's built-in client against `scenario_tool lsp` on the exported
# built-in sources (see prova_nvim.lua).
#
# Usage: editors/nvim/test/prova_nvim.sh PATH/TO/scenario_tool
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$(realpath "${1:?usage: prova_nvim.sh SCENARIO_TOOL}")
command -v nvim >/dev/null || { echo "prova_nvim: nvim not found" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" export -o "$work" >/dev/null

# No user configuration, no shada, no swap files; the plugin from this tree.
# The whole run is bounded: a server that hangs fails the test.
SCENARIO_TOOL=$tool SORGENTI=$work HOME=$work timeout 120 \
  nvim --headless -u NONE -i NONE -n \
    --cmd "set runtimepath^=$here/.." \
    -c "luafile $here/prova_nvim.lua" </dev/null
