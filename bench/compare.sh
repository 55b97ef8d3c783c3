#!/usr/bin/env bash
# Side-by-side performance of QvBarCode and zint on the same work, in one run.
#
#   bench/compare.sh [BUILD_DIR]     (default: build-bench, a Release tree it configures)
#
# Prints, per case, our figure, zint's and the ratio, and writes bench/RESULTS.md.
# Needs the Debian packages zint, libzint-dev, libbenchmark-dev, time (for /usr/bin/time)
# and python3; valgrind only for profiling by hand. Not part of the test suite: it takes a
# few minutes and its figures depend on the machine.
#
# Cases:
#   in-process Draw: captioned and plain EAN-13 (BarWidth 300, BarHeight 80, white) and a
#     captioned Code 39 of 20 characters on the own surface, against ZBarcode_Encode_and_Buffer;
#   batch: 10,000 EAN-13 PNG files, then SVG files, qvbarcode --batch against zint --batch:
#     wall time, files per second and peak resident memory (also at 1,000 files, to show
#     that memory does not grow with the count); QV_BENCH_ROUNDS rounds (default 3) of each,
#     the median kept, because file creation times on a shared machine vary widely;
#   growth: one Draw against the module count and the module width, in ns per pixel.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-bench}
files=${QV_BENCH_FILES:-10000}
jobs=${QV_BENCH_JOBS:-2}
rounds=${QV_BENCH_ROUNDS:-3}

for tool in zint python3 /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing (see the header of $0)" >&2; exit 2; }
done

if [ ! -x "$build/bin/bench_draw" ] || [ ! -x "$build/bin/qvbarcode" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_BENCH=ON \
        -DQV_BUILD_TESTS=OFF -DQV_BUILD_DESIGNER=OFF >/dev/null
fi
cmake --build "$build" -j "$jobs" --target bench_draw bench_growth qvbarcode >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== in-process drawing"
"$build/bin/bench_draw" --benchmark_min_time=1 --benchmark_out="$work/draw.json" \
    --benchmark_out_format=json >/dev/null
echo "== growth"
"$build/bin/bench_growth" --benchmark_min_time=0.5 --benchmark_out="$work/growth.json" \
    --benchmark_out_format=json >/dev/null

# The same 12-digit texts for both programs; each computes the check digit itself.
python3 -c "
import random
random.seed(8)
for _ in range($files): print('%012d' % random.randrange(10**12))
" >"$work/list.txt"
head -n $((files / 10)) "$work/list.txt" >"$work/list-tenth.txt"

# ours|peer NAME LIST EXTENSION ROUND: one batch of one program into a fresh directory;
# appends "name program files seconds kilobytes" to the measurements.
ours() {
    local name=$1 list=$2 ext=$3 count out="$work/out-$1-ours-$4"
    count=$(wc -l <"$list")
    mkdir -p "$out"
    /usr/bin/time -f '%e %M' -o "$work/time" "$build/bin/qvbarcode" --batch "$list" \
        -t ean13 -c -w -s --width 300 --height 80 -o "$out/#####.$ext" 2>/dev/null
    echo "$name ours $count $(cat "$work/time")" >>"$work/batch.txt"
    [ "$(find "$out" -name "*.$ext" | wc -l)" -eq "$count" ] || { echo "error: ours wrote too few files" >&2; exit 1; }
}
peer() {
    local name=$1 list=$2 ext=$3 count out="$work/out-$1-peer-$4"
    count=$(wc -l <"$list")
    mkdir -p "$out"
    # 3 pixels per module and 70-pixel bars, as ours; zint's text is its own.
    /usr/bin/time -f '%e %M' -o "$work/time" zint --batch -b EANX --scale=1.5 --height=23.333 \
        --filetype="$ext" -i "$list" -o "$out/~~~~~.$ext" >/dev/null 2>&1
    echo "$name peer $count $(cat "$work/time")" >>"$work/batch.txt"
    [ "$(find "$out" -name "*.$ext" | wc -l)" -eq "$count" ] || { echo "error: zint wrote too few files" >&2; exit 1; }
}
# run NAME LIST EXTENSION: a few rounds of both, the order alternating. The files stay
# until the script ends: creating files within half a minute of deleting many costs ext4 a
# search through the recently freed inodes for every new one, which would swamp both.
run() {
    local round
    for round in $(seq "$rounds"); do
        if ((round % 2)); then
            ours "$@" "$round"
            peer "$@" "$round"
        else
            peer "$@" "$round"
            ours "$@" "$round"
        fi
        sync
    done
}
: >"$work/batch.txt"
echo "== batch PNG"
run png "$work/list.txt" png
run png-tenth "$work/list-tenth.txt" png
echo "== batch SVG"
run svg "$work/list.txt" svg

machine="$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores, $(free -g | awk '/^Mem:/{print $2}') GB"
ours_version=$("$build/bin/qvbarcode" --version | head -1)
peer_version=$(zint --version | head -1)
python3 "$root/bench/report.py" "$work/draw.json" "$work/growth.json" "$work/batch.txt" \
    "$machine" "$ours_version" "$peer_version" "$root/bench/RESULTS.md"
