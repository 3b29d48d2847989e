#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit tests of both architectures
# and the end-to-end tests, with warnings as errors; then the 64-bit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer; last, a minute
# of fuzzing templates (scripts/fuzz.sh). CTest runs the test cases in
# parallel, one process each.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
. "$root/scripts/build-folder.sh"
"$root/scripts/setup.sh"

# Runs the tests of a build folder in parallel. The lines of tests that pass
# are left out; a failing test is named with its output.
run_tests() {
  ctest --test-dir "$1" -j"$jobs" --output-on-failure |
    grep -v -E '^ +Start +[0-9]+: |Test +#[0-9]+: .* Passed +[0-9.]+ sec$'
}

echo "== Build and test: korvane (32-bit) and korvane64 (64-bit)"
fresh_build_folder "$root" "$root/build-test"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=Release -DKORVANE_WERROR=ON >/dev/null
cmake --build "$root/build-test" -j"$jobs"
run_tests "$root/build-test"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
fresh_build_folder "$root" "$root/build-asan"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKORVANE_WERROR=ON \
  -DKORVANE_SANITIZE=ON -DKORVANE_BUILD32=OFF >/dev/null
cmake --build "$root/build-asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_tests "$root/build-asan"

"$root/scripts/fuzz.sh" 60
