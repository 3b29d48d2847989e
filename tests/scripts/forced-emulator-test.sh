#!/usr/bin/env bash
# A build folder configured with -DKORVANE32_RUNNER=qemu-i386, as the README
# writes it, runs the end-to-end tests, which start the 32-bit executable
# through the emulator: the emulator's bare name is found on PATH when
# configuring, because the tests start it without searching PATH. A relative
# path to the emulator is taken from the folder CMake was started in.
# Skipped (status 77) where qemu-i386 is not on PATH.
#   forced-emulator-test.sh <source folder> <compiler>
set -euo pipefail
source="$1"
compiler="$2"
if ! command -v qemu-i386 >/dev/null; then
  echo "forced emulator test: skipped, qemu-i386 is not on PATH (Debian package qemu-user)"
  exit 77
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/korvane-forced-emulator-XXXXXX")"
trap 'rm -rf "$work"' EXIT
work="$(cd "$work" && pwd -P)"
fail() { echo "forced emulator test: $*" >&2; exit 1; }

configure() {
  cmake -S "$source" -B "$1" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=Debug \
    -DKORVANE_BUILD32=ON -DKORVANE_TESTS=ON "${@:2}" >"$work/out" 2>&1 ||
    fail "configuring with ${*:2} failed: $(cat "$work/out")"
}

# The bare name, as the README writes it: every end-to-end test, run through
# CTest as in a normal build folder, with only what they need built.
configure "$work/build" -DKORVANE32_RUNNER=qemu-i386
cmake --build "$work/build" -j4 --target korvane korvane64 korvane_tests64 >"$work/out" 2>&1 ||
  fail "building failed: $(tail -n 50 "$work/out")"
suites="$(grep -hoE '^TEST(_F|_P)?\([A-Za-z0-9_]+' "$source"/tests/e2e/*.cpp | sed -E 's/.*\(//' | sort -u | paste -sd'|')"
[ -n "$suites" ] || fail "no end-to-end test suites found in $source/tests/e2e"
ctest --test-dir "$work/build" -j4 --no-tests=error --output-on-failure \
  -R "^64:([^./]+/)?($suites)\\." >"$work/out" 2>&1 ||
  fail "the end-to-end tests failed with the emulator forced: $(tail -n 80 "$work/out")"

# A relative path: from the folder CMake is started in, not from the source
# or the build folder.
mkdir "$work/bin"
printf '#!/bin/sh\nexec qemu-i386 "$@"\n' >"$work/bin/emulator"
chmod +x "$work/bin/emulator"
(cd "$work" && configure build-relative -DKORVANE32_RUNNER=bin/emulator)
grep -q "through $work/bin/emulator\$" "$work/out" ||
  fail "the relative path bin/emulator was not taken from the folder CMake started in: $(cat "$work/out")"
