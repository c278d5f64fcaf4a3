#include "common/cards.h"

#include <algorithm>

namespace game {

std::string token_of(Card card) {
    return std::string(RANK_TEXT[card.rank]) + SUIT_LETTERS[card.suit];
}

std::optional<Card> parse_token(std::string_view token) {
    for (int rank = 0; rank < RANKS; ++rank) {
        std::string_view text = RANK_TEXT[rank];
        if (token.size() != text.size() + 1 || !token.starts_with(text)) continue;
        const char* letter = std::find(SUIT_LETTERS.begin(), SUIT_LETTERS.end(), token.back());
        if (letter == SUIT_LETTERS.end()) return std::nullopt;
        return Card{rank, static_cast<int>(letter - SUIT_LETTERS.begin())};
    }
    return std::nullopt;
}

int category(std::span<const Card, HAND_SIZE> hand) {
    std::array<int, RANKS> per_rank{};
    int lowest = hand[0].rank, highest = hand[0].rank;
    bool one_suit = true;
    for (const Card& card : hand) {
        ++per_rank[card.rank];
        lowest = std::min(lowest, card.rank);
        highest = std::max(highest, card.rank);
        one_suit = one_suit && card.suit == hand[0].suit;
    }
    std::array<int, HAND_SIZE + 1> ranks_with_count{};
    for (int count : per_rank) ++ranks_with_count[count];
    const bool straight = ranks_with_count[1] == HAND_SIZE && highest - lowest == 4;

    if (one_suit) return straight ? 8 : 7;
    if (ranks_with_count[4] > 0) return 6;
    if (ranks_with_count[3] > 0 && ranks_with_count[2] > 0) return 5;
    if (straight) return 4;
    if (ranks_with_count[3] > 0) return 3;
    return ranks_with_count[2];  // 2 two pairs, 1 one pair, 0 nothing
}

int board_score(std::span<const int, COLUMNS> categories) {
    int total = 0;
    for (int c : categories) total += CATEGORY_POINTS[c];
    return total;
}

}  // namespace game
