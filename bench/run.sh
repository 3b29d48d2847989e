#!/usr/bin/env bash
# Benchmark: builds the Release executables and runs, in batch mode without
# menu, the largest model of each shape with face alignment, wrapping and
# seamless fitting on, writing both the map and the OBJ file. For each it
# prints the median wall time of writing new files and of replacing the files
# of the run before (which adds putting the text on the disk before the old
# file is replaced), peak memory, bytes written and the ratio of the new
# files' wall time to the time cat needs to copy the same files (the I/O
# floor).
#
#   bench/run.sh [runs] [executable]
#
# runs defaults to 5 per model. With an executable (an older build, say), that
# one is measured instead of the one built from this tree.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"
exe="${2:-}"
if [ -z "$exe" ]; then
  . "$root/scripts/build-folder.sh"
  "$root/scripts/setup.sh" --no-32
  fresh_build_folder "$root" "$root/build-bench"
  cmake -S "$root" -B "$root/build-bench" -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD32=OFF -DKORVANE_TESTS=OFF >/dev/null
  cmake --build "$root/build-bench" -j"$(nproc)" --target korvane64 >/dev/null
  exe="$root/build-bench/korvane64"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name: extra template lines
models=(
  "cylinder:shape cylinder"
  "arch:shape arch
tri 1
2_facealign 1
2_v_wrap 1
2_v_seamless 1
3_facealign 1
3_v_wrap 1"
  "torus:shape torus
1_h_wrap 1
1_h_seamless 1"
  "htorus:shape htorus
2_facealign 1
2_v_wrap 1
2_v_seamless 1
3_facealign 1
3_v_wrap 1"
  "sphere:shape sphere
1_h_wrap 1"
)

now_ns() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Runs the executable on the model's template once; appends its wall time in
# nanoseconds to the array named by $1 and its peak memory to mems.
run_once() {
  local -n times="$1"
  local start end
  start=$(now_ns)
  /usr/bin/time -f "%M" -o "$dir/time.txt" "$exe" "$dir/$name.kvt" </dev/null >/dev/null
  end=$(now_ns)
  times+=("$(( end - start ))")
  mems+=("$(tail -n 1 "$dir/time.txt")")
}

printf '%-9s %10s %10s %10s %12s %10s %8s\n' model "new(s)" "replace(s)" "peak(MiB)" bytes "cat(s)" ratio
for entry in "${models[@]}"; do
  name="${entry%%:*}"
  extra="${entry#*:}"
  dir="$work/$name"
  mkdir -p "$dir"
  cat > "$dir/$name.kvt" <<KVT
nomenu 1
exmap 1
exobj 1
res 192
res2 192
sym 1
1_facealign 1
1_v_wrap 1
1_v_seamless 1
$extra
KVT
  walls=() replaces=() mems=() cats=()
  for ((i = 0; i < runs; i++)); do
    # The program and cat write fresh files: replacing an existing file adds
    # the time the system takes to free the old one, measured on its own.
    rm -f "$dir/$name.map" "$dir/$name.obj"
    sync
    run_once walls
    sync
    run_once replaces
    start=$(now_ns)
    cat "$dir/$name.map" "$dir/$name.obj" > "$dir/copy"
    end=$(now_ns)
    cats+=("$(( end - start ))")
    rm -f "$dir/copy"
  done
  wall=$(printf '%s\n' "${walls[@]}" | median)
  replace=$(printf '%s\n' "${replaces[@]}" | median)
  mem=$(printf '%s\n' "${mems[@]}" | median)
  catt=$(printf '%s\n' "${cats[@]}" | median)
  bytes=$(( $(stat -c %s "$dir/$name.map") + $(stat -c %s "$dir/$name.obj") ))
  awk -v n="$name" -v w="$wall" -v r="$replace" -v m="$mem" -v b="$bytes" -v c="$catt" 'BEGIN {
    printf "%-9s %10.3f %10.3f %10.1f %12d %10.3f %8.2f\n", n, w / 1e9, r / 1e9, m / 1024, b, c / 1e9, (c > 0 ? w / c : 0) }'
done
