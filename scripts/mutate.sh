#!/usr/bin/env bash
# Mutation testing of the interpreter: puts one small fault at a time into a
# scratch copy of the sources and checks that the tests notice. Slow (about
# 20 s a mutant); not part of CI. Options: scripts/mutate.sh --help
#   scripts/mutate.sh                         300 mutants, seed 1, all folders
#   scripts/mutate.sh --files lexer --count 40
#   scripts/mutate.sh --retry /tmp/vorn-mutate/results.tsv   survivors again
exec nice -n 19 python3 "$(dirname "$0")/mutate.py" "$@"
