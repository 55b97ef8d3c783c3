#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Side-by-side performance of QvBarCode and zint on the same work, in one run.
#
#   bench/compare.sh [BUILD_DIR]     (default: build-bench, a Release tree it configures)
#
# Prints, per case, our figure, zint's and the ratio, and writes bench/RESULTS.md.
# Needs the Debian packages zint, libzint-dev, libbenchmark-dev, time (for /usr/bin/time),
# python3, and for the Python cases python3-cffi, python3-pil and python3-zxing-cpp; valgrind
# only for profiling by hand. Not part of the test suite: it takes a
# few minutes and its figures depend on the machine.
#
# Cases:
#   in-process Draw: captioned and plain EAN-13 (BarWidth 300, BarHeight 80, white) and a
#     captioned Code 39 of 20 characters on the own surface, against ZBarcode_Encode_and_Buffer;
#   batch: 10,000 captioned EAN-13 PNG files (-t ean13 -c -w -s --width 300 --height 80),
#     qvbarcode --batch with --jobs 1 and with its default (every core) against zint --batch:
#     wall time, files per second and peak resident memory (also at 1,000 files, to show
#     that memory does not grow with the count); then SVG files; QV_BENCH_ROUNDS rounds
#     (default 3) of each, the median kept, because times on a shared machine vary widely;
#   ceiling: bench_file_ceiling creates and writes as many files of 1.2 KB in a plain loop,
#     the most files per second this machine's tmpfs allows, measured in the same run;
#   disk: the PNG batch once more into the build folder, for reference (ours puts its files on
#     disk with one syncfs before its summary: the figure includes it);
#   sync: the plain loop of QV_BENCH_SYNC_FILES (default 2,000) files on the disk and on
#     /dev/shm, syncing nothing, syncing the file system once at the end, and syncing every
#     file and then the folder: what each way of putting a batch on disk costs per file;
#   growth: one Draw against the module count and the module width, in ns per pixel;
#   PDF and EPS: QV_BENCH_VECTOR_FILES (default 2,000) EAN-13 PDF files, then EPS files,
#     against zint's EPS (it writes no PDF), with a PNG batch of ours beside them for scale.
#     QV_BENCH_ONLY=vector runs only these and replaces only their table; QV_BENCH_ONLY=sync
#     runs only the sync cases, and replaces only theirs;
#   Python: the package qvbarcode run by Debian's /usr/bin/python3 (bench/python_bench.py):
#     Barcode(...).draw() of a captioned EAN-13, 300 x 80, and one Barcode's draw() against
#     python3-zxing-cpp's write_barcode at that size; a Python loop saving the batch's PNG
#     files against qvbarcode --batch --jobs 1 of the same list; 2 threads drawing, drawing
#     into pictures and saving against 1. QV_BENCH_ONLY=python runs only these, and replaces
#     only their table.
#   documents: the 10,000 EAN-13 labels into one PDF, a page each, against zint writing them
#     as 10,000 EPS files; the same on A4 sheets of 3 x 8 labels (417 pages); and 1,000 into
#     one PDF, whose peak memory shows that it does not grow with the pages.
#     QV_BENCH_ONLY=documents runs only these (and the vector cases' EPS files at 10,000), and
#     replaces only their table.
# Every batch but the disk reference writes into /dev/shm: on a disk, creating the files
# decides the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-bench}
files=${QV_BENCH_FILES:-10000}
jobs=${QV_BENCH_JOBS:-2}
rounds=${QV_BENCH_ROUNDS:-3}
vector_files=${QV_BENCH_VECTOR_FILES:-2000}
sync_files=${QV_BENCH_SYNC_FILES:-2000}
only=${QV_BENCH_ONLY:-}

for tool in zint python3 /usr/bin/time /usr/bin/python3 pdfinfo; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing (see the header of $0)" >&2; exit 2; }
done
/usr/bin/python3 -c "import cffi, PIL, zxingcpp" 2>/dev/null ||
    { echo "error: python3-cffi, python3-pil or python3-zxing-cpp is missing" >&2; exit 2; }

