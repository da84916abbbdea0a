#!/usr/bin/env bash
# run.sh [VORNBASIC_BINARY]   (default: ../build/vornbasic when it exists)
#
# Times the benchmark suite on the peer interpreters (yabasic, brandy,
# bwbasic), on the C reference (gcc -O2) and, when a binary is given, on
# Vorn Basic (`VORNBASIC_BINARY --tty vorn/BENCH.bas`).  The output of the
# timed runs is checked against expected/BENCH.txt.  Prints a table of median
# wall times and the ratio of Vorn to the fastest peer per benchmark.
#
# Environment (all optional):
#   RUNS=5                 timed runs per program (the median is reported)
#   BENCHES="loop bm7 ..." subset of benchmarks (default: all seven and console)
#   PEERS="c yabasic brandy"   subset of peers (default); "c yabasic brandy
#                          bwbasic" adds bwbasic, which is by far the
#                          slowest (0.5 to 2.5 minutes per run and benchmark),
#                          PEERS="c yabasic brandy" skips it
#   OUT=DIR                keep the raw results (hyperfine csv, outputs) in DIR
#   NO_HYPERFINE=1         time with a bash loop even where hyperfine exists
#
# Needs bash, awk, hyperfine (without it a bash timing loop is used), gcc for
# the C reference, and the peers from Debian:
#   apt-get install -y yabasic bwbasic brandy hyperfine
# A peer that is not installed is shown as n/a.
set -u
# The body is one block, so that bash reads all of it before running it
# (editing this file during a long run then does no harm).
{
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
RUNS=${RUNS:-5}
BENCHES=${BENCHES:-$ALL_BENCHES}
PEERS=${PEERS:-"c yabasic brandy"}
vorn=${1:-}
[ -z "$vorn" ] && [ -x "$here/../build/vornbasic" ] && vorn="$here/../build/vornbasic"
resolve_vorn

if [ -n "${OUT:-}" ]; then
    mkdir -p "$OUT" && work=$(cd "$OUT" && pwd)
else
    work=$(mktemp -d -t vornbench.XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi
for bench in $BENCHES; do prepare_bench "$bench"; done

# time_runs RUNNER BENCH -> prints the median wall time in seconds
time_runs() {
    local runner=$1 bench=$2 name="$1-$2" cmd outfile i
    cmd=$(command_for "$runner" "$bench")
    outfile=$(output_file_for "$runner" "$bench")
    if [ -z "${NO_HYPERFINE:-}" ] && have hyperfine; then
        local where=$outfile
        [ "$runner" = brandy ] && where=null # brandy spools its text itself
        local runs=$RUNS
        [ "$bench" = start ] && runs=$((RUNS * 40)) # milliseconds: many runs
        hyperfine --runs "$runs" --style none --export-csv "$work/out/$name.csv" \
            --output "$where" -n "$name" "$cmd" >"$work/out/$name.hyperfine" 2>&1 || return 1
        awk -F, 'NR == 2 { print $4 }' "$work/out/$name.csv"
    else
        for ((i = 0; i < RUNS; i++)); do
            run_once "$runner" "$bench" || return 1
        done | tee "$work/out/$name.times" | median
    fi
}

fmt() { case $1 in n/a | fail | wrong) printf '%s' "$1" ;; *) awk -v v="$1" 'BEGIN { printf "%.3f", v }' ;; esac; }
isnum() { case $1 in n/a | fail | wrong | "") return 1 ;; esac; }

runners="$PEERS"
[ -n "$vorn" ] && runners="$runners vorn"

declare -A result
status=0
for bench in $BENCHES; do
    for runner in $runners; do
        if [ -z "$(command_for "$runner" "$bench")" ]; then
            result[$bench,$runner]="n/a"
            continue
        fi
        rm -f "$(output_file_for "$runner" "$bench")"
        printf '%-8s %-8s ' "$bench" "$runner" >&2
        if ! med=$(time_runs "$runner" "$bench"); then
            echo "FAILED (exit status not 0)" >&2
            result[$bench,$runner]="fail"
            status=1
        elif check_output "$runner" "$bench"; then
            result[$bench,$runner]=$med
            echo "median $(fmt "$med") s, output ok" >&2
        else
            result[$bench,$runner]="wrong"
            echo "median $(fmt "$med") s, OUTPUT DIFFERS from expected/$bench.txt" >&2
            f=$(output_file_for "$runner" "$bench")
            [ -f "$f" ] && normalise <"$f" | diff "$(expected_file_for "$bench")" - | head -5 >&2
            status=1
        fi
    done
done

echo
printf '| %-9s |' benchmark
for runner in $runners; do printf ' %8s |' "$runner"; done
printf ' %-12s |' "fastest peer"
[ -n "$vorn" ] && printf ' %14s |' "vorn / fastest"
echo
printf '|%s|' "-----------"
for runner in $runners; do printf '%s|' "---------:"; done
printf '%s|' "--------------"
[ -n "$vorn" ] && printf '%s|' "---------------:"
echo
for bench in $BENCHES; do
    printf '| %-9s |' "$bench"
    best="" bestv=""
    for runner in $runners; do
        v=${result[$bench,$runner]}
        printf ' %8s |' "$(fmt "$v")"
        case $runner in c | vorn) continue ;; esac
        if isnum "$v" && { [ -z "$bestv" ] || awk -v a="$v" -v b="$bestv" 'BEGIN { exit !(a < b) }'; }; then
            best=$runner bestv=$v
        fi
    done
    printf ' %-12s |' "${best:-none}"
    if [ -n "$vorn" ]; then
        v=${result[$bench,vorn]}
        if isnum "$v" && [ -n "$bestv" ]; then
            printf ' %14s |' "$(awk -v a="$v" -v b="$bestv" 'BEGIN { printf "%.2f", a / b }')"
        else
            printf ' %14s |' "-"
        fi
    fi
    echo
done
echo
echo "Median wall seconds of $RUNS runs each; c is gcc -O2, a floor, not a peer."
[ -n "${OUT:-}" ] && echo "Raw results kept in $work"
exit $status
}
