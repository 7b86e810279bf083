#!/usr/bin/env bash
# Holds the layout's include rules, so that the compiler's folders keep
# showing its pipeline: sources are read (lettura, placing features through
# posa), the grid is finished (finitura), the files are written (uscita).
#
#   - the headers shared by every stage (compiler/*.h) use only each other
#     and platform/;
#   - a stage uses the shared headers, itself and the stages it is allowed:
#       lettura -> posa;  posa -> none;  finitura -> posa;
#       uscita -> posa, finitura;
#   - only the driver (compiler/memorizza_percorso.*) sees every stage;
#   - nothing under compiler/ includes app/ or sources/;
#   - platform/ includes nothing of the scenario; sources/ nothing of app/
#     and of the compiler only its shared headers;
#   - the authoring tool (tool/) never includes app/; its rooms use the
#     compiler and the platform layer, and of one another only what the
#     rules below name; the commands at the top see every room;
#   - supporto/ (what the tests and the fuzzers share) uses the products'
#     layers only; the fuzzers use it and the products, never tests/; the
#     tests never include fuzz/; nothing else includes supporto/, tests/
#     or fuzz/ (the products are built without them).
# Prints every include that breaks a rule and fails if there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

shared='compiler/[a-z_0-9]+\.h'
fail=0

check() {  # check DIR-GLOB ALLOWED-REGEX WHY
  local files=$1 allowed=$2 why=$3 f line inc
  for f in $files; do
    [[ -f $f ]] || continue
    while IFS= read -r line; do
      inc=${line#*\"}; inc=${inc%%\"*}
      if ! [[ $inc =~ ^($allowed)$ ]]; then
        echo "$f: includes \"$inc\" ($why)"
        fail=1
      fi
    done < <(grep -E '^#include "' "$f")
  done
}

check "compiler/*.h" "$shared|platform/.*" \
  "a shared header uses only shared headers and platform/"
check "$(ls compiler/*.cc 2>/dev/null)" "$shared|compiler/(lettura|posa|finitura|uscita)/.*|platform/.*" \
  "the driver uses the stages, the shared headers and platform/"
check "compiler/posa/*" "$shared|compiler/posa/.*|platform/.*" \
  "placement uses no other stage"
check "compiler/lettura/*" "$shared|compiler/(lettura|posa)/.*|platform/.*" \
  "reading may use placement only"
check "compiler/finitura/*" "$shared|compiler/(finitura|posa)/.*|platform/.*" \
  "finishing never uses reading or output"
check "compiler/uscita/*" "$shared|compiler/(uscita|finitura|posa)/.*|platform/.*" \
  "output never uses reading"
check "platform/*" "platform/.*" \
  "the platform layer knows nothing of the scenario"
check "sources/*" "$shared|sources/.*|platform/.*" \
  "the documents use the compiler's shared headers only, never app/"
rooms() {  # the files of tool/ROOM
  find "tool/$1" -name '*.cc' -o -name '*.h' 2>/dev/null
}
check "$(rooms diagnosi)" "(compiler|platform|sources)/.*|tool/diagnosi/.*|tool/stato_uscita\.h" \
  "the diagnosis compiles and reports, and knows no other room"
check "$(rooms ispezione)" "(compiler|platform|sources)/.*|tool/ispezione/.*|tool/stato_uscita\.h" \
  "inspection reads compiled files only"
check "$(rooms lsp)" "(compiler|platform)/.*|tool/(lsp|diagnosi)/.*|tool/stato_uscita\.h" \
  "the language server answers from the diagnosis"
check "$(rooms anteprima)" "(compiler|platform)/.*|tool/(anteprima|diagnosi|ispezione)/.*|tool/stato_uscita\.h" \
  "the preview draws what the diagnosis and inspection give"
check "$(rooms documenti)" "(compiler|platform|sources)/.*|tool/(documenti|diagnosi)/.*|tool/stato_uscita\.h" \
  "the driver's documents are written from the diagnosis's compile"
check "$(find tool -maxdepth 1 -name '*.cc' -o -maxdepth 1 -name '*.h')" "(compiler|platform|sources|tool)/.*" \
  "the tool's commands drive the rooms, the compiler and the platform layer, never app/"

check "$(find supporto -name '*.cc' -o -name '*.h' 2>/dev/null)" \
  "(compiler|platform|sources|supporto)/.*|tool/diagnosi/.*" \
  "what the tests and the fuzzers share is built on the products alone"
check "$(find fuzz -name '*.cc' -o -name '*.h' 2>/dev/null)" \
  "(compiler|platform|sources|supporto|tool)/.*" \
  "the fuzzers share supporto/ with the tests, never the tests themselves"
check "$(find tests -name '*.cc' -o -name '*.h' 2>/dev/null)" \
  "(app|compiler|platform|sources|supporto|support|tool)/.*" \
  "the tests share supporto/ with the fuzzers, never the fuzzers themselves"
# The products' own folders include none of those.
while IFS= read -r line; do
  echo "$line (the products are built without supporto/, tests/ and fuzz/)"
  fail=1
done < <(grep -rnE '^#include "(supporto|tests|fuzz|support)/' app platform sources compiler tool 2>/dev/null)

if ((fail)); then
  echo "include rules broken"
  exit 1
fi
echo "include rules hold"
