# lib.sh: shared by run.sh and pair.sh (sourced, not run).
# Expects: $here (this folder), $work (scratch folder), $vorn (binary or "").

# console: 200,000 printed lines kept in the console picture (--screenshot),
# against yabasic printing them to stdout. start: an empty program (start-up
# and exit), against yabasic and an empty C program.
ALL_BENCHES="loop bm7 sieve fib strings mandel branch bubble reverse console start"

have() { command -v "$1" >/dev/null 2>&1; }

# Normalised output: no CR, no leading/trailing blanks, no empty lines, no
# interpreter banners or prompts (bwbasic's banner, brandy's final ">").
normalise() {
    tr -d '\r' | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' |
        grep -v -e '^$' -e '^>$' -e '^bwBASIC:' \
            -e '^Bywater BASIC Interpreter' -e '^Copyright (c) 19'
}

# output file whose content is checked after a run
output_file_for() {
    case $1 in
    brandy) echo "$work/out/brandy-$2.spool" ;;
    *) echo "$work/out/$1-$2.txt" ;;
    esac
}

# expected output of a benchmark (console's is made, not kept: 200,000 lines)
expected_file_for() {
    case $1 in
    console) echo "$work/expected-console.txt" ;;
    *) echo "$here/expected/$1.txt" ;;
    esac
}

# prepare_bench BENCH: C binary (gcc -O2), brandy copy with a spool line
prepare_bench() {
    local bench=$1
    mkdir -p "$work/bin" "$work/brandy" "$work/out"
    if [ "$bench" = console ]; then
        seq 200000 | sed 's/^/hello world /' >"$(expected_file_for console)"
        return
    fi
    if have gcc && [ -f "$here/c/$bench.c" ] && [ ! -x "$work/bin/$bench" ]; then
        gcc -O2 -o "$work/bin/$bench" "$here/c/$bench.c" 2>"$work/out/gcc-$bench.log" ||
            echo "gcc failed on c/$bench.c" >&2
    fi
    if [ -f "$here/brandy/$bench.bbc" ]; then
        # brandy (SDL build) draws its text into the SDL screen, not stdout:
        # a first line spools the text to a file so it can be checked.
        {
            printf '    1 *SPOOL %s\n' "$(output_file_for brandy "$bench")"
            cat "$here/brandy/$bench.bbc"
        } >"$work/brandy/$bench.bbc"
    fi
}

# command_for RUNNER BENCH: the shell command line; empty when unavailable
command_for() {
    local runner=$1 bench=$2
    case $runner in
    c)
        [ -x "$work/bin/$bench" ] && printf '%q' "$work/bin/$bench" ;;
    yabasic)
        if [ "$bench" = console ]; then
            have yabasic && printf 'yabasic %q' "$here/console/print.yab"
        else
            have yabasic && printf 'yabasic %q' "$here/yabasic/$bench.yab"
        fi ;;
    bwbasic)
        [ "$bench" = console ] || [ "$bench" = start ] && return
        have bwbasic && printf 'bwbasic %q </dev/null' "$here/bwbasic/$bench.bwb" ;;
    brandy)
        [ "$bench" = console ] || [ "$bench" = start ] && return
        # The dummy SDL video driver draws into memory only (no window needed).
        have brandy && printf 'SDL_VIDEODRIVER=dummy brandy -quit %q </dev/null' \
            "$work/brandy/$bench.bbc" ;;
    vorn)
        [ -z "$vorn" ] && return
        if [ "$bench" = console ]; then
            printf '%q --tty --screenshot %q %q </dev/null' "$vorn" "$work/out/console.png" "$here/console/print.bas"
        else
            printf '%q --tty %q </dev/null' "$vorn" "$here/vorn/$bench.bas"
        fi ;;
    esac
}

# check_output RUNNER BENCH: 0 when the last run's output is the expected one
check_output() {
    local f
    f=$(output_file_for "$1" "$2")
    [ -f "$f" ] && normalise <"$f" | cmp -s - "$(expected_file_for "$2")"
}

# median of the numbers on stdin
median() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "nan"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# run_once RUNNER BENCH: runs once, output to its output file; prints the
# wall time in seconds; fails when the program's exit status is not 0
run_once() {
    local cmd out t0 t1
    cmd=$(command_for "$1" "$2")
    out=$(output_file_for "$1" "$2")
    t0=$EPOCHREALTIME
    if [ "$1" = brandy ]; then
        bash -c "$cmd" >/dev/null 2>&1 || return 1
    else
        bash -c "$cmd" >"$out" 2>/dev/null || return 1
    fi
    t1=$EPOCHREALTIME
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", b - a }'
}

resolve_vorn() {
    if [ -n "$vorn" ]; then
        case "$vorn" in /*) ;; *) vorn="$PWD/$vorn" ;; esac
        if [ ! -x "$vorn" ]; then
            echo "$vorn is not an executable file" >&2
            exit 2
        fi
    fi
}
