# Shared helpers of the end-to-end sessions: a private X display, a private
# copy of the game folder, the game started in it, and player-like input.
# Usage: source lib.sh BINARY SOURCE_DIR
set -euo pipefail

GAME_BIN="$1"
SOURCE_DIR="$2"
WORK="$(mktemp -d /tmp/tirevane-e2e-XXXXXX)"
GAME_DIR="$WORK/game"
XVFB_PID=""
WM_PID=""
GAME_PID=""
WID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ -z "${KEEP_WORK:-}" ]; then rm -rf "$WORK"; fi
}
trap cleanup EXIT

# Says why, with what the game printed and, when its window is still up,
# a description of what it shows, so a failure on CI can be read from the log.
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK/game.err" ]; then
    echo "--- the game's standard error:" >&2
    tail -n 20 "$WORK/game.err" >&2
  fi
  if [ -n "$WID" ] && [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null &&
    xwd -silent -id "$WID" >"$WORK/fail.xwd" 2>/dev/null; then
    echo "--- the window shows: $(convert "xwd:$WORK/fail.xwd" -scale 8x6! -depth 8 txt:- 2>/dev/null |
      awk 'NR > 1 {printf "%s ", $3}')" >&2
  fi
  exit 1
}

# Lets Xvfb choose a free display number itself, so sessions started at the
# same time never share one. $1: the screen's size, 1024x768 unless given.
start_display() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
  done
  [ -s "$WORK/display" ] || fail "no X display could be started: $(cat "$WORK/xvfb.log")"
  DISPLAY=":$(head -n1 "$WORK/display")"
  export DISPLAY
}

# A window manager, as players have one: without one, sdl12-compat goes on
# drawing at the display's scale once it has left full screen. Windows
# mapped before openbox has finished starting stay unmapped, so this waits
# for its start-up command.
start_window_manager() {
  openbox --sm-disable --startup "touch $WORK/wm-ready" >"$WORK/wm.log" 2>&1 &
  WM_PID=$!
  for _ in $(seq 100); do
    [ -e "$WORK/wm-ready" ] && return 0
    sleep 0.1
  done
  fail "no window manager could be started: $(cat "$WORK/wm.log")"
}

prepare_game_dir() {
  mkdir -p "$GAME_DIR"
  cp -r "$SOURCE_DIR/System" "$GAME_DIR/"
  cp "$SOURCE_DIR/alphamalemodern.ttf" "$SOURCE_DIR/spaceage.ttf" "$GAME_DIR/"
}

# Starts the game in its folder with the arguments in GAME_ARGS; extra
# environment as arguments (VAR=value).
GAME_ARGS=()
start_game() {
  (cd "$GAME_DIR" && exec env "$@" "$GAME_BIN" "${GAME_ARGS[@]}") >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
  # Only once the window is on screen: the caption is set before the window
  # is mapped, and a key sent to it before then is lost (Escape during the
  # intro then did nothing on a slow sanitizer build).
  WID="$(timeout 20 xdotool search --sync --onlyvisible --name '^Tirevane$' | head -n1)" ||
    fail "no window titled Tirevane"
  [ -n "$WID" ] || fail "no window titled Tirevane"
}

