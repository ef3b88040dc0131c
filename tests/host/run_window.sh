#!/usr/bin/env bash
# `qzhost run` in a real window under a virtual X server, driven with real X
# input (xdotool): a click, a drag that leaves the window, undo and redo
# keys, typing, a drag and a Shift+arrow in the viewer, a dialog answered
# in its message box. Checks the values the
# sample tool was given and the picture the X server shows.
#
# usage: run_window.sh QZHOST HAVE_SDL(ON|OFF)
# With QZ_RUN_SCREENSHOT=FILE the window as the X server showed it is saved
# there as a PNG (the README's picture is made so).
set -u
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --inside ]; then
  qzhost=$1
  have_sdl=${2:-OFF}
  skip() {
    echo "SKIPPED: $*"
    exit 77
  }
  [ "$have_sdl" = ON ] || skip "qzhost was built without SDL2 (install libsdl2-dev and build again)"
  for tool in xvfb-run Xvfb xauth xdotool python3; do
    command -v "$tool" >/dev/null || skip "$tool is missing (install xvfb, xauth, xdotool, xfonts-base, python3)"
  done
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir "$work/fb"
  xvfb-run -a -s "-screen 0 1600x1600x24 -fbdir $work/fb" "$0" --inside "$qzhost" "$work"
  exit $?
fi

qzhost=$2
work=$3
log=$work/log
# In a sanitizer build the display libraries (libdbus, the GL driver) keep
# memory to the end of the process through frames the leak checker cannot
# unwind; leaks are checked by every other test, not in this one process.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  "$qzhost" run --log "$log" --png "$work/host.png" >"$work/out" 2>&1 &
pid=$!

fail() {
  echo "FAIL: $*"
  echo "--- qzhost output"
  cat "$work/out"
  echo "--- log (end)"
  tail -25 "$log" 2>/dev/null
  kill "$pid" 2>/dev/null
  exit 1
}

# Waits until the log has a line matching the extended regular expression.
wait_for() {
  for _ in $(seq 900); do
    grep -Eq -- "$1" "$log" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || fail "qzhost ended while waiting for: $1"
    sleep 0.1
  done
  fail "no line like '$1' in the log"
}

count() { grep -Ec -- "$1" "$log" 2>/dev/null; }

# The window-relative rectangle of a part of a control, from the layout lines.
part() {
  awk -v c="$1" -v r="$2" '$1 == "part" && $2 == c && $3 == r && $4 == 0 { print $5, $6, $7, $8; exit }' "$log"
}

wait_for '^ready$'
win=$(xdotool search --sync --name '^qzhost - Sample$' | head -1)
[ -n "$win" ] || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"  # X Y WIDTH HEIGHT
echo "window $WIDTH x $HEIGHT at $X,$Y"

# A click on the check box: ticked goes to indeterminate (-1).
read -r bx by _ bh <<<"$(part CheckBoxControl CheckBox)"
[ -n "${bx:-}" ] || fail "no check box in the layout"
xdotool mousemove $((X + bx + 6)) $((Y + by + bh / 2)) click 1
wait_for '^wrote Invert = -1$'

# The slider's thumb (at 0.25) dragged out of the window to the left: the
# slider keeps the pointer and ends at its minimum.
read -r sx sy _ _ <<<"$(part SliderControl Slider)"
[ -n "${sx:-}" ] || fail "no slider in the layout"
xdotool mousemove $((X + sx + 68)) $((Y + sy + 9)) mousedown 1
for dx in 90 110 130; do
  xdotool mousemove $((X + sx + dx)) $((Y + sy + 9))
  sleep 0.05
done
xdotool mousemove $((X - 60)) $((Y + sy + 9))
sleep 0.2
xdotool mouseup 1
wait_for '^wrote Blend = 0$'

# Undo and redo from the keyboard.
xdotool key ctrl+z
wait_for '^undo "'
wait_for '^wrote Blend = 0.25$'
xdotool key ctrl+shift+z
wait_for '^redo "'
[ "$(count '^wrote Blend = 0$')" -ge 2 ] || fail "redo did not set Blend back to 0"

# Typing into the first field of the offset, completed with Enter.
read -r ex ey ew eh <<<"$(part OffsetControl Edit)"
[ -n "${ex:-}" ] || fail "no offset field in the layout"
xdotool mousemove $((X + ex + ew / 2)) $((Y + ey + eh / 2)) click 1
sleep 0.2
xdotool key End
xdotool key --repeat 10 --delay 20 BackSpace
xdotool type --delay 30 0.7
xdotool key Return
wait_for '^wrote Center = \(0\.7, '

# The viewer's centre handle (at 0.5, 0.4 of the picture) dragged up and to
# the right, then nudged with Shift+Left.
read -r _ px0 py0 px1 py1 <<<"$(grep '^picture ' "$log")"
hx=$((px0 + (px1 - px0) / 2))
hy=$((py0 + (py1 - py0) * 4 / 10))
xdotool mousemove $((X + hx)) $((Y + hy)) mousedown 1
for step in 1 2 3 4; do
  xdotool mousemove $((X + hx + step * 10)) $((Y + hy - step * 8))
  sleep 0.05
done
xdotool mouseup 1
wait_for '^wrote Centre = '
before=$(count '^wrote Centre = ')
xdotool key shift+Left
for _ in $(seq 50); do
  [ "$(count '^wrote Centre = ')" -gt "$before" ] && break
  sleep 0.1
done
[ "$(count '^wrote Centre = ')" -gt "$before" ] || fail "Shift+Left in the viewer wrote nothing"

# The font dialog, answered in its message box with Enter (keep the font).
read -r fx fy fw fh <<<"$(part FontControl PushButton)"
[ -n "${fx:-}" ] || fail "no font button in the layout"
others=$(xdotool search --onlyvisible --classname '.*' | tr '\n' ' ')
xdotool mousemove $((X + fx + fw / 2)) $((Y + fy + fh / 2)) click 1
box=
for _ in $(seq 100); do
  box=$(xdotool search --onlyvisible --classname '.*' | grep -vxF "$(tr ' ' '\n' <<<"$others")" | head -1)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message box for the font dialog"
[ "$(xdotool getwindowname "$box")" = Font ] || fail "the message box is not the font dialog's"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_for '^Font dialog: Keep$'
xdotool windowfocus --sync "$win"

# Presents after the first cover only what changed.
full=$((WIDTH * HEIGHT))
small=$(awk -v full="$full" '$1 == "present" && $3 < full { n++ } END { print n + 0 }' "$log")
[ "$small" -gt 0 ] || fail "every present was of the whole window"

# The X server's picture of the window against the host's own.
sleep 0.5
cp "$work/fb/Xvfb_screen0" "$work/shot.xwd"
xdotool key ctrl+q
wait "$pid" || fail "qzhost exited with an error"
[ -f "$work/host.png" ] || fail "qzhost saved no picture"
status_height=$(awk '$1 == "status" { print $2; exit }' "$log")
python3 "$here/run_window_check.py" "$work/shot.xwd" "$work/host.png" "$X" "$Y" "${status_height:-40}" \
  ${QZ_RUN_SCREENSHOT:+"$QZ_RUN_SCREENSHOT"} ||
  fail "the window does not show the host's screen"
echo "PASS"
