#!/usr/bin/env bash
# Checks that every include line in the source folders points to the folder's
# own layer or one below it. Folders are floors, lowest first:
#   platform < base < device < machine < statements, translator < app
# statements/ and translator/ stand side by side and never include each other.
# Prints every include that runs against the order and exits 1 when there is one.
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}

declare -A floor=([platform]=0 [base]=1 [device]=2 [machine]=3 [statements]=4 [translator]=4 [app]=5)

status=0
for folder in "${!floor[@]}"; do
  [ -d "$root/$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/^[^"]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"${rest#*:}")
    [ -n "${floor[$target]+set}" ] || continue
    if [ "$target" != "$folder" ] && { [ "${floor[$target]}" -ge "${floor[$folder]}" ]; }; then
      echo "${file#"$root"/}:$line: $folder/ includes $target/"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$root/$folder" --include='*.h' --include='*.cpp' || true)
done
exit $status
