#!/bin/sh
# Runs each libFuzzer target for a bounded time: run.sh BUILD_DIR SECONDS TARGET...
# New inputs collect in BUILD_DIR/corpus/<target> (the seeds in
# fuzz/corpus/<target> are only read); a finding is saved as crash-...,
# leak-..., timeout-... or oom-... in fuzz/corpus/<target>/, which every test
# build replays, and fails the run. Each target's full log is in
# BUILD_DIR/fuzz-<target>.log.
set -u
build=$1 seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
failed=""
for target in "$@"; do
    work="$build/corpus/$target"
    log="$build/fuzz-$target.log"
    mkdir -p "$work"
    dict="" limits="-timeout=10" asan="${ASAN_OPTIONS:-}"
    case $target in
        *_player*) dict="-dict=$here/cards.dict" ;;
        # Files from anywhere: what they cost must not grow with what they claim. ASan's
        # quarantine is kept small, so that the memory measured is what the inputs hold.
        match_csv)
            dict="-dict=$here/match_csv.dict" limits="-timeout=1 -rss_limit_mb=64"
            asan="$asan${asan:+:}quarantine_size_mb=1"
            ;;
    esac
    echo "== fuzz-$target: $seconds s"
    if ASAN_OPTIONS="$asan" "$build/fuzz/fuzz-$target" -max_total_time="$seconds" $limits -print_final_stats=1 $dict \
        -artifact_prefix="$here/corpus/$target/" "$work" "$here/corpus/$target" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log"
    else
        tail -n 40 "$log"
        failed="$failed $target"
    fi
done
if [ -n "$failed" ]; then
    echo "Findings in:$failed (reproducers in fuzz/corpus/<target>/)" >&2
    exit 1
fi
