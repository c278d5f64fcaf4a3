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
    dict=""
    case $target in *_player*) dict="-dict=$here/cards.dict" ;; esac
    echo "== fuzz-$target: $seconds s"
    if "$build/fuzz/fuzz-$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 $dict \
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
