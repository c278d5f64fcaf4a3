#!/bin/sh
# Instructions of one whole run of each program under callgrind: an exact
# count, the same on every run, so that a regression shows as a number.
#   scripts/instructions.sh BUILD_DIR [DEALS]
# ceilscore on a fixed deck; each player's whole game on the 20 cards of the
# same deal fed on standard input, and the mean over the referee's seeded
# deals 1..DEALS (default 10); hand-census; record-view of ceilscore's record.
# The players are those the build makes, as CMake lists them in
# BUILD_DIR/players.txt. Prints nothing but a note when valgrind is not
# installed.
set -eu
bin="$(cd "$1/bin" && pwd)"
players="$(cat "$1/players.txt")"
deals="${2:-10}"
if ! command -v valgrind >/dev/null 2>&1; then
    echo "valgrind is not installed: no instruction counts"
    exit 0
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"  # zarvel-002 writes data.in where it runs; record-view reads game.dat

# instructions PROGRAM [ARG...]: the count of one run, standard input passed on.
instructions() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        sed -n 's/^==[0-9]*== Collected : \([0-9]*\)$/\1/p'
}

# The 20 dealt cards of a deck file as card tokens, one a line.
tokens() {
    tr -s ' \t\r\n' '\n' <"$1" | grep . | head -n 20 |
        awk '{ split("9 10 J Q K A", rank, " "); split("C D H S", suit, " ");
               print rank[int($1 / 4) + 1] suit[$1 % 4 + 1] }'
}

show() { printf "%-52s %12s\n" "$1" "$2"; }

echo "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 20 12 4 10" >fixed.txt
tokens fixed.txt >fixed.in

echo "== Instructions of one whole run (valgrind --tool=callgrind)"
show "ceilscore, fixed deck" "$(instructions "$bin/ceilscore" fixed.txt)"
for player in $players; do
    show "$player, game of the fixed deal" "$(instructions "$bin/$player" <fixed.in)"
done
for seed in $(seq "$deals"); do
    "$bin/referee" --seed "$seed" --save-deck "deal-$seed.txt" --record seeded.dat "$bin/suit-player" >/dev/null
    tokens "deal-$seed.txt" >"deal-$seed.in"
done
for player in $players; do
    total=0
    for seed in $(seq "$deals"); do
        total=$((total + $(instructions "$bin/$player" <"deal-$seed.in")))
    done
    show "$player, mean game of seeded deals 1-$deals" "$((total / deals))"
done
show "hand-census" "$(instructions "$bin/hand-census")"
"$bin/ceilscore" fixed.txt >game.dat
show "record-view, ceilscore's record of the fixed deck" "$(instructions "$bin/record-view")"
