#!/usr/bin/env bash
# The scripts' build folders: one configured for another source folder (a
# working tree copied with its build folders) is removed, so that CMake can
# configure it afresh; one configured for its own source folder, also when
# that is reached through a symbolic link, is kept.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$root/scripts/build-folder.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/korvane-build-folder-XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "build folder test: $*" >&2; exit 1; }

mkdir "$work/a"
printf 'cmake_minimum_required(VERSION 3.16)\nproject(copied NONE)\n' > "$work/a/CMakeLists.txt"
cmake -S "$work/a" -B "$work/a/build" >/dev/null
touch "$work/a/build/mark"

fresh_build_folder "$work/a" "$work/a/build" 2>/dev/null
[ -f "$work/a/build/mark" ] || fail "the build folder of its own source folder was removed"
ln -s "$work/a" "$work/link"
fresh_build_folder "$work/link" "$work/link/build" 2>/dev/null
[ -f "$work/a/build/mark" ] || fail "the build folder reached through a link was removed"

cp -r "$work/a" "$work/b"
if cmake -S "$work/b" -B "$work/b/build" >/dev/null 2>&1; then
  fail "CMake configured a copied build folder; the test shows nothing"
fi
fresh_build_folder "$work/b" "$work/b/build" 2>/dev/null
[ ! -e "$work/b/build" ] || fail "the copied build folder was kept"
cmake -S "$work/b" -B "$work/b/build" >/dev/null || fail "the copy could not be configured afresh"
[ -f "$work/a/build/mark" ] || fail "the original build folder was touched"