if [ ! -x "$build/bin/bench_draw" ] || [ ! -x "$build/bin/qvbarcode" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_BENCH=ON \
        -DQV_BUILD_TESTS=OFF -DQV_BUILD_DESIGNER=OFF >/dev/null
fi
cmake --build "$build" -j "$jobs" --target bench_draw bench_growth bench_file_ceiling qvbarcode \
    qvbarcode_component >/dev/null

# Ours on one thread: everything in order, nothing overlapped.
jobs_one=(--jobs 1)

work=$(mktemp -d)
out_root=$(mktemp -d -p /dev/shm)
disk_root=$(mktemp -d -p "$build")
trap 'rm -rf "$work" "$out_root" "$disk_root"' EXIT

if [ -z "$only" ]; then
    echo "== in-process drawing"
    "$build/bin/bench_draw" --benchmark_min_time=1 --benchmark_out="$work/draw.json" \
        --benchmark_out_format=json >/dev/null
    echo "== growth"
    "$build/bin/bench_growth" --benchmark_min_time=0.5 --benchmark_out="$work/growth.json" \
        --benchmark_out_format=json >/dev/null
fi

# The same 12-digit texts for both programs; each computes the check digit itself.
python3 -c "
import random
random.seed(8)
for _ in range($files): print('%012d' % random.randrange(10**12))
" >"$work/list.txt"
head -n $((files / 10)) "$work/list.txt" >"$work/list-tenth.txt"
head -n "$vector_files" "$work/list.txt" >"$work/list-vector.txt"
head -n "$sync_files" "$work/list.txt" >"$work/list-sync.txt"

# timed NAME WHO COUNT COMMAND...: runs the command, appending "name who files seconds
# kilobytes"; the wall time from the clock in nanoseconds (/usr/bin/time counts in hundredths,
# too coarse for the fastest), the peak memory from /usr/bin/time.
timed() {
    local name=$1 who=$2 count=$3 start end
    shift 3
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/time" "$@"
    end=$(date +%s%N)
    echo "$name $who $count $(((end - start) / 1000))e-6 $(cat "$work/time")" >>"$work/batch.txt"
}
# ours|peer NAME LIST EXTENSION ROUND [PEER_EXTENSION]: one batch of one program into a fresh
# directory; appends "name program files seconds kilobytes" to the measurements. ours_one is
# ours on one thread; QV_BENCH_ROOT puts the files elsewhere (the disk reference).
ours() {
    local name=$1 list=$2 ext=$3 count out="${QV_BENCH_ROOT:-$out_root}/out-$1-$4-${who:-ours}"
    count=$(wc -l <"$list")
    mkdir -p "$out"
    timed "$name" "${who:-ours}" "$count" "$build/bin/qvbarcode" --batch "$list" \
        -t ean13 -c -w -s --width 300 --height 80 ${jobs_arg[@]+"${jobs_arg[@]}"} \
        -o "$out/#####.$ext" 2>/dev/null
    [ "$(find "$out" -name "*.$ext" | wc -l)" -eq "$count" ] || { echo "error: ours wrote too few files" >&2; exit 1; }
}
ours_one() {
    local who=ours1 jobs_arg=("${jobs_one[@]}")
    ours "$@"
}
peer() {
    local name=$1 list=$2 ext=${5:-$3} count out="${QV_BENCH_ROOT:-$out_root}/out-$1-$4-peer"
    count=$(wc -l <"$list")
    mkdir -p "$out"
    # 3 pixels per module and 70-pixel bars, as ours; zint's text is its own.
    timed "$name" peer "$count" zint --batch -b EANX --scale=1.5 --height=23.333 \
        --filetype="$ext" -i "$list" -o "$out/~~~~~.$ext" >/dev/null 2>&1
    [ "$(find "$out" -name "*.$ext" | wc -l)" -eq "$count" ] || { echo "error: zint wrote too few files" >&2; exit 1; }
}
# ours_doc NAME LIST EXTENSION ROUND: the list into one PDF, a page per label, or with
# QV_BENCH_SHEET on its sheets; the pages counted.
ours_doc() {
    local name=$1 list=$2 count pages out="$out_root/$1-$4.pdf" layout=()
    count=$(wc -l <"$list")
    pages=$count
    if [ -n "${QV_BENCH_SHEET:-}" ]; then
        layout=(--dpi 300 --module 4px --sheet "$QV_BENCH_SHEET")
        pages=$(((count + 23) / 24))
    else
        layout=(--width 300 --height 80)
    fi
    timed "$name" ours "$count" "$build/bin/qvbarcode" --batch "$list" -t ean13 -c -w -s \
        "${layout[@]}" -o "$out" 2>/dev/null
    [ "$(pdfinfo "$out" | sed -n 's/^Pages: *//p')" -eq "$pages" ] || { echo "error: ours wrote too few pages" >&2; exit 1; }
}
# The plain loop: as many files as the list has lines, of 1.2 KB each.
plain() {
    local name=$1 list=$2 count out="${QV_BENCH_ROOT:-$out_root}/out-$1-$4-plain"
    count=$(wc -l <"$list")
    mkdir -p "$out"
    timed "$name" plain "$count" "$build/bin/bench_file_ceiling" "$out" "$count" 1200
}
# synced NAME LIST EXTENSION ROUND: the plain loop three times, syncing nothing, the file
# system once, every file and its folder; appended as plain-none, plain-syncfs, plain-fsync.
synced() {
    local name=$1 list=$2 count mode out
    count=$(wc -l <"$list")
    for mode in none syncfs fsync; do
        out="${QV_BENCH_ROOT:-$out_root}/out-$1-$4-$mode"
        mkdir -p "$out"
        sync
        timed "$name" "plain-$mode" "$count" "$build/bin/bench_file_ceiling" "$out" "$count" 1200 "$mode"
    done
}
# run NAME LIST EXTENSION [PEER_EXTENSION] [PROGRAMS...]: a few rounds of the programs (by
# default ours and the peer), the order turning round by round. The files stay until the
# script ends, so that no round pays for freeing an earlier one's.
run() {
    local name=$1 list=$2 ext=$3 peer_ext=${4:-} round i programs=(ours peer)
    [ $# -le 4 ] || programs=("${@:5}")
    for round in $(seq "$rounds"); do
        for i in "${!programs[@]}"; do
            local program=${programs[$(((i + round) % ${#programs[@]}))]}
            "$program" "$name" "$list" "$ext" "$round" "$peer_ext"
        done
        sync
    done
}
: >"$work/batch.txt"
if [ "$only" = sync ]; then
    echo "== putting files on disk"
    QV_BENCH_ROOT=$disk_root run sync-disk "$work/list-sync.txt" png "" synced
    run sync-shm "$work/list-sync.txt" png "" synced
elif [ -z "$only" ]; then
    echo "== batch PNG"
    run png "$work/list.txt" png "" ours_one ours peer plain
    run png-tenth "$work/list-tenth.txt" png
    echo "== batch PNG on disk"
    QV_BENCH_ROOT=$disk_root run png-disk "$work/list.txt" png "" ours_one ours peer
    echo "== putting files on disk"
    QV_BENCH_ROOT=$disk_root run sync-disk "$work/list-sync.txt" png "" synced
    run sync-shm "$work/list-sync.txt" png "" synced
    echo "== batch SVG"
    run svg "$work/list.txt" svg
fi
if [ -z "$only" ] || [ "$only" = vector ] || [ "$only" = documents ]; then
    echo "== batch PDF and EPS"
    run vector-png "$work/list-vector.txt" png
    run pdf "$work/list-vector.txt" pdf eps
    run eps "$work/list-vector.txt" eps
fi
if [ -z "$only" ] || [ "$only" = documents ]; then
    echo "== documents"
    run doc-pdf "$work/list.txt" pdf eps ours_doc peer
    run doc-pdf-tenth "$work/list-tenth.txt" pdf eps ours_doc
    QV_BENCH_SHEET=a4:3x8:63.5x33.9mm:7.21x12.9mm:66.04x33.9mm run doc-sheet "$work/list.txt" pdf eps ours_doc
    run doc-eps "$work/list.txt" eps
fi

if [ -z "$only" ] || [ "$only" = python ]; then
    echo "== Python"
    QVBARCODE_COMPONENT="$build/lib/libqvbarcode-component.so.1" PYTHONPATH="$root/python" \
        PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$root/bench/python_bench.py" \
        "$build/bin/qvbarcode" "$work/list.txt" "$out_root" "$root/bench/RESULTS.md" "$rounds"
    [ "$only" != python ] || exit 0
fi

machine="$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores, $(free -g | awk '/^Mem:/{print $2}') GB"
ours_version=$("$build/bin/qvbarcode" --version | head -1)
peer_version=$(zint --version | head -1)
draw_json=$work/draw.json
growth_json=$work/growth.json
if [ -n "$only" ]; then
    draw_json=-
    growth_json=-
fi
python3 "$root/bench/report.py" "$draw_json" "$growth_json" "$work/batch.txt" \
    "$machine" "$ours_version" "$peer_version" "$root/bench/RESULTS.md"
