#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the normal build, then the same tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/test.sh            both builds
#   scripts/test.sh --fast     the normal build only
#   scripts/test.sh --sanitize the sanitizer build only
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}

mode=${1:-all}
if [ "$mode" = all ] || [ "$mode" = --fast ]; then
  echo "== tests =="
  run_suite build
fi
if [ "$mode" = all ] || [ "$mode" = --sanitize ]; then
  echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/leak-suppressions.txt:print_suppressions=0
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMARROWFIN_SANITIZE=ON -DMARROWFIN_BENCH=OFF
fi
