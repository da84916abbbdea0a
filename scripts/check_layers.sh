#!/usr/bin/env bash
# Checks that every include line in the source folders points to the folder's
# own layer or one below it. Folders are floors, lowest first:
#   platform < base < device < machine < statements, translator < app
# statements/ and translator/ stand side by side and never include each other.
# Prints every include that runs against the order and exits 1 when there is one.
#   scripts/check_layers.sh [ROOT]
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"
folders=()
for f in platform base device machine statements translator app; do [ -d "$f" ] && folders+=("$f"); done
[ ${#folders[@]} -gt 0 ] || exit 0
find "${folders[@]}" -name '*.h' -o -name '*.cpp' | sort | xargs -r awk '
  BEGIN {
    floor["platform"] = 0; floor["base"] = 1; floor["device"] = 2; floor["machine"] = 3
    floor["statements"] = 4; floor["translator"] = 4; floor["app"] = 5
    bad = 0
  }
  match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) {
    split(FILENAME, parts, "/"); here = parts[1]
    target = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", target); sub(/\/$/, "", target)
    if (!(target in floor) || target == here) next
    if (floor[target] >= floor[here]) {
      printf "%s:%d: %s/ includes %s/\n", FILENAME, FNR, here, target
      bad = 1
    }
  }
  END { exit bad }' || exit 1
