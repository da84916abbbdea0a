#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --tsan       ThreadSanitizer in build-tsan/, the tests where threads meet
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DVORN_WERROR=ON -DVORN_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
fi

select=()
if [ "${1:-}" = "--tsan" ]; then
  dir=build-tsan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DVORN_WERROR=ON -DVORN_TSAN=ON)
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
  select=(-R 'Window|window/|Steps.Break')
fi

./scripts/install-deps.sh
cmake -S . -B "$dir" "${flags[@]}"
cmake --build "$dir" -j2
ctest --test-dir "$dir" --output-on-failure -j2 "${select[@]}"
