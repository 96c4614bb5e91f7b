#!/usr/bin/env bash
# The sources are built in floors, each folder using only the floors below
# it: core and the WMA decoder program; audio and persist; game; menu; app.
# A source that includes a header of its own floor's neighbour or of a
# floor above fails this test.
# Usage: include_floors.sh SOURCE_DIR
set -euo pipefail
src="$1/src"
declare -A floor=([core]=0 [wma_decoder]=0 [audio]=1 [persist]=1 [game]=2 [menu]=3 [app]=4)

status=0
for dir in "$src"/*/; do
  name="$(basename "$dir")"
  [ -n "${floor[$name]:-}" ] || { echo "FAIL: src/$name is on no floor" >&2; status=1; continue; }
done
while IFS=: read -r file line include; do
  own="$(basename "$(dirname "$file")")"
  target="${include%%/*}"
  [ "$target" = "$own" ] && continue
  if [ -z "${floor[$target]:-}" ]; then
    echo "FAIL: ${file#"$1"/}:$line includes \"$include\", in no known folder" >&2
    status=1
  elif [ "${floor[$target]}" -ge "${floor[$own]}" ]; then
    echo "FAIL: ${file#"$1"/}:$line ($own) includes \"$include\" ($target), which is not below it" >&2
    status=1
  fi
done < <(grep -rnoE '^#include "[^"]+"' "$src" | sed -E 's/#include "([^"]+)"/\1/')
[ "$status" = 0 ] && echo "every include points down"
exit "$status"
