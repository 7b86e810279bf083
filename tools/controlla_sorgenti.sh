#!/usr/bin/env bash
# The build names its sources one by one; this holds the lists to the tree,
# so that a file added without its line in a CMakeLists.txt fails here
# instead of going unbuilt (a test nobody runs, a room nobody links).
# Every .cc file must be named in the CMakeLists.txt of its own folder or of
# the nearest folder above it that has one. Files built by other means are
# listed below.
set -uo pipefail
cd "$(dirname "$0")/.."

# Built by tests/windows_e2e.sh on its own, not by the project.
altrove='^tests/windows_message_box\.cc$'

fail=0
while IFS= read -r f; do
  [[ $f =~ $altrove ]] && continue
  dir=$(dirname "$f")
  while [[ ! -f $dir/CMakeLists.txt && $dir != . ]]; do dir=$(dirname "$dir"); done
  rel=${f#"$dir"/}
  # Named as written in the list: relative to the folder, after a space or
  # a command's opening parenthesis; or built in a loop, `foreach(name A B)`
  # over `PREFIX${name}.cc`, with its name among the loop's.
  stem=${rel%.cc}
  if ! grep -qE "(^|[[:space:](])${rel//./\\.}([[:space:])]|$)" "$dir/CMakeLists.txt" &&
     ! grep -qE "^foreach\(name( [a-z_0-9]+)* ${stem#*_}( |\))" "$dir/CMakeLists.txt"; then
    echo "$f: not named in $dir/CMakeLists.txt"
    fail=1
  fi
done < <(find . \( -name build -o -name .git -o -name node_modules \) -prune -o -name '*.cc' -print |
           sed 's|^\./||' | sort)

if ((fail)); then
  echo "source lists incomplete"
  exit 1
fi
echo "source lists hold"
