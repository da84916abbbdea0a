#!/usr/bin/env bash
# The benchmark programs are long runs of compiled statements: each must print
# its expected output (normalised as the benchmark runner does). Nothing is timed.
#   tests/bench_outputs.sh VORNBASIC BENCH
set -euo pipefail
here=$(cd "$(dirname "$0")/../bench" && pwd)
source "$here/lib.sh"
"$1" --tty "$here/vorn/$2.bas" </dev/null | normalise | cmp - "$here/expected/$2.txt"
