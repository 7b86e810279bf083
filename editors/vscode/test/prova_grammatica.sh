#!/usr/bin/env bash
# The extension's tests: the grammars on the sample rows of test/*.txt and
# on every row of the built-in sources as scenario_tool exports them, then
# the manifest against the files and the client. Needs `npm ci` first.
#
# Usage: editors/vscode/test/prova_grammatica.sh PATH/TO/scenario_tool
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:?usage: prova_grammatica.sh SCENARIO_TOOL}
node node_modules/vscode-tmgrammar-test/dist/unit.js --compact \
  -g syntaxes/linea.tmLanguage.json -g syntaxes/treno.tmLanguage.json 'test/*.txt'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" export -o "$work" >/dev/null
node test/prova_sorgenti.js "$work"
node test/prova_manifesto.js
