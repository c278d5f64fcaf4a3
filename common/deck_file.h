// The deck file: the 24 card codes of one shuffled deck in deal order,
// separated by any white space.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "common/cards.h"
#include "common/result.h"

namespace game {

using Deck = std::array<Card, DECK_SIZE>;

// Reads the first 24 integers of the file; nothing after them is read.
// A failure with a message naming the file and the position (counted from
// 1) when they are not 24 distinct codes 0..23.
Result<Deck> read_deck(const std::string& path);
// The same from a stream already open; `path` only names it in messages.
Result<Deck> read_deck(std::FILE* file, const std::string& path);

// Writes the deck as six lines of four codes (the five rounds, then the
// four undealt cards), replacing the file only once it is complete.
Status write_deck(const std::string& path, const Deck& deck);

// Checks that the deck holds each of the 24 cards once.
bool is_full_deck(const Deck& deck);

}  // namespace game
