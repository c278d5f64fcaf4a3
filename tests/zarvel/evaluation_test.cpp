#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <sstream>

#include "common/cards.h"
#include "players/zarvel/player_cards.h"
#include "players/zarvel/evaluation.h"
#include "players/zarvel/points_table.h"

namespace {

using Five = std::array<zarvel::Card, zarvel::HAND_SIZE>;

Five hand(const std::string& tokens) {
    std::istringstream in(tokens);
    Five five;
    for (zarvel::Card& card : five) {
        std::string token;
        in >> token;
        card = *zarvel::transforma(token);
    }
    return five;
}

zarvel::Card from_common(game::Card card) { return zarvel::Card{card.rank + 9, game::SUIT_LETTERS[card.suit]}; }

TEST(ZarvelEvaluation, NamedHandsScoreTheirCategoryPoints) {
    const struct {
        const char* cards;
        int points;
    } cases[] = {
        {"9H 10H JH QH KH", 100}, {"10S JS QS KS AS", 100}, {"9C 10C JC QC AC", 50},
        {"9H 10S JD QC KH", 10},  {"10C JD QH KS AC", 10},  {"9H 10S JD QC AH", 0},
        {"9H JS QD KC AH", 0},    {"KC KD KH KS 9C", 30},   {"JC JD JH 9S 9D", 20},
        {"JC JD JH 9S AD", 5},    {"JC JD 9H 9S AD", 2},    {"JC JD 9H QS AD", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(zarvel::eval_local(hand(c.cards)), c.points) << c.cards;
}

// The tests that eval_local does not show on its own: each counts exactly.
TEST(ZarvelEvaluation, CountTestsCompareExactCounts) {
    EXPECT_TRUE(zarvel::trei_bucati(hand("JC JD JH 9S 9D")));  // the triple of a full house
    EXPECT_FALSE(zarvel::trei_bucati(hand("KC KD KH KS 9C")));
    EXPECT_FALSE(zarvel::ful(hand("KC KD KH KS 9C")));
    EXPECT_FALSE(zarvel::ful(hand("JC JD JH 9S AD")));
    EXPECT_EQ(zarvel::numar_perechi(hand("JC JD JH 9S 9D")), 1);
    EXPECT_EQ(zarvel::numar_perechi(hand("KC KD KH KS 9C")), 0);
    EXPECT_FALSE(zarvel::chinta(hand("9C 10C JC JD QC")));  // span of 3 with a pair
    EXPECT_FALSE(zarvel::culoare(hand("9C 10C JC QC KD")));
}

// The table is complete when the program is compiled: these hold at compile time.
constexpr Five FLUSH_9_TO_K = {{{9, 'H'}, {10, 'H'}, {11, 'H'}, {12, 'H'}, {13, 'H'}}};
constexpr Five TWO_PAIRS = {{{11, 'C'}, {9, 'H'}, {11, 'D'}, {14, 'D'}, {9, 'S'}}};
static_assert(zarvel::eval_table(FLUSH_9_TO_K) == 100 && zarvel::eval_local(FLUSH_9_TO_K) == 100);
static_assert(zarvel::eval_table(TWO_PAIRS) == 2 && zarvel::eval_local(TWO_PAIRS) == 2);

// Every 5-card hand of the deck, in every order of its cards, against the
// common category rule, both by the chain of tests and by the table.
TEST(ZarvelEvaluation, AgreesWithTheCategoryRuleOnEveryHandInEveryOrder) {
    std::array<int, game::CATEGORIES> per_category{};
    int hands = 0;
    std::array<int, game::HAND_SIZE> codes;
    for (codes[0] = 0; codes[0] < game::DECK_SIZE; ++codes[0])
    for (codes[1] = codes[0] + 1; codes[1] < game::DECK_SIZE; ++codes[1])
    for (codes[2] = codes[1] + 1; codes[2] < game::DECK_SIZE; ++codes[2])
    for (codes[3] = codes[2] + 1; codes[3] < game::DECK_SIZE; ++codes[3])
    for (codes[4] = codes[3] + 1; codes[4] < game::DECK_SIZE; ++codes[4]) {
        std::array<game::Card, game::HAND_SIZE> common;
        std::transform(codes.begin(), codes.end(), common.begin(), game::card_of_code);
        const int category = game::category(common);
        const int points = game::CATEGORY_POINTS[category];
        ++per_category[category];
        ++hands;
        std::array<int, game::HAND_SIZE> order;
        std::iota(order.begin(), order.end(), 0);
        do {
            Five five;
            for (int i = 0; i < game::HAND_SIZE; ++i) five[i] = from_common(common[order[i]]);
            ASSERT_EQ(zarvel::eval_local(five), points) << "codes " << codes[order[0]] << ' ' << codes[order[1]]
                                                        << ' ' << codes[order[2]] << ' ' << codes[order[3]] << ' '
                                                        << codes[order[4]];
            ASSERT_EQ(zarvel::eval_table(five), points) << "codes " << codes[order[0]] << ' ' << codes[order[1]]
                                                        << ' ' << codes[order[2]] << ' ' << codes[order[3]] << ' '
                                                        << codes[order[4]];
        } while (std::next_permutation(order.begin(), order.end()));
    }
    EXPECT_EQ(hands, 42504);
    EXPECT_EQ(per_category, (std::array<int, game::CATEGORIES>{4080, 23040, 8640, 3840, 2040, 720, 120, 16, 8}));
}

}  // namespace
