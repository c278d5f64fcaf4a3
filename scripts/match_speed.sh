#!/bin/sh
# Deals per second of a match of every player, with and without the
# ceiling, beside a floor measured in the same run: the same number of games
# of a trivial player (bench/trivial_player.cpp) through the same driver.
# Then the players' sandbox: the match with the ceiling at --jobs 2, played
# ROUNDS times with --sandbox auto and off in turn, their medians side by
# side, and what the sandbox adds to each game.
#   scripts/match_speed.sh BUILD_DIR [DEALS [ROUNDS]]
set -eu
build="$(cd "$1" && pwd)"
deals="${2:-200}"
rounds="${3:-5}"
players=$(grep -c . "$build/players.txt")  # the build's players, one a line
games=$((deals * players))
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# seconds COMMAND...: wall time of one run, its output dropped.
seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }'
}
# ratio A B [DECIMALS]: A / B
ratio() { awk -v a="$1" -v b="$2" -v d="${3:-2}" 'BEGIN { printf "%.*f", d, a / b }'; }

echo "== match, $deals deals, $players players (deals per second)"
printf "%-6s %16s %16s %16s %12s %12s\n" jobs "with ceiling" "no ceiling" "floor" "with/no" "with/floor"
for jobs in 1 2; do
    common="--deals $deals --seed 1 --jobs $jobs --timeout-ms 60000"
    with=$(seconds "$build/bin/match" $common)
    without=$(seconds "$build/bin/match" $common --no-ceiling)
    # As many games as the players play.
    floor=$(seconds "$build/bin/match" --deals $games --seed 1 --jobs $jobs --no-ceiling \
        "$build/bench/trivial-player")
    printf "%-6s %16s %16s %16s %12s %12s\n" "$jobs" "$(ratio "$deals" "$with" 1)" "$(ratio "$deals" "$without" 1)" \
        "$(ratio "$deals" "$floor" 1)" "$(ratio "$without" "$with")" "$(ratio "$floor" "$with")"
done

# median SECONDS...
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "== the players' sandbox: the same match with the ceiling, --jobs 2, median of $rounds runs each, in turn"
auto="" off=""
for round in $(seq "$rounds"); do
    common="--deals $deals --seed 1 --jobs 2 --timeout-ms 60000"
    auto="$auto $(seconds "$build/bin/match" $common --sandbox auto)"
    off="$off $(seconds "$build/bin/match" $common --sandbox off)"
done
auto=$(median $auto)
off=$(median $off)
printf "%-8s %10s %10s\n" sandbox seconds "deals/s"
printf "%-8s %10s %10s\n" auto "$auto" "$(ratio "$deals" "$auto" 1)"
printf "%-8s %10s %10s\n" off "$off" "$(ratio "$deals" "$off" 1)"
# What each of the two workers spends more on each of its games.
echo "speed with the sandbox: $(ratio "$off" "$auto") of without;" \
    "its cost: $(awk -v a="$auto" -v o="$off" -v g=$games 'BEGIN { printf "%.2f", (a - o) * 2 * 1000 / g }') ms a game"
