#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one for its share of
# the total time. Any finding (crash, sanitizer report, broken invariant, leak, timeout, memory
# beyond the limit) fails the script; the input that caused it lands in build-fuzz/fuzz-artifacts/.
#   tests/fuzz/run.sh [total-seconds [target...]]     default: 60 seconds over all targets
# Inputs that reach new code go to build-fuzz/fuzz-corpus/<target>/; the committed corpus in
# tests/fuzz/corpus/<target>/ is only read. A longer run: tests/fuzz/run.sh 3600
# A campaign of a number of inputs per target, two targets at a time:
#   QV_FUZZ_RUNS=1000000 QV_FUZZ_PARALLEL=2 nice -n 10 tests/fuzz/run.sh
# The readers of files take inputs up to 1 MB (QV_FUZZ_READER_LEN) from the first run on, for
# what only grows with size (a reading that turns quadratic), unless QV_FUZZ_READER_GROWTH
# (libFuzzer's -len_control, 100 is its own) has them grow from short ones, many times
# faster; the rest take 4,096 bytes (QV_FUZZ_MAX_LEN), growing from short ones.
# Afterwards, keep what reaches new code, minimised, in the committed corpus:
#   build-fuzz/bin/<target> -merge=1 -use_counters=0 tests/fuzz/corpus/<target> \
#       build-fuzz/fuzz-corpus/<target>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
total=${1:-60}
shift $(($# > 0 ? 1 : 0))
build=${QV_FUZZ_BUILD:-$root/build-fuzz}
jobs=${QV_FUZZ_JOBS:-$(nproc)}

if (($# > 0)); then
    targets=("$@")
else
    targets=()
    for source in "$root"/tests/fuzz/Fuzz*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQV_FUZZ=ON \
    -DQV_BUILD_TESTS=OFF -DQV_BUILD_DESIGNER=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$jobs"

share=$((total / ${#targets[@]}))
((share > 0)) || share=1
mkdir -p "$build/fuzz-artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
runs=${QV_FUZZ_RUNS:-}
readers=" FuzzBatchCsv FuzzSheetTemplates "
parallel=${QV_FUZZ_PARALLEL:-1}
limit=(-max_total_time="$share")
[[ -z $runs ]] || limit=(-runs="$runs")

# Runs one target; its summary on standard output, a finding's log on standard error.
fuzz() {
    local target=$1 work="$build/fuzz-corpus/$1" committed="$root/tests/fuzz/corpus/$1"
    local log="$build/fuzz-artifacts/$1.log" length=${QV_FUZZ_MAX_LEN:-4096} growth=()
    if [[ $readers == *" $1 "* ]]; then
        length=${QV_FUZZ_READER_LEN:-1048576} growth=(-len_control="${QV_FUZZ_READER_GROWTH:-0}")
    fi
    mkdir -p "$work" "$committed"
    if "$build/bin/$target" "${limit[@]}" -timeout=20 -rss_limit_mb=3072 \
        -max_len="$length" "${growth[@]}" -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
        "$work" "$committed" >"$log" 2>&1; then
        local executed seconds coverage reached
        executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
        coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
        reached=$(grep -o 'lim: [0-9]*' "$log" | tail -n 1 | cut -c6-)
        echo "$target: ${executed:-?} executions in ${seconds:-?}s, $coverage," \
            "inputs up to ${reached:-$length} bytes, no findings"
    else
        echo "$target: FINDING, see $log" >&2
        tail -n 40 "$log" >&2
        return 1
    fi
}

status=0
running=0
for target in "${targets[@]}"; do
    if ((running == parallel)); then
        wait -n || status=1
        running=$((running - 1))
    fi
    fuzz "$target" &
    running=$((running + 1))
done
while ((running > 0)); do
    wait -n || status=1
    running=$((running - 1))
done
exit $status
