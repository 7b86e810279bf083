#!/usr/bin/env bash
# The grammars' tests: the sample rows of test/*.txt, then every row of the
# built-in sources as scenario_tool exports them. Needs `npm ci` first.
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
