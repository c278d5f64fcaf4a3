#!/bin/sh
# How many deals match --decide needs to tell two players apart: the median
# of the deal counts over SEEDS matches of each pair, played to at most
# 10,000 deals (an undecided match counts as 10,000, and is told).
#   scripts/decide_power.sh BUILD_DIR [SEEDS]
set -eu
build="$(cd "$1" && pwd)"
seeds="${2:-5}"
echo "== match --decide: deals to decide (median of $seeds seeds; alpha 0.05)"
for pair in "ev-player tally-player" "ev-player ev-player-anchored"; do
    counts=""
    for seed in $(seq "$seeds"); do
        count=$("$build/bin/match" --decide --seed "$seed" --no-ceiling --quiet --json - $pair |
            sed -n 's/.*"deals": \([0-9]*\),$/\1/p; s/.*"deals": null,$/10000+/p' | tail -1)
        counts="$counts $count"
    done
    median=$(printf '%s\n' $counts | sed 's/+//' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    printf '%-32s median %6s   (each seed:%s)\n' "$pair" "$median" "$counts"
done
