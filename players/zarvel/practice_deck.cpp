#include "players/zarvel/practice_deck.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

#include "common/files.h"

namespace zarvel {

namespace {

constexpr int DECK_SIZE = 24;
constexpr int WRITTEN = 20;

using DeckEntry = std::pair<const char*, char>;  // rank text, suit letter

// 9H 9S 9D 9C 10H ... AC
std::array<DeckEntry, DECK_SIZE> ordered_deck() {
    std::array<DeckEntry, DECK_SIZE> deck;
    int n = 0;
    for (const char* rank : {"9", "10", "J", "Q", "K", "A"}) {
        for (char suit : {'H', 'S', 'D', 'C'}) deck[n++] = {rank, suit};
    }
    return deck;
}

}  // namespace

void genereaza_pachet() {
    std::array<DeckEntry, DECK_SIZE> deck = ordered_deck();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    for (int i = 1; i < DECK_SIZE; ++i) std::swap(deck[i], deck[std::rand() % (i + 1)]);
    std::string text;
    for (int i = 0; i < WRITTEN; ++i) text += deck[i].first + std::string(1, deck[i].second) + "\n";
    // Only a regular file, or a new one: a link, a FIFO or a directory named
    // data.in is left alone, like a file that cannot be written, and the
    // game goes on without it: a failure is ignored.
    (void)game::replace_file("data.in", text, game::Target::regular_only, game::Durability::rename);
}

}  // namespace zarvel
