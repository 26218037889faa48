#!/usr/bin/env bash
# Starts Tovrin on a virtual X display with a window manager and a tray host, waits for
# its window and its first page, saves a screenshot of the screen and stops everything.
# Plain shell and Debian's X tools: no Python, so it works whatever python3 is on PATH.
#   usage: scripts/show-on-virtual-display.sh EXECUTABLE SCREENSHOT.png
set -euo pipefail
exe="$1"
screenshot="$2"

work="$(mktemp -d)"
pids=()
# The last started ends first, each waited for, so that Tovrin ends before its display.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 seconds for the command after it to succeed.
within() {
  local seconds="$1"
  shift
  for ((tick = 0; tick < seconds * 10; tick++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

exec 3<> "$work/displayfd" # Xvfb writes the display number it took here
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
pids+=($!)
within 20 test -s "$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/displayfd")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$work" # the window manager's and the program's files go with the folder
# No session bus: nothing may start one that outlives this script.
export DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/session-bus"

openbox --sm-disable &
pids+=($!)
within 20 xprop -root _NET_SUPPORTING_WM_CHECK || { echo "openbox did not start" >&2; exit 1; }
trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 \
  --transparent false --tint 0xcccccc &
pids+=($!)

QT_LOGGING_RULES="tovrin.startup.info=true" "$exe" 2> >(tee "$work/program.log" >&2) &
pids+=($!)
within 60 xdotool search --onlyvisible --name '^Tovrin' ||
  { echo "Tovrin's window did not appear" >&2; exit 1; }
within 20 grep -q "first page loaded" "$work/program.log" ||
  echo "The first page did not load in time; taking the screenshot anyway." >&2
sleep 1 # the greeting balloon follows the first page
import -window root "$screenshot"
echo "Tovrin's window is up; screenshot saved to $screenshot"
