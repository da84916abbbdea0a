#!/usr/bin/env bash
# The window on a real X server (Xvfb), driven as a user would with xdotool:
# zoom 2 doubles the window, a three-line paste runs three lines, inkey$ sees
# Return as 10, Ctrl+Break and Ctrl+C stop a running loop, the title marks it,
# and a window destroyed from outside ends the process. An unreachable display
# falls back to the terminal. Skipped (77) without Xvfb, xdotool or xclip.
set -euo pipefail
bin="$1"
for tool in Xvfb xdotool xclip; do command -v "$tool" > /dev/null || { echo "no $tool"; exit 77; }; done
work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2> /dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- console:"; cat "$work/console.txt" 2> /dev/null || true
  echo "--- stderr:"; tail -50 "$work/app.err" 2> /dev/null || true
  exit 1
}
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"
cd "$work"

# An unreachable display: the terminal, one line on stderr, status 0.
status=0
echo 'print 6*7' | DISPLAY=:4242 "$bin" > tty.out 2> tty.err || status=$?
[ "$status" = 0 ] || fail "stale DISPLAY gave status $status"
grep -q '^42$' tty.out || fail "stale DISPLAY: no terminal output"
[ "$(cat tty.err)" = "vornbasic: cannot reach display :4242; running in the terminal" ] || fail "stderr: $(cat tty.err)"

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> display.txt 2> /dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s display.txt ] && break; sleep 0.1; done
export DISPLAY=":$(cat display.txt)"

cat > loop.bas <<'BAS'
@top
k$ = inkey$
if k$ <> "" then print "key"; asc(k$)
goto @top
BAS
"$bin" --root "$work" --zoom 2 > app.out 2> app.err &
app=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^VornBasic' 2> /dev/null | head -1) && [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH x $HEIGHT" = "960 x 428" ] || fail "zoom 2 window is $WIDTH x $HEIGHT"
xdotool windowfocus --sync "$win"

console() {  # the console's text, through Copy text
  xdotool key --window "$win" ctrl+shift+c
  sleep 0.2
  xclip -selection clipboard -o > console.txt 2> /dev/null || true
}
# Waits (at most 10 s) until the console shows COUNT lines matching PATTERN.
expect_console() {
  for _ in $(seq 40); do
    console
    [ "$(grep -c -- "$1" console.txt || true)" = "${2:-1}" ] && return 0
    sleep 0.05
  done
  return 1
}
title_marked() { xdotool getwindowname "$win" | grep -q $'\u25b6'; }
paste() {
  printf "$1" | xclip -selection clipboard
  xdotool key ctrl+v
}

paste 'a=1\nb=a+1\nprint a+b*10\n'
expect_console '^21$' || fail "three pasted lines did not run"

paste 'load "loop.bas"\nrun\n'
for _ in $(seq 40); do title_marked && break; sleep 0.1; done
title_marked || fail "no running mark: $(xdotool getwindowname "$win")"
xdotool key Return
expect_console '^key10$' || fail "inkey\$ did not see Return as 10"
xdotool key ctrl+Break
expect_console 'Break' 1 || fail "Ctrl+Break did not stop the loop"

paste 'run\n'
for _ in $(seq 40); do title_marked && break; sleep 0.1; done
xdotool key ctrl+c
expect_console 'Break' 2 || fail "Ctrl+C did not stop the loop"
for _ in $(seq 40); do title_marked || break; sleep 0.1; done
title_marked && fail "running mark after the stop"

# Destroyed from outside: the process ends as if closed.
xdotool windowclose "$win"
for _ in $(seq 50); do kill -0 "$app" 2> /dev/null || break; sleep 0.1; done
kill -0 "$app" 2> /dev/null && fail "the process outlived its window"
status=0
wait "$app" || status=$?
app=""
[ "$status" = 0 ] || fail "status $status after the window was destroyed"
grep -qx 'print a+b\*10' state/vornbasic/history || fail "history file"
echo "ok"
