#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what lands there: the
# binary runs an installed example, the manual page is a built page, the
# desktop entry and MIME type are valid, every icon size is there.
#   install_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$(cd "$2" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install_check: $*"; exit 1; }
expect_file() { [ -f "$prefix/$1" ] || fail "$1 is not installed"; }

expect_file bin/vornbasic
[ -x "$prefix/bin/vornbasic" ] || fail "bin/vornbasic is not executable"
expect_file share/man/man1/vornbasic.1.gz
expect_file share/applications/vornbasic.desktop
expect_file share/mime/packages/vornbasic.xml
expect_file share/icons/hicolor/scalable/apps/vornbasic.svg
for size in 16 24 32 48 64 128 256; do
  expect_file share/icons/hicolor/${size}x${size}/apps/vornbasic.png
  python3 - "$prefix/share/icons/hicolor/${size}x${size}/apps/vornbasic.png" "$size" <<'PY' || fail "the ${size}px icon has another size"
import struct, sys
data = open(sys.argv[1], 'rb').read()
w, h = struct.unpack('>II', data[16:24])
sys.exit(0 if data[:8] == b'\x89PNG\r\n\x1a\n' and w == h == int(sys.argv[2]) else 1)
PY
done
for f in README.md language.md copyright changelog.gz images/graphics.png images/image.png; do
  expect_file share/doc/vornbasic/$f
done
for f in "$source"/examples/*.bas "$source"/examples/*.bmp; do
  cmp -s "$f" "$prefix/share/doc/vornbasic/examples/$(basename "$f")" || fail "examples/$(basename "$f") differs or is missing"
done

# The manual page: roff with its title, every section, and no scdoc markup left.
page=$(gzip -dc "$prefix/share/man/man1/vornbasic.1.gz")
grep -q '^\.TH "vornbasic" "1"' <<<"$page" || fail "the manual page has no title line"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT "EXIT STATUS" EXAMPLES; do
  grep -q "^\.SH $section" <<<"$page" || fail "the manual page lacks $section"
done
# Every option the interpreter offers is told, and --stay, which the desktop
# entry uses.
options=$("$prefix/bin/vornbasic" --help | grep -o -- ' --[a-z-]*' | sort -u)
for option in $options --stay; do
  grep -qF -- "\\fB$option\\fR" <<<"$page" || fail "the manual page does not tell of $option"
done

desktop-file-validate "$prefix/share/applications/vornbasic.desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=vornbasic --stay %f' "$prefix/share/applications/vornbasic.desktop" || fail "the desktop entry does not open files"
python3 - "$prefix/share/mime/packages/vornbasic.xml" <<'PY' || fail "the MIME type is not valid"
import sys, xml.etree.ElementTree as ET
ns = '{http://www.freedesktop.org/standards/shared-mime-info}'
root = ET.parse(sys.argv[1]).getroot()
kind = root.find(ns + 'mime-type')
sys.exit(0 if kind.get('type') == 'text/x-vornbasic' and kind.find(ns + 'glob').get('pattern') == '*.bas' else 1)
PY
grep -q 'MimeType=text/x-vornbasic;' "$prefix/share/applications/vornbasic.desktop" || fail "the desktop entry does not name the MIME type"

# The installed interpreter runs an installed example.
cd "$prefix"
out=$("$prefix/bin/vornbasic" --tty --root "$prefix/root" share/doc/vornbasic/examples/hello.bas)
[ "$out" = "$(cat "$source/tests/examples/hello.out")" ] || fail "the installed hello.bas printed: $out"
# It finds its libraries in lib/vornbasic/: a screenshot draws glyphs and writes a PNG.
"$prefix/bin/vornbasic" --tty --root "$prefix/root" share/doc/vornbasic/examples/hello.bas \
  --screenshot "$prefix/hello.png" >/dev/null 2>"$prefix/stderr.txt" || fail "the screenshot run failed"
[ ! -s "$prefix/stderr.txt" ] || fail "the screenshot run said: $(cat "$prefix/stderr.txt")"
[ "$(head -c 4 "$prefix/hello.png" | tail -c 3)" = PNG ] || fail "the screenshot is not a PNG file"
for library in window render lineedit; do
  expect_file lib/vornbasic/vornbasic-$library.so
done
echo "install_check: all installed"