# Waits up to $1 seconds for the game to exit; on exit sets EXIT_STATUS and
# succeeds. (Not usable inside $(...): only this shell can reap the game.)
EXIT_STATUS=""
exits_within() {
  local limit="$1"
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$GAME_PID" || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# The same, failing the session when the game is still running.
wait_exit() {
  exits_within "$1" || fail "the game did not exit within ${1}s"
}

# The same, and the game ended with status 0 having printed nothing.
ends_cleanly() {
  wait_exit "$1"
  ended_cleanly
}
ended_cleanly() {
  [ "$EXIT_STATUS" = 0 ] || fail "the game exited with status $EXIT_STATUS"
  [ ! -s "$WORK/game.err" ] || fail "the game printed: $(cat "$WORK/game.err")"
}

is_running() { kill -0 "$GAME_PID" 2>/dev/null; }

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Polls a command every 50 ms until it succeeds; fails after $2 seconds,
# naming what was awaited ($1). Nothing in the sessions waits a fixed time.
wait_for() {
  local what="$1" limit_ms=$(( $2 * 1000 )) start
  shift 2
  start=$(now_ms)
  until "$@"; do
    [ -z "$GAME_PID" ] || is_running || fail "the game ended while waiting for $what: $(cat "$WORK/game.err")"
    (( $(now_ms) - start < limit_ms )) || fail "no $what within $((limit_ms / 1000)) s"
    sleep 0.05
  done
  SEEN_MS=$(now_ms)
}

# A player clicks on what they have seen, never in the 400 ms a screen lets
# pass before it takes clicks (the rest of a double click): this waits, when
# needed, until 450 ms after the last thing awaited with wait_for showed.
SEEN_MS=0
after_a_look() {
  local left=$((SEEN_MS + 450 - $(now_ms)))
  ((left <= 0)) || sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
}

# --sync returns once the pointer is there, so the motion is queued before
# whatever input follows. It waits for the pointer to move, 15 s in vain
# when it is there already: it comes from one pixel aside.
pointer_to() {
  xdotool mousemove --window "$WID" $(($1 + 1)) "$2" mousemove --sync --window "$WID" "$1" "$2"
}
# Input as a hand makes it: a button or a key is held a tenth of a second,
# so a press waits alone in the game's queue before its release comes.
# `xdotool click` and `xdotool key` send both halves at once, which no hand
# does, and hid a dropped press that the match then took as a shot.
HOLD=0.11
click() {
  xdotool mousedown "${1:-1}"
  sleep "$HOLD"
  xdotool mouseup "${1:-1}"
}
# Two clicks 120 ms apart.
double_click() {
  click
  sleep 0.12
  click
}
# A wheel step sends its press and release together, as a wheel does.
wheel() {
  local button
  for button; do xdotool mousedown "$button" mouseup "$button"; done
}
click_at() {
  pointer_to "$1" "$2"
  after_a_look
  click
}
press() {
  xdotool windowfocus "$WID" 2>/dev/null || true
  xdotool keydown --window "$WID" "$1" 2>/dev/null || xdotool keydown "$1"
  sleep "$HOLD"
  xdotool keyup --window "$WID" "$1" 2>/dev/null || xdotool keyup "$1"
}

# Saves a screenshot of the game window as PNG.
# SHOT_MS: when it was taken, so that a wait can time the game rather than
# the checks that read the picture.
shot() {
  SHOT_MS=$(now_ms)
  xwd -silent -id "$WID" >"$WORK/shot.xwd"
  convert "xwd:$WORK/shot.xwd" "$1"
}

# A screenshot of what the game shows now, in $WORK/now.png. Menus draw
# only when an event comes, so the pointer moves one pixel and back first.
fresh_shot() {
  xdotool mousemove_relative -- 1 0 mousemove_relative -- -1 0
  shot "$WORK/now.png"
}

GREEN='g>0.7 && r<0.3 && b<0.3'
RED='r>0.7 && g<0.3 && b<0.3'

# Whether a PNG shows a green label standing at each of the given rows.
labels_at() {
  local png="$1" row
  shift
  for row in "$@"; do
    [ "$(count_pixels "$png" 800x50+0+$((row + 10)) "$GREEN")" -gt 200 ] || return 1
  done
}
no_label_at() {
  local png="$1" row
  shift
  for row in "$@"; do
    [ "$(count_pixels "$png" 800x50+0+$((row + 10)) "$GREEN")" -lt 20 ] || return 1
  done
}
title_at_top() { [ "$(count_pixels "$1" 800x90+0+11 "$RED")" -gt 500 ]; }

# Screens, as the player sees them: each takes a fresh screenshot.
main_menu_shown() {
  fresh_shot
  title_at_top "$WORK/now.png" && labels_at "$WORK/now.png" 111 210 309 408 507
}
# A menu without title with labels standing at the given rows.
menu_shown() {
  fresh_shot
  ! title_at_top "$WORK/now.png" && labels_at "$WORK/now.png" "$@"
}
# A match: the red line above the status bar.
match_shown() {
  shot "$WORK/now.png"
  [ "$(pixel "$WORK/now.png" 5 553)" = "255 0 0" ]
}
# The game-over screen: its red text, and its magenta prompt, a colour no
# target has.
game_over_shown() {
  shot "$WORK/now.png"
  [ "$(count_pixels "$WORK/now.png" 600x120+100+240 "$RED")" -gt 300 ] &&
    [ "$(count_pixels "$WORK/now.png" 800x200+0+200 'r>0.65 && r<0.85 && g<0.15 && b>0.55 && b<0.75')" -gt 100 ]
}
# The intro: the blue or violet glow of its pictures, which no menu has.
intro_shown() {
  shot "$WORK/now.png"
  [ "$(count_pixels "$WORK/now.png" 400x300+200+150 'b>0.02 && b>=g')" -gt 5000 ]
}
# Skips the intro with a key and waits until the main menu has slid in.
skip_intro() {
  pointer_to 400 300
  press space
  wait_for "main menu after the intro" 20 main_menu_shown
}

# Whether the menus' cursor stands centred on (x, y) in a screenshot of what
# the window shows now, found by its own colours in their numbers: the
# white cross outlined in near-black, or with "over" the red wheel it shows
# over an item (255, 48, 48: no label or page has it).
cursor_at() {
  local box="32x32+$(($1 - 16))+$(($2 - 16))"
  shot "$WORK/now.png"
  if [ "${3:-}" = over ]; then
    [ "$(count_pixels "$WORK/now.png" "$box" 'r>0.99 && abs(g-0.188)<0.01 && abs(b-0.188)<0.01')" -ge 200 ]
  else
    [ "$(count_pixels "$WORK/now.png" "$box" 'r>0.99 && g>0.99 && b>0.99')" -ge 90 ] &&
      [ "$(count_pixels "$WORK/now.png" "$box" 'abs(r-0.047)<0.01 && abs(b-0.063)<0.01')" -ge 100 ]
  fi
}

# Prints "r g b" of one pixel of a PNG.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Counts the pixels of a region (w h x y) whose colour matches an fx test.
count_pixels() {
  local png="$1" geom="$2" test="$3"
  convert "$png" -crop "$geom" +repage -fx "$test" -format "%[fx:int(mean*w*h+0.5)]" info:
}

# Prints "x y" of the middle of a live target in a screenshot (exact target
# colour: hit targets fade at once), searching above the status bar and
# away from the pointer at ($2, $3). Prints nothing when there is none.
# Every fourth pixel each way is enough for targets 13 px wide and more,
# and reads sixteen times faster.
find_target() {
  local image="$1" px="$2" py="$3"
  convert "$image" -crop 800x440+0+100 +repage -sample 25% txt:- | awk -v px="$px" -v py="$py" '
    BEGIN {
      split("255,255,255 255,255,0 255,121,0 255,0,0 128,0,128 0,0,255 92,49,10 2,2,2", c, " ")
      for (i in c) colour["(" c[i] ")"] = 1
    }
    NR > 1 {
      split($1, xy, /[,:]/); x = 4 * xy[1]; y = 4 * xy[2] + 100
      gsub(/ /, "", $2)
      if (!($2 in colour)) next
      if ((x - px) ^ 2 < 1600 && (y - py) ^ 2 < 1600) next
      if (!(x in top) || y < top[x]) top[x] = y
      if (!(x in bottom) || y > bottom[x]) bottom[x] = y
      if (!(x in hue)) hue[x] = $2
    }
    END {
      best = -1
      for (x in top) if (best < 0 || bottom[x] > bottom[best]) best = x
      if (best >= 0) print best, int((top[best] + bottom[best]) / 2)
    }'
}

# A checksum of the score's last digits on the status bar: the right end of
# its text, whose opaque box hides the targets rising behind the bar.
score_digest() {
  convert "$1" -crop 50x23+730+567 +repage rgb:- | md5sum | cut -d' ' -f1
}

score_changed_from() {
  xwd -silent -id "$WID" >"$WORK/after.xwd"
  [ "$(score_digest "xwd:$WORK/after.xwd")" != "$1" ]
}

# Shoots live targets found on screen until the score moves (a miss at
# score 0 leaves it at 0). Leaves the pointer where the hit landed, in HIT_X and HIT_Y, and the time
# of that click (now_ms) in HIT_MS.
HIT_X=""
HIT_Y=""
HIT_MS=""
hit_a_target() {
  local px=400 py=300 seen_x=-100 seen_y=0 seen_at=0 before start target tx ty taken rise n clicked
  xwd -silent -id "$WID" >"$WORK/match.xwd"
  before="$(score_digest "xwd:$WORK/match.xwd")"
  start=$(now_ms)
  while (( $(now_ms) - start < 20000 )); do
    # Timed when asked for: the capture shows the targets as they were then.
    taken=$(date +%s%N)
    xwd -silent -id "$WID" >"$WORK/match.xwd"
    target="$(find_target "xwd:$WORK/match.xwd" "$px" "$py")"
    [ -n "$target" ] || continue
    read -r tx ty <<<"$target"
    # A target the capture before saw too is aimed at where it is now, at
    # the pace it rose between the two, whatever the game's frame rate.
    rise=-1
    if (( (tx - seen_x) ** 2 < 400 && ty < seen_y )); then
      rise=$(( (seen_y - ty) * ($(date +%s%N) - taken) / (taken - seen_at) + 5 ))
    fi
    seen_x=$tx seen_y=$ty seen_at=$taken
    (( rise >= 0 && ty - rise > 90 )) || continue
    px=$tx
    py=$((ty - rise))
    clicked=$(now_ms)
    xdotool mousemove --window "$WID" "$px" "$py"
    click
    # The new score shows within a frame or two.
    for n in $(seq 10); do
      if score_changed_from "$before"; then
        HIT_X=$px
        HIT_Y=$py
        HIT_MS=$clicked
        return 0
      fi
      sleep 0.05
    done
  done
  fail "no target could be hit within 20 s"
}

# The byte at a position of a file, as a character.
byte_at() { dd if="$1" bs=1 skip="$2" count=1 2>/dev/null; }
last_byte() { tail -c 1 "$1"; }
