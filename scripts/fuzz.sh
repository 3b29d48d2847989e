#!/usr/bin/env bash
# Builds the template fuzz target (libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, clang) and runs it for a while, starting from
# the example templates. Exits non-zero when the fuzzer finds a crash, a leak,
# undefined behaviour, a NaN in a built group or an input that runs too long.
#
#   scripts/fuzz.sh [seconds]     # default 60
#
# Everything the run writes (corpus, failing inputs, the target's files) goes
# to a temporary directory that is removed at the end; a failing input is
# printed first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"

"$root/scripts/setup.sh" --fuzz

echo "== Build the template fuzz target"
. "$root/scripts/build-folder.sh"
fresh_build_folder "$root" "$build"
CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_FUZZ=ON \
  -DKORVANE_BUILD32=OFF -DKORVANE_TESTS=OFF -DKORVANE_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target korvane_fuzz_template

work="$(mktemp -d "${TMPDIR:-/tmp}/korvane-fuzz-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts" "$work/tmp"
cp "$root"/examples/*.kvt "$work/corpus/"

echo "== Fuzz templates for ${seconds} s"
status=0
# The console reads nothing but the input's own console part; standard input
# is closed off so that nothing can wait for a terminal.
(
  cd "$work"
  TMPDIR="$work/tmp" \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/korvane_fuzz_template" \
    -max_total_time="$seconds" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=4096 \
    -dict="$root/tests/fuzz/template.dict" \
    -artifact_prefix="$work/artifacts/" \
    -print_final_stats=1 \
    "$work/corpus" </dev/null >"$work/fuzz.log" 2>&1
) || status=$?

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
  tail -n 60 "$work/fuzz.log" >&2
  echo "Korvane fuzz: the fuzzer found a failing input (status $status)." >&2
  # The inputs go with the temporary directory: print them, in base64 to feed
  # them to the target again (base64 -d > input; build-fuzz/korvane_fuzz_template input).
  for f in "$work"/artifacts/*; do
    [ -e "$f" ] || continue
    echo "--- $(basename "$f"):" >&2
    od -c "$f" | head -40 >&2
    echo "--- base64:" >&2
    base64 "$f" >&2
  done
  exit 1
fi
grep '^stat::' "$work/fuzz.log" || true
echo "Korvane fuzz: no failing input in ${seconds} s."
