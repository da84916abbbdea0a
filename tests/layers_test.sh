#!/usr/bin/env bash
# The layer check itself: it passes on the tree, and it fails on a planted
# upward include and on statements/ and translator/ including each other.
set -euo pipefail
check=$1
src=$2
"$check" "$src"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
plant() {  # plant FOLDER INCLUDED_FOLDER
  rm -rf "${scratch:?}"/*
  mkdir -p "$scratch/$1" "$scratch/$2"
  printf '#include "%s/x.h"\n' "$2" >"$scratch/$1/a.cpp"
  : >"$scratch/$2/x.h"
  if out=$("$check" "$scratch"); then
    echo "not caught: $1/ including $2/"
    exit 1
  fi
  grep -q "$1/a.cpp:1: $1/ includes $2/" <<<"$out"
}
plant machine app
plant device machine
plant platform base
plant statements translator
plant translator statements
# Downward and sideways-within-a-folder includes are fine.
mkdir -p "$scratch/app" "$scratch/machine"
rm -rf "${scratch:?}"/*
mkdir -p "$scratch/app" "$scratch/machine"
printf '#include "machine/x.h"\n#include "app/y.h"\n' >"$scratch/app/a.cpp"
"$check" "$scratch"
echo "layer check ok"
