#!/usr/bin/env bash
# Sets up, builds and runs Korvane (64-bit). Without arguments the program is
# interactive; every argument is a template file processed in batch mode.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$root/scripts/build-folder.sh"
"$root/scripts/setup.sh"
fresh_build_folder "$root" "$root/build"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target korvane64 korvane >/dev/null
exec "$root/build/korvane64" "$@"
