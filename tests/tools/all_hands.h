// Every five-card hand of the deck once, its cards in ascending code order.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/cards.h"

namespace tools_test {

using Hand = std::array<game::Card, game::HAND_SIZE>;

inline void add_hands(std::vector<Hand>& hands, Hand& hand, int taken, int next_code) {
    if (taken == game::HAND_SIZE) {
        hands.push_back(hand);
        return;
    }
    for (int code = next_code; code < game::DECK_SIZE; ++code) {
        hand[taken] = game::card_of_code(code);
        add_hands(hands, hand, taken + 1, code + 1);
    }
}

inline std::string text_of(const Hand& hand) {
    std::string text;
    for (const game::Card& card : hand) text += game::token_of(card) + " ";
    return text;
}

inline std::vector<Hand> all_hands() {
    std::vector<Hand> hands;
    Hand hand{};
    add_hands(hands, hand, 0, 0);
    return hands;
}

}  // namespace tools_test
