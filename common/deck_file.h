// The deck file: the 24 card codes of one shuffled deck in deal order,
// separated by any white space.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "common/cards.h"

namespace game {

using Deck = std::array<Card, DECK_SIZE>;

// Reads the first 24 integers of the file; nothing after them is read.
// Returns false with a message naming the file and the position (counted
// from 1) when they are not 24 distinct codes 0..23; `deck` is then untouched.
bool read_deck(const std::string& path, Deck& deck, std::string& error);
// The same from a stream already open; `path` only names it in messages.
bool read_deck(std::FILE* file, const std::string& path, Deck& deck, std::string& error);

// Writes the deck as six lines of four codes (the five rounds, then the
// four undealt cards), replacing the file only once it is complete.
bool write_deck(const std::string& path, const Deck& deck, std::string& error);

// Checks that the deck holds each of the 24 cards once.
bool is_full_deck(const Deck& deck);

}  // namespace game
