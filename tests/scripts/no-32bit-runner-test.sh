#!/usr/bin/env bash
# Configuring with the 32-bit tests where 32-bit executables can neither run
# nor be emulated stops at once, with one message that names the cause and
# both ways out, instead of failing later when the tests are listed.
#   no-32bit-runner-test.sh <source folder> <compiler>
set -euo pipefail
source="$1"
compiler="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/korvane-no-runner-XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "no 32-bit runner test: $*" >&2; exit 1; }

# Configures a build folder with the options; the status and the output are
# left in $status and $work/out.
configure() {
  status=0
  cmake -S "$source" -B "$work/build-$1" -DCMAKE_CXX_COMPILER="$compiler" -DKORVANE_BUILD32=ON \
    -DKORVANE_TESTS=ON "${@:2}" >"$work/out" 2>&1 || status=$?
}

expect_refusal() {
  [ "$status" -ne 0 ] || fail "$1: configuring went on"
  grep -q "cannot run" "$work/out" || fail "$1: the message names no cause: $(cat "$work/out")"
  grep -q "qemu-user" "$work/out" || fail "$1: the message does not say to install qemu-user"
  grep -q -- "-DKORVANE_BUILD32=OFF" "$work/out" || fail "$1: the message does not name -DKORVANE_BUILD32=OFF"
}

# An emulator that does not exist, named by the user: by a path, and by a
# name that is not on PATH.
configure forced -DKORVANE32_RUNNER="$work/missing/qemu-i386"
expect_refusal "a missing emulator named by KORVANE32_RUNNER"
configure forced-name -DKORVANE32_RUNNER=korvane-no-such-emulator
expect_refusal "an emulator named by KORVANE32_RUNNER that is not on PATH"

# An emulator that runs nothing: where the kernel cannot run 32-bit
# executables itself, the search for the emulator finds none that works.
printf '#!/bin/sh\nexit 1\n' >"$work/broken-qemu"
chmod +x "$work/broken-qemu"
configure auto -DKORVANE_QEMU_I386="$work/broken-qemu"
if [ -x "$work/build-auto/CMakeFiles/korvane-i386-check/i386-check" ] &&
   "$work/build-auto/CMakeFiles/korvane-i386-check/i386-check" 2>/dev/null; then
  [ "$status" -eq 0 ] || fail "configuring failed where the kernel runs 32-bit executables: $(cat "$work/out")"
else
  expect_refusal "no native 32-bit support and a broken emulator"
fi

# The way out: the 64-bit build alone configures.
configure only64 -DKORVANE_BUILD32=OFF -DKORVANE32_RUNNER="$work/missing/qemu-i386"
[ "$status" -eq 0 ] || fail "configuring with -DKORVANE_BUILD32=OFF failed: $(cat "$work/out")"
