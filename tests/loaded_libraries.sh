#!/usr/bin/env bash
# A plain run loads neither the fonts, PNG and line-editing libraries nor the
# toolkit; a screenshot loads vornbasic-render.so; without that library beside
# the program the run still ends, saying what is missing.
set -euo pipefail
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'print "plain"\r\n' > plain.bas

LD_DEBUG=libs "$bin" --tty plain.bas > out.txt 2> libs.txt
grep -q '^plain' out.txt
if grep -E 'calling init: .*(libfreetype|libfontconfig|libpng|libedit|libQt|vornbasic-)' libs.txt; then
  echo "a plain run loaded the libraries above"
  exit 1
fi

LD_DEBUG=libs "$bin" --tty plain.bas --screenshot shot.png > out.txt 2> libs.txt
grep -q 'calling init: .*vornbasic-render.so' libs.txt
[ "$(head -c 4 shot.png | od -An -c | tr -d ' ')" = '211PNG' ]

# The program alone, without its libraries.
mkdir alone
cp "$bin" alone/vornbasic
status=0
alone/vornbasic --tty plain.bas --screenshot alone.png > out.txt 2> err.txt || status=$?
grep -q '^plain' out.txt
grep -q 'vornbasic: no console font: .*vornbasic-render.so' err.txt
grep -q 'vornbasic: cannot write PNG files' err.txt
[ "$status" -lt 128 ]
[ ! -e alone.png ]
