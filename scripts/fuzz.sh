#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# SECONDS (default 60), one after the other, with corpora seeded from the
# golden tests. A finding stops the script with libFuzzer's report; the input
# that caused it is kept in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]   targets: executor differential translator bitmap settings codec
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(executor differential translator bitmap settings codec)

./scripts/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

# Seeds: programs and typed sessions for the interpreter and the translator,
# the golden bitmaps (placed at 0,0), a settings file, and every text for the codecs.
seed() {  # seed TARGET FILE...: copies files into the target's seed folder
  local dir=build-fuzz/seeds/$1
  shift
  mkdir -p "$dir"
  for f in "$@"; do cp "$f" "$dir/$(echo "$f" | tr '/' '_')"; done
}
mapfile -t programs < <(find tests/golden -name '*.bas' -o -name '*.in' | grep -v -e '\.files/' -e '\.expect/' | sort)
mapfile -t texts < <(find tests/golden -name '*.out' | sort)
seed executor "${programs[@]}"
seed differential "${programs[@]}"
seed translator "${programs[@]}"
seed codec "${programs[@]}" "${texts[@]}"
mkdir -p build-fuzz/seeds/bitmap build-fuzz/seeds/settings
for f in $(find tests/golden -name '*.bmp'); do
  { printf '\0\0\0\0'; cat "$f"; } >"build-fuzz/seeds/bitmap/$(echo "$f" | tr '/' '_')"
done
printf 'XWidth=320, XHeight=200, FontSize=16, PosYOrigin=2, ZenkakuStep=16, HankakuStep=8, StepY=18,\r\nControlY=210, ControlHeight=24, EditX=1, EditWidth=200, EnterX=205, EnterWidth=50, StopX=260,\r\nStopWidth=-50, TempFile=\\Temp\\edit.txt\r\n' |
  iconv -f UTF-8 -t UTF-16LE >build-fuzz/seeds/settings/basic.ini

for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  echo "== fuzz_$t: $seconds s"
  log=build-fuzz/fuzz_$t.log
  if ! build-fuzz/fuzz/fuzz_$t "$corpus" "build-fuzz/seeds/$t" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=8192 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$t found a fault: see $findings/"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 5 "$log"
done
