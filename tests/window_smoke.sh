#!/usr/bin/env bash
# The window draws the same picture as the terminal: a drawing program run
# as the start-up file in the window (offscreen) and with --tty.
set -euo pipefail
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/draw.bas" <<'BAS'
print "window and terminal"
box (10,40)-(100,90)
circlef (120,40)-(200,90)
line (0,120)-(300,150)
for i = 1 to 20 : print i; : next
BAS
cd "$work"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$bin" --root "$work" draw.bas --screenshot window.png
"$bin" --tty --root "$work" draw.bas --screenshot terminal.png > terminal.out
cmp window.png terminal.png
grep -q 'window and terminal' terminal.out
