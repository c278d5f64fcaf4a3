#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "common/cards.h"

namespace {

using game::Card;

// "9H" "10S" ... -> cards, for readable hands.
std::array<Card, 5> hand(std::array<const char*, 5> tokens) {
    std::array<Card, 5> cards{};
    for (int i = 0; i < 5; ++i) cards[i] = *game::parse_token(tokens[i]);
    return cards;
}

int category_of(std::array<const char*, 5> tokens) { return game::category(hand(tokens)); }

TEST(CardToken, RoundTripsEveryCard) {
    for (int code = 0; code < game::DECK_SIZE; ++code) {
        const Card card = game::card_of_code(code);
        const auto parsed = game::parse_token(game::token_of(card));
        ASSERT_TRUE(parsed) << game::token_of(card);
        EXPECT_EQ(*parsed, card);
        EXPECT_EQ(game::code_of(card), code);
    }
}

TEST(CardToken, TenIsThreeCharactersEveryOtherTwo) {
    EXPECT_EQ(game::token_of(Card{1, 3}), "10S");
    EXPECT_EQ(game::token_of(Card{0, 2}), "9H");
    EXPECT_EQ(game::token_of(Card{5, 0}), "AC");
    EXPECT_EQ(game::code_of(*game::parse_token("AS")), 23);
    EXPECT_EQ(game::code_of(*game::parse_token("10C")), 4);
}

TEST(CardToken, RejectsAnythingElse) {
    for (const char* bad : {"", "9", "10", "1H", "9h", "X9", "8C", "9CC", "10HH", "AS ", " AS", "11H", "9X", "a"}) {
        EXPECT_FALSE(game::parse_token(bad)) << '"' << bad << '"';
    }
}

TEST(Category, StraightFlushesAndFlushes) {
    EXPECT_EQ(category_of({"9H", "10H", "JH", "QH", "KH"}), 8);
    EXPECT_EQ(category_of({"10S", "JS", "QS", "KS", "AS"}), 8);
    EXPECT_EQ(category_of({"9C", "10C", "JC", "QC", "AC"}), 7);
}

TEST(Category, StraightsHaveNoGapAndNoWrap) {
    EXPECT_EQ(category_of({"9H", "10C", "JD", "QS", "KH"}), 4);
    EXPECT_EQ(category_of({"10H", "JC", "QD", "KS", "AH"}), 4);
    EXPECT_EQ(category_of({"9H", "10C", "JD", "QS", "AH"}), 0);
    EXPECT_EQ(category_of({"9H", "10C", "QD", "KS", "AH"}), 0);
}

TEST(Category, CountedHands) {
    EXPECT_EQ(category_of({"9C", "9D", "9H", "9S", "KH"}), 6);
    EXPECT_EQ(category_of({"QC", "QD", "QH", "10S", "10H"}), 5);
    EXPECT_EQ(category_of({"AC", "AD", "AH", "9S", "JH"}), 3);
    EXPECT_EQ(category_of({"AC", "AD", "9H", "9S", "JH"}), 2);
    EXPECT_EQ(category_of({"AC", "AD", "9H", "10S", "JH"}), 1);
}

TEST(Category, OrderOfTheCardsDoesNotMatter) {
    auto cards = hand({"10H", "JH", "QH", "KH", "AH"});
    std::sort(cards.begin(), cards.end(), [](Card a, Card b) { return game::code_of(a) < game::code_of(b); });
    do {
        ASSERT_EQ(game::category(cards), 8);
    } while (std::next_permutation(cards.begin(), cards.end(),
                                   [](Card a, Card b) { return game::code_of(a) < game::code_of(b); }));
}

TEST(Category, CensusOverAllHands) {
    std::array<int, game::CATEGORIES> counts{};
    int hands = 0;
    std::array<Card, 5> h{};
    for (int a = 0; a < 20; ++a)
        for (int b = a + 1; b < 21; ++b)
            for (int c = b + 1; c < 22; ++c)
                for (int d = c + 1; d < 23; ++d)
                    for (int e = d + 1; e < 24; ++e) {
                        h = {game::card_of_code(a), game::card_of_code(b), game::card_of_code(c),
                             game::card_of_code(d), game::card_of_code(e)};
                        ++counts[game::category(h)];
                        ++hands;
                    }
    EXPECT_EQ(hands, 42504);
    EXPECT_EQ(counts, (std::array<int, 9>{4080, 23040, 8640, 3840, 2040, 720, 120, 16, 8}));
}

TEST(Scoring, PointsNamesAndBoardScore) {
    EXPECT_EQ(game::CATEGORY_POINTS, (std::array<int, 9>{0, 1, 2, 5, 10, 20, 30, 50, 100}));
    EXPECT_STREQ(game::CATEGORY_NAMES_EN[5], "full house");
    EXPECT_STREQ(game::CATEGORY_NAMES_RO[8], "chintă de culoare");
    EXPECT_STREQ(game::CATEGORY_NAMES_RO[2], "două perechi");
    EXPECT_EQ(game::board_score(std::array<int, 4>{8, 4, 2, 8}), 212);
    EXPECT_EQ(game::board_score(std::array<int, 4>{0, 0, 0, 0}), 0);
}

}  // namespace
