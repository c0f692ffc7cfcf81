#!/usr/bin/env bash
# Tavlin on the built-in demo visualisation.
#
#   scripts/demo.sh [--800] [--language N]
#
# Installs what is missing, builds the program, installs it into a folder of
# its own (beside its symbol images), lays out a demo visualisation in a
# temporary folder, prints the help author's check of it (tavlin-check) and
# starts the installed program as a visualisation does (TEMPVISU and the Wine
# drive link from tavlin-demo-visu --print-env).
#
# With a reachable display ($DISPLAY), the overlay comes up there: click the
# symbols, end it with the help button in the footer's bottom-left corner.
# Without one, the same program runs under its own Xvfb and plays a short
# session with a real pointer (xdotool), keeping a PNG of every step; the
# script prints where they are.
#
#   --800          an 800 x 600 screen instead of 1280 x 1024
#   --language N   the operator's language number (1 Deutsch, 2 English, ...)
#
# Environment: TAVLIN_DEMO_HEADLESS=1 forces the scripted session even with a
# display; TAVLIN_DEMO_SHOTS=DIR keeps the pictures there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

demo_args=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --800) demo_args+=(--800); shift ;;
    --language)
      [[ $# -ge 2 ]] || { echo "demo: --language takes a number" >&2; exit 2; }
      demo_args+=(--language "$2"); shift 2 ;;
    -h|--help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh

echo "== building (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVLIN_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)" --target tavlin tavlin-check tavlin_symbol_images tavlin-demo-visu \
    tavlin-screen-grab $(ninja -C build -t targets all 2>/dev/null | grep -q '^tavlin_webengine:' && echo tavlin_webengine) \
    >build/demo-build.log 2>&1 || { tail -n 40 build/demo-build.log >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tavlin-demo.XXXXXX")
pids=()
shots=""
finished=""
cleanup() {
  local pid
  if [[ -n "$shots" && -z "$finished" ]]; then
    echo "demo: the session stopped early; the pictures so far are in $shots" >&2
  fi
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

echo "== installing into $work/tavlin"
cmake --install build --prefix "$work/tavlin" >/dev/null
program="$work/tavlin/tavlin"

echo "== demo visualisation in $work/visu"
QT_QPA_PLATFORM=offscreen build/bin/tavlin-demo-visu "${demo_args[@]}" "$work/visu" >/dev/null
environment=$(QT_QPA_PLATFORM=offscreen build/bin/tavlin-demo-visu "${demo_args[@]}" --print-env "$work/visu")
points=$(QT_QPA_PLATFORM=offscreen build/bin/tavlin-demo-visu "${demo_args[@]}" --print-points "$work/visu")
eval "$environment"   # WINEPREFIX and TEMPVISU, as the visualisation sets them
eval "$points"

# The help author's check of the same visualisation. Its two faults on purpose
# (the maintenance page is missing, the alarm page links to the web) make it
# end with status 1, which is no reason to stop the demo.
echo "== tavlin-check on the demo visualisation"
"$work/tavlin/tavlin-check" | sed 's/^/   /' || true

# Starts the installed program in the background; its id lands in $tavlin.
# Its messages on stderr go to $tavlin_log when that is set.
tavlin_log=""
start_tavlin() {
  if [[ -n "$tavlin_log" ]]; then
    QT_QPA_PLATFORM=xcb "$program" 2>>"$tavlin_log" &
  else
    QT_QPA_PLATFORM=xcb "$program" &
  fi
  tavlin=$!
  pids+=("$tavlin")
}

if [[ -z "${TAVLIN_DEMO_HEADLESS:-}" && -n "${DISPLAY:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  echo "== Tavlin on $DISPLAY: click a symbol for its help page; the help button in the"
  echo "   footer's bottom-left corner ends it (the demo gives up after 30 minutes)"
  start_tavlin
  status=0
  timeout 1800 tail --pid="$tavlin" -f /dev/null || true
  wait "$tavlin" || status=$?
  echo "== Tavlin ended with status $status"
  exit "$status"
fi

# ---- headless: own Xvfb, scripted session, a picture per step --------------
shots=${TAVLIN_DEMO_SHOTS:-$(mktemp -d "${TMPDIR:-/tmp}/tavlin-demo-shots.XXXXXX")}
mkdir -p "$shots"
tavlin_log="$shots/tavlin.log"   # the browser engine talks a lot on stderr
echo "== no display: Tavlin under Xvfb (${SCREEN_W} x ${SCREEN_H}), a scripted session"

displayfile="$work/display"
Xvfb -displayfd 4 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -dpi 96 -nolisten tcp \
    4>"$displayfile" 2>"$work/xvfb.log" &
pids+=("$!")
for _ in $(seq 100); do
  [[ -s "$displayfile" ]] && break
  sleep 0.1
done
[[ -s "$displayfile" ]] || { echo "demo: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$displayfile")"
export QT_ENABLE_HIGHDPI_SCALING=0

step=0
shot() { # name: keeps a picture of the screen
  step=$((step + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")
  timeout 20 build/bin/tavlin-screen-grab "$file"
  echo "   $(basename "$file")"
}
pointer() { timeout 10 xdotool "$@"; }
# Waits (at most $2 seconds) until the program has a visible window of the
# help window's size, or until the check in $1 holds.
wait_for() {
  local what=$1 seconds=$2 i
  for i in $(seq $((seconds * 10))); do
    if eval "$what"; then return 0; fi
    kill -0 "$tavlin" 2>/dev/null || { echo "demo: Tavlin ended early" >&2; return 1; }
    sleep 0.1
  done
  echo "demo: gave up waiting for: $what" >&2
  return 1
}
# Geometry of the program's windows: "x y width height" per line.
windows() {
  local id
  for id in $(timeout 10 xdotool search --all --onlyvisible --pid "$tavlin" 2>/dev/null || true); do
    timeout 10 xdotool getwindowgeometry --shell "$id" 2>/dev/null |
      awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
  done
}
help_window() { windows | awk -v w="$HELP_W" -v h="$HELP_H" '$3>=w-2 && $3<=w+2 && $4>=h-2 && $4<=h+2' | head -n 1; }
help_open() { [[ -n "$(help_window)" ]]; }
help_closed() { [[ -z "$(help_window)" ]]; }
# Any window smaller than the overlay: the message box, once the help window is closed.
message_open() { windows | awk -v sw="$SCREEN_W" '$3 < sw' | grep -q .; }
message_closed() { ! message_open; }

pointer mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
start_tavlin
# The fade takes about half a second; the language is read after it.
wait_for "windows | grep -q ." 30
sleep 2
shot overlay

pointer mousemove "$PAGE_X" "$PAGE_Y" click 1
wait_for help_open 60
sleep 3 # the page loads in the browser engine
shot help-page
echo "   help window at $(help_window | awk '{print $1 "," $2 ", " $3 " x " $4}')"

pointer mousemove "$HANDLE_X" "$HANDLE_Y" mousedown 1
for d in 20 40 60 80 100 120; do pointer mousemove $((HANDLE_X + d)) $((HANDLE_Y - d / 2)); sleep 0.05; done
pointer mouseup 1
sleep 0.5
shot help-dragged
echo "   dragged to $(help_window | awk '{print $1 "," $2}')"

pointer mousemove $((CLOSE_X + 120)) $((CLOSE_Y - 60)) click 1
wait_for help_closed 20
sleep 0.5
shot help-closed

pointer mousemove "$MISSING_X" "$MISSING_Y" click 1
wait_for message_open 20
sleep 0.5
shot missing-page

pointer key Return
wait_for message_closed 20
sleep 0.5
shot message-confirmed

pointer mousemove "$FOOTER_X" "$FOOTER_Y" mousedown 1
sleep 0.5
shot footer-pressed
pointer mouseup 1
status=0
for _ in $(seq 100); do kill -0 "$tavlin" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$tavlin" 2>/dev/null; then
  echo "demo: Tavlin did not end on the help button" >&2
  exit 1
fi
wait "$tavlin" || status=$?
shot ended
finished=yes
echo "== Tavlin ended with status $status; the pictures are in $shots"
exit "$status"
