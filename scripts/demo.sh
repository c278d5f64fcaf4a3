#!/bin/sh
# The main job: one game of zarvel-002 on a fresh deal shown beside the best
# arrangement of the same deal, then a match of all five players.
set -eu
bin="$(cd "$1" && pwd)/bin"
demo="$1/demo"
rm -rf "$demo" && mkdir -p "$demo/game" "$demo/ceiling"

echo "== One game of zarvel-002 on a fresh deal"
(cd "$demo/game" && "$bin/referee" --save-deck ../deck.txt "$bin/zarvel-002" >/dev/null && "$bin/record-view")
echo
echo "== The best arrangement of the same deal (ceilscore)"
"$bin/ceilscore" "$demo/deck.txt" > "$demo/ceiling/game.dat"
(cd "$demo/ceiling" && "$bin/record-view")
echo
echo "== Match: all five players on the same 200 deals"
"$bin/match" --deals 200 --csv "$demo/match.csv" --svg "$demo/match.svg"
echo
echo "Per-game rows: $demo/match.csv   Score distributions: $demo/match.svg"
