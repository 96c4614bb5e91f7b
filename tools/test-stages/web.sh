#!/usr/bin/env bash
# The browser version: built from this tree by tools/web-build, served from
# a local server and played in headless Chromium (tests/web/session.js),
# its screens compared with the desktop game's window in the same states
# (tests/web/desktop_states.sh, on the first stage's build); then the page
# around the game, the server stopped last for the offline check.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
site="$root/build-web/site"
work="$(mktemp -d /tmp/tirevane-web-XXXXXX)"
server=""
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$root/tools/web-build" "$site"
# The desktop game the first stage built (built here when run alone).
if [ ! -x "$root/build/tirevane" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target tirevane -j"$jobs"
fi
bash "$root/tests/web/desktop_states.sh" "$root/build/tirevane" "$root" "$work/desktop"

# Port 0: the system picks a free one, which the server prints.
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$work/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port="$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$work/server.log")"
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the local server did not start: $(cat "$work/server.log")" >&2; exit 1; }
NODE_PATH="$root/build-web/npm/node_modules" \
  node "$root/tests/web/session.js" "http://127.0.0.1:$port/" "$work/desktop" "$server"
