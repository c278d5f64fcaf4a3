// The expected-value players' card number and the list of cards not seen yet.
//
// A card number is suit offset + rank index: clubs 0, spades 6, hearts 12,
// diamonds 18, and the rank index 0..5 for 9..A. The names live in namespace
// ev because `next`, `prev` and `first` would otherwise meet std::next and
// friends.
#pragma once

namespace ev {

constexpr int CARDS = 24;

// The card number of a token such as "9C" or "10H", or -1 when its first
// character is none of 9, 1, J, Q, K, A. The suit letter is the third
// character after a '1', else the second; "S", "H" and "D" name their suits
// and anything else, a missing letter included, makes a club. Nothing is read
// past the terminator and nothing after the suit letter is looked at.
int parseCard(const char* token);

// "9C", "10S", ... for messages.
const char* cardText(int card);

// The unseen cards as a doubly linked list in ascending card order; -1 ends
// it. A removed card's own links keep their last values and are not read again.
extern int next[CARDS];
extern int prev[CARDS];
extern int first;

// Puts all 24 cards back into the list.
void initList();
// Removes a card that is in the list.
void del(int card);

}  // namespace ev
