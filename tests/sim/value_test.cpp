// sim-player's worth of a column, against ev-player's exact expectation and
// a plain search, and its last round against an exhaustive one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "common/cards.h"
#include "players/ev/expectation.h"
#include "players/sim/choose.h"
#include "players/sim/value.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"

namespace {

using testing_support::split;

int card(const std::string& token) { return ev::parseCard(token.c_str()); }

game::Card commonCard(int number) { return *game::parse_token(ev::cardText(number)); }

int handPoints(const std::vector<int>& hand) {
    std::array<game::Card, game::HAND_SIZE> cards;
    std::transform(hand.begin(), hand.end(), cards.begin(), commonCard);
    return game::CATEGORY_POINTS[game::category(cards)];
}

// A column and the cards seen elsewhere; every other card is unseen.
struct Held {
    std::string column, elsewhere;

    std::vector<int> cards() const {
        std::vector<int> numbers;
        for (const std::string& token : split(column)) numbers.push_back(card(token));
        return numbers;
    }
    sim::Column simColumn() const {
        sim::Column c;
        for (int number : cards()) c = sim::with(c, number);
        return c;
    }
    sim::Cards unseen() const {
        sim::Cards cards = sim::ALL_CARDS;
        for (const std::string& token : split(column + " " + elsewhere)) cards &= ~sim::bit(card(token));
        return cards;
    }
    double worth(const sim::Choice& choice) const { return sim::columnValue(simColumn(), unseen(), choice); }
};

const std::vector<Held> HELD = {
    {"9C", ""},                                   // 8855 completions
    {"9H 10H", "QH AS KD 10C"},                   // a straight flush still open
    {"KC KD KH", "9S JD"},                        // four of a kind open
    {"10S JS QS KS", "9S AS"},                    // a flush with no spade left
    {"AC AD 9S 9H", "AH QD QC"},                  // two pairs, one ace left
    {"QC KD AH 10S", "JC JD JH 9C 9D 9H 9S AD"},  // only a jack straightens it
};

constexpr sim::Choice ONE = {1, 1, 1, 1, 1};
constexpr sim::Choice EVERY = {24, 24, 24, 24, 24};

TEST(SimColumnValue, ShownOneCardAtATimeIsEvPlayersExactExpectation) {
    for (const Held& held : HELD) {
        ev::initList();
        for (int number = 0; number < ev::CARDS; ++number) {
            if (!(held.unseen() & sim::bit(number))) ev::del(number);
        }
        std::vector<int> pack = held.cards();
        const int k = static_cast<int>(pack.size());
        pack.resize(ev::HAND);
        ev::EV(pack.data(), k);
        EXPECT_NEAR(held.worth(ONE), ev::vavg, 1e-9) << held.column;
    }
}

TEST(SimColumnValue, ShownEveryCardItIsTheBestCompletion) {
    for (const Held& held : HELD) {
        std::vector<int> unseen;
        for (int number = 0; number < ev::CARDS; ++number) {
            if (held.unseen() & sim::bit(number)) unseen.push_back(number);
        }
        const std::vector<int> column = held.cards();
        const std::size_t missing = ev::HAND - column.size();
        std::vector<bool> taken(unseen.size(), false);
        std::fill(taken.end() - static_cast<long>(missing), taken.end(), true);
        int best = 0;
        do {
            std::vector<int> hand = column;
            for (std::size_t i = 0; i < unseen.size(); ++i) {
                if (taken[i]) hand.push_back(unseen[i]);
            }
            best = std::max(best, handPoints(hand));
        } while (std::next_permutation(taken.begin(), taken.end()));
        EXPECT_DOUBLE_EQ(held.worth(EVERY), best) << held.column;
    }
}

TEST(SimColumnValue, MoreChoiceIsNeverWorthLess) {
    for (const Held& held : HELD) {
        const double one = held.worth(ONE), two = held.worth({2, 2, 2, 2, 2}), played = held.worth(sim::CHOICE);
        EXPECT_LE(one, two) << held.column;
        EXPECT_LE(two, played) << held.column;
        EXPECT_LE(played, held.worth(EVERY)) << held.column;
        EXPECT_LT(one, held.worth(EVERY)) << held.column;
    }
}

// The last round by plain search: every order in which the rest of the round
// can come, each card given to the free column (one holding four cards) that
// leads to the most points; the sum over those orders, an exact integer.
using Columns = std::array<std::vector<int>, sim::COLUMNS>;

long long orders(std::size_t unseen, int cards) {
    long long n = 1;
    for (int i = 0; i < cards; ++i) n *= static_cast<long long>(unseen) - i;
    return n;
}

int freeCount(const Columns& columns) {
    return static_cast<int>(std::count_if(columns.begin(), columns.end(), [](const auto& c) { return c.size() == 4; }));
}

// The sum for placing `card` in column n, then playing on.
long long sumWith(Columns& columns, int n, int card, const std::vector<int>& unseen);

long long sumOver(Columns& columns, const std::vector<int>& unseen) {
    if (freeCount(columns) == 0) return 0;
    long long total = 0;
    for (std::size_t i = 0; i < unseen.size(); ++i) {
        std::vector<int> rest = unseen;
        rest.erase(rest.begin() + static_cast<long>(i));
        long long best = -1;
        for (int n = 0; n < sim::COLUMNS; ++n) {
            if (columns[n].size() == 4) best = std::max(best, sumWith(columns, n, unseen[i], rest));
        }
        total += best;
    }
    return total;
}

long long sumWith(Columns& columns, int n, int card, const std::vector<int>& unseen) {
    columns[n].push_back(card);
    const long long sum = handPoints(columns[n]) * orders(unseen.size(), freeCount(columns)) + sumOver(columns, unseen);
    columns[n].pop_back();
    return sum;
}

int plainChoice(Columns columns, int card, const std::vector<int>& unseen) {
    long long best = -1;
    int chosen = -1;
    for (int n = 0; n < sim::COLUMNS; ++n) {
        if (columns[n].size() != 4) continue;
        const long long sum = sumWith(columns, n, card, unseen);
        if (sum > best) {
            best = sum;
            chosen = n;
        }
    }
    return chosen;
}

// sim-player's choice for the card, which must be the plain search's.
int expectPlainChoice(const Columns& columns, int card) {
    sim::Board board;
    board.free = 0;
    board.unseen &= ~sim::bit(card);
    for (int n = 0; n < sim::COLUMNS; ++n) {
        for (int c : columns[n]) board.columns[n] = sim::with(board.columns[n], c);
        for (int c : columns[n]) board.unseen &= ~sim::bit(c);
        if (columns[n].size() == 4) board.free |= 1 << n;
    }
    std::vector<int> unseen;
    for (int number = 0; number < ev::CARDS; ++number) {
        if (board.unseen & sim::bit(number)) unseen.push_back(number);
    }
    std::ostringstream shown;
    for (const auto& column : columns) {
        for (int c : column) shown << ev::cardText(c) << ' ';
        shown << "| ";
    }
    const int chosen = sim::choose(board, card);
    EXPECT_EQ(chosen, plainChoice(columns, card, unseen)) << shown.str() << ev::cardText(card);
    return chosen;
}

// Columns split by "|"; those of four cards are still free in the round.
struct LastRound {
    std::string columns, hand;
};

const std::vector<LastRound> LAST_ROUNDS = {
    {"9H 10H JH QH | KC KD 9C 9D | AS AC 10C 10D | JS QS KS 10S", "9S"},     // two straight flushes open
    {"9H 10H JH QH | KC KD 9C 9D | AS AC 10C 10D | JS QS KS 10S", "KH"},     // a straight flush or a full house
    {"9H 10H JH QH AC | KC KD 9C 9D | AS AD 10C 10D | JS QS KS 10S", "AH"},  // a column already full
    {"9C 10D JH QS 9S | KC KD 9D AD | AS JD 10C 10H AC | JS QC KS 10S", "AH"},
    {"QH QD 9C 9D 10S | KC KD KH AD | AS AC 10C 10D 9H | JS QS JC JH", "KS"},  // four kings or a full house
};

TEST(SimLastRound, ChoosesAsAPlainSearchOfEveryOrder) {
    for (const LastRound& position : LAST_ROUNDS) {
        Columns columns;
        std::istringstream text(position.columns);
        int n = 0;
        for (std::string token; text >> token;) {
            if (token == "|") ++n;
            else columns[n].push_back(card(token));
        }
        expectPlainChoice(columns, card(position.hand));
    }
}

TEST(SimLastRound, ChoosesAsAPlainSearchOnSeededDeals) {
    // The first four rounds dealt to the columns in turn, then each card of
    // the last round given where sim-player chooses.
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        const game::Deck deck = referee::shuffled_deck(seed);
        Columns columns;
        for (int t = 0; t < 16; ++t) columns[t % sim::COLUMNS].push_back(card(game::token_of(deck[t])));
        for (int t = 16; t < 19; ++t) {
            const int hand = card(game::token_of(deck[t]));
            columns[expectPlainChoice(columns, hand)].push_back(hand);
        }
    }
}

}  // namespace
