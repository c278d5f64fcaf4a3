// The expected-value players' card numbers, unseen list, hand points and
// exact expectation.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "common/cards.h"
#include "players/ev/expectation.h"
#include "players/ev/points_table.h"
#include "players/ev/unseen.h"

namespace {

int card(const char* token) {
    const int c = ev::parseCard(token);
    EXPECT_GE(c, 0) << token;
    return c;
}

using Pack = std::array<int, ev::HAND>;

Pack pack(const std::array<const char*, ev::HAND>& tokens) {
    Pack p{};
    for (int i = 0; i < ev::HAND; ++i) p[i] = card(tokens[i]);
    return p;
}

// The common card form: the card number's suit order is C, S, H, D.
game::Card commonCard(int c) {
    constexpr int SUIT_INDEX[4] = {0, 3, 2, 1};
    return game::Card{c % 6, SUIT_INDEX[c / 6]};
}

// The list from `first` along `next`, checking that `prev` mirrors it.
std::vector<int> listed() {
    std::vector<int> cards;
    int before = -1;
    for (int c = ev::first; c >= 0; c = ev::next[c]) {
        EXPECT_EQ(ev::prev[c], before) << "card " << c;
        cards.push_back(c);
        before = c;
    }
    return cards;
}

std::vector<int> allBut(std::initializer_list<int> removed) {
    std::vector<int> cards;
    for (int c = 0; c < ev::CARDS; ++c) {
        if (std::find(removed.begin(), removed.end(), c) == removed.end()) cards.push_back(c);
    }
    return cards;
}

// Leaves only the given cards in the unseen list.
void keepOnly(const std::vector<int>& unseen) {
    ev::initList();
    for (int c = 0; c < ev::CARDS; ++c) {
        if (std::find(unseen.begin(), unseen.end(), c) == unseen.end()) ev::del(c);
    }
}

TEST(EvParseCard, SuitOffsetPlusRankIndex) {
    EXPECT_EQ(ev::parseCard("9C"), 0);
    EXPECT_EQ(ev::parseCard("AC"), 5);
    EXPECT_EQ(ev::parseCard("10S"), 7);
    EXPECT_EQ(ev::parseCard("KS"), 10);
    EXPECT_EQ(ev::parseCard("QH"), 15);
    EXPECT_EQ(ev::parseCard("10D"), 19);
    EXPECT_EQ(ev::parseCard("AD"), 23);
}

TEST(EvParseCard, AgreesWithTheCommonCardFormOnEveryCard) {
    for (int c = 0; c < ev::CARDS; ++c) {
        const std::string token = game::token_of(commonCard(c));
        EXPECT_EQ(token, ev::cardText(c));
        EXPECT_EQ(ev::parseCard(token.c_str()), c) << token;
    }
}

TEST(EvParseCard, AnyOtherSuitLetterMakesAClub) {
    EXPECT_EQ(ev::parseCard("9c"), 0);
    EXPECT_EQ(ev::parseCard("10h"), 1);
    EXPECT_EQ(ev::parseCard("AX"), 5);
    EXPECT_EQ(ev::parseCard("QCS"), 3);  // nothing after the suit letter counts
    EXPECT_EQ(ev::parseCard("KHS"), 16);
}

TEST(EvParseCard, MissingSuitLetterMakesAClubWithoutReadingPastTheToken) {
    // Exactly sized buffers: a read past the terminator is caught by the sanitizer build.
    for (const char* token : {"9", "1", "10", "K"}) {
        const std::size_t size = std::strlen(token) + 1;
        const auto exact = std::make_unique<char[]>(size);
        std::memcpy(exact.get(), token, size);
        EXPECT_EQ(ev::parseCard(exact.get()), token[0] == '9' ? 0 : token[0] == 'K' ? 4 : 1) << token;
    }
}

TEST(EvParseCard, UnknownRankHasNoCardNumber) {
    for (const char* token : {"", "0C", "2H", "TS", "jC", "aD", " 9C", "XX"}) {
        EXPECT_EQ(ev::parseCard(token), -1) << '"' << token << '"';
    }
}

TEST(EvUnseenList, StartsWithAllCardsInOrder) {
    ev::initList();
    EXPECT_EQ(listed(), allBut({}));
}

TEST(EvUnseenList, RemovingTheFirstCardStartsTheListAtTheNext) {
    ev::initList();
    ev::del(0);
    EXPECT_EQ(ev::first, 1);
    EXPECT_EQ(listed(), allBut({0}));
    ev::del(1);
    ev::del(3);
    ev::del(2);
    EXPECT_EQ(ev::first, 4);
    EXPECT_EQ(listed(), allBut({0, 1, 2, 3}));
}

TEST(EvUnseenList, RemovingTheLastCardEndsTheListBeforeIt) {
    ev::initList();
    ev::del(23);
    EXPECT_EQ(ev::next[22], -1);
    EXPECT_EQ(listed(), allBut({23}));
    ev::del(22);
    EXPECT_EQ(ev::next[21], -1);
}

TEST(EvUnseenList, RemovingAMiddleCardJoinsItsNeighbours) {
    ev::initList();
    ev::del(12);
    EXPECT_EQ(ev::next[11], 13);
    EXPECT_EQ(ev::prev[13], 11);
    EXPECT_EQ(listed(), allBut({12}));
    ev::del(13);
    ev::del(11);
    EXPECT_EQ(ev::next[10], 14);
    EXPECT_EQ(listed(), allBut({11, 12, 13}));
}

TEST(EvUnseenList, RemovingEveryCardEmptiesIt) {
    ev::initList();
    for (int c : {5, 0, 23, 12, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}) ev::del(c);
    EXPECT_EQ(ev::first, -1);
}

TEST(EvSameColor, OnlyWhenAllFiveShareTheSuit) {
    EXPECT_TRUE(ev::sameColor(pack({"9S", "JS", "KS", "10S", "AS"}).data()));
    const Pack hearts = pack({"9H", "10H", "JH", "QH", "KH"});
    for (int i = 0; i < ev::HAND; ++i) {
        Pack broken = hearts;
        broken[i] = card(i % 2 ? "AD" : "AC");
        EXPECT_FALSE(ev::sameColor(broken.data())) << "slot " << i;
    }
}

TEST(EvChinta, HoldsForRankMasks31And62Only) {
    // Every sequence of five ranks, the suits varied so the cards differ.
    for (int code = 0; code < 6 * 6 * 6 * 6 * 6; ++code) {
        Pack p{};
        int mask = 0, rest = code;
        bool repeated = false;
        for (int i = 0; i < ev::HAND; ++i, rest /= 6) {
            const int rank = rest % 6;
            repeated = repeated || (mask & (1 << rank));
            mask |= 1 << rank;
            p[i] = (i % 4) * 6 + rank;
        }
        EXPECT_EQ(ev::chinta(p.data()), !repeated && (mask == 31 || mask == 62)) << "ranks " << code;
    }
}

TEST(EvEvalPack, WorkedExamples) {
    EXPECT_EQ(ev::evalPack(pack({"9H", "10H", "JH", "QH", "KH"}).data()), 100);
    EXPECT_EQ(ev::evalPack(pack({"AS", "10S", "KS", "JS", "QS"}).data()), 100);
    EXPECT_EQ(ev::evalPack(pack({"9C", "10C", "JC", "QC", "AC"}).data()), 50);
    EXPECT_EQ(ev::evalPack(pack({"9C", "9D", "KH", "9H", "9S"}).data()), 30);
    EXPECT_EQ(ev::evalPack(pack({"QC", "10D", "QH", "10S", "QS"}).data()), 20);
    EXPECT_EQ(ev::evalPack(pack({"10C", "JD", "QH", "KS", "AC"}).data()), 10);
    EXPECT_EQ(ev::evalPack(pack({"AC", "9D", "AH", "JS", "AS"}).data()), 5);
    EXPECT_EQ(ev::evalPack(pack({"KC", "9D", "KH", "9S", "AS"}).data()), 2);
    EXPECT_EQ(ev::evalPack(pack({"JC", "9D", "QH", "JS", "AS"}).data()), 1);
    EXPECT_EQ(ev::evalPack(pack({"9C", "10D", "JH", "QS", "AS"}).data()), 0);
    EXPECT_EQ(ev::evalPack(pack({"9C", "10D", "QH", "KS", "AS"}).data()), 0);
}

// The table is complete when the program is compiled: these hold at compile time.
constexpr int HEARTS_9_TO_K[ev::HAND] = {12, 13, 14, 15, 16};
constexpr int FULL_HOUSE[ev::HAND] = {3, 1, 15, 7, 9};  // QC 10C QH 10S QS
static_assert(ev::evalTable(HEARTS_9_TO_K) == 100 && ev::evalPack(HEARTS_9_TO_K) == 100);
static_assert(ev::evalTable(FULL_HOUSE) == 20 && ev::evalPack(FULL_HOUSE) == 20);

// Every hand against the common rule: evalPack on its cards in ascending
// order, the table in every order of them, as the expectations fill packs.
TEST(EvEvalPack, AgreesWithTheCommonCategoryRuleOnEveryHand) {
    std::array<int, game::CATEGORIES> seen{};
    Pack p{};
    for (p[0] = 0; p[0] < 20; ++p[0])
        for (p[1] = p[0] + 1; p[1] < 21; ++p[1])
            for (p[2] = p[1] + 1; p[2] < 22; ++p[2])
                for (p[3] = p[2] + 1; p[3] < 23; ++p[3])
                    for (p[4] = p[3] + 1; p[4] < 24; ++p[4]) {
                        std::array<game::Card, game::HAND_SIZE> hand;
                        for (int i = 0; i < ev::HAND; ++i) hand[i] = commonCard(p[i]);
                        const int category = game::category(hand);
                        const int points = game::CATEGORY_POINTS[category];
                        ++seen[category];
                        ASSERT_EQ(ev::evalPack(p.data()), points)
                            << p[0] << ' ' << p[1] << ' ' << p[2] << ' ' << p[3] << ' ' << p[4];
                        Pack order = p;
                        do {
                            ASSERT_EQ(ev::evalTable(order.data()), points) << order[0] << ' ' << order[1] << ' '
                                                                           << order[2] << ' ' << order[3] << ' '
                                                                           << order[4];
                        } while (std::next_permutation(order.begin(), order.end()));
                    }
    EXPECT_EQ(seen, (std::array<int, game::CATEGORIES>{4080, 23040, 8640, 3840, 2040, 720, 120, 16, 8}));
}

TEST(EvExpectation, FullPackIsItsPointsAndKeepsTheCount) {
    ev::initList();
    ev::vn = 42;
    Pack p = pack({"QC", "10D", "QH", "10S", "QS"});
    ev::EV(p.data(), 5);
    EXPECT_EQ(ev::vavg, 20.0);
    EXPECT_EQ(ev::vn, 42);
}

TEST(EvExpectation, FourCardsAverageEachUnseenCompletion) {
    // Three aces and a nine; of the seven unseen cards the last ace makes
    // four of a kind (30), a nine a full house (20), anything else three of a kind (5).
    keepOnly({card("AC"), card("9S"), card("9H"), card("KH"), card("QC"), card("JD"), card("10S")});
    Pack p{card("AH"), card("AS"), card("AD"), card("9C")};
    ev::EV(p.data(), 4);
    EXPECT_EQ(ev::vn, 7);
    EXPECT_DOUBLE_EQ(ev::vavg, 90.0 / 7);
    EXPECT_EQ(p[0], card("AH"));  // the received slots are only read
    EXPECT_EQ(p[3], card("9C"));
}

TEST(EvExpectation, CountsEveryCombinationOnce) {
    ev::initList();
    ev::del(card("KD"));
    Pack p{card("KD")};
    ev::EV(p.data(), 1);
    EXPECT_EQ(ev::vn, 8855);  // C(23, 4)

    keepOnly(allBut({card("KD"), card("9C"), card("AH"), card("10S"), card("JD")}));
    p = Pack{card("KD"), card("9C")};
    ev::EV(p.data(), 2);
    EXPECT_EQ(ev::vn, 969);  // C(19, 3)
    EXPECT_EQ(p[0], card("KD"));
    EXPECT_EQ(p[1], card("9C"));
}

TEST(EvExpectation, TooFewUnseenCardsGiveNothing) {
    keepOnly({});
    ev::vavg = 7;
    ev::vn = 7;
    Pack p{card("9C")};
    ev::EV(p.data(), 1);
    EXPECT_EQ(ev::vavg, 0.0);
    EXPECT_EQ(ev::vn, 0);

    keepOnly({card("JD"), card("QD")});
    p = Pack{card("9C"), card("10C")};
    ev::EV(p.data(), 2);
    EXPECT_EQ(ev::vavg, 0.0);
    EXPECT_EQ(ev::vn, 0);
}

}  // namespace
