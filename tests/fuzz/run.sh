#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one for its share of
# the total time. Any finding (crash, sanitizer report, broken invariant, leak, timeout, memory
# beyond the limit) fails the script; the input that caused it lands in build-fuzz/fuzz-artifacts/.
#   tests/fuzz/run.sh [total-seconds [target...]]     default: 60 seconds over all targets
# Inputs that reach new code go to build-fuzz/fuzz-corpus/<target>/; the committed corpus in
# tests/fuzz/corpus/<target>/ is only read. A longer run: tests/fuzz/run.sh 3600
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
status=0
for target in "${targets[@]}"; do
    work="$build/fuzz-corpus/$target"
    committed="$root/tests/fuzz/corpus/$target"
    mkdir -p "$work" "$committed"
    log="$build/fuzz-artifacts/$target.log"
    if "$build/bin/$target" -max_total_time="$share" -timeout=20 -rss_limit_mb=3072 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
        "$work" "$committed" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: ${runs:-?} executions in ${share}s, no findings"
    else
        echo "$target: FINDING, see $log" >&2
        tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
