#!/bin/sh
# The main job: one game of zarvel-002 on a fresh deal, then the best
# arrangement of the same deal, then a match of every player; last, how to
# play a deal yourself.
set -eu
bin="$(cd "$1" && pwd)/bin"
demo="$1/demo"
rm -rf "$demo" && mkdir -p "$demo/game"

echo "== Un joc al lui zarvel-002 pe o împărțire nouă"
(cd "$demo/game" && "$bin/referee" --save-deck ../deck.txt zarvel-002 >/dev/null && "$bin/record-view")
echo
echo "== Cea mai bună așezare a aceleiași împărțiri (ceilscore)"
"$bin/ceilscore" "$demo/deck.txt" | "$bin/record-view" -
echo
echo "== Meci: toți jucătorii pe aceleași 200 de împărțiri, lângă plafon"
"$bin/match" --deals 200 --csv "$demo/match.csv" --json "$demo/match.json" --html "$demo/match.html"
echo
echo "Raportul, de deschis într-un browser: $demo/match.html"
echo "Un rând pe joc: $demo/match.csv   Rezumatul: $demo/match.json"
echo
echo "Jucați și voi o împărțire, în terminal: $bin/play (împărțirea zilei: $bin/play --daily)"
