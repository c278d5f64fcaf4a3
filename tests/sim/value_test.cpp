// sim-player's worth of a column, against ev-player's exact expectation and
// the best completion, and its last round against an exhaustive search.
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

int card(const std::string& token) { return ev::parseCard(token.c_str()); }

int handPoints(const std::vector<int>& hand) {
    std::array<game::Card, game::HAND_SIZE> cards;
    std::transform(hand.begin(), hand.end(), cards.begin(),
                   [](int number) { return *game::parse_token(ev::cardText(number)); });
    return game::CATEGORY_POINTS[game::category(cards)];
}

std::vector<int> cardsOf(sim::Cards set) {
    std::vector<int> cards;
    for (int number = 0; number < ev::CARDS; ++number) {
        if (set & sim::bit(number)) cards.push_back(number);
    }
    return cards;
}

// A column, and the cards seen elsewhere: every other card is unseen.
const std::vector<std::pair<std::string, std::string>> HELD = {
    {"9C", ""},                                   // 8855 completions
    {"9H 10H", "QH AS KD 10C"},                   // a straight flush still open
    {"KC KD KH", "9S JD"},                        // four of a kind open
    {"10S JS QS KS", "9S AS"},                    // a flush with no spade left
    {"AC AD 9S 9H", "AH QD QC"},                  // two pairs, one ace left
    {"QC KD AH 10S", "JC JD JH 9C 9D 9H 9S AD"},  // only a jack straightens it
};

TEST(SimColumnValue, IsEvPlayersExpectationShownOneCardAndTheBestCompletionShownAll) {
    for (const auto& [held, elsewhere] : HELD) {
        std::vector<int> column;
        sim::Column simColumn;
        sim::Cards unseen = sim::ALL_CARDS;
        for (const std::string& token : testing_support::split(held)) column.push_back(card(token));
        for (int c : column) simColumn = sim::with(simColumn, c);
        for (const std::string& token : testing_support::split(held + " " + elsewhere))
            unseen &= ~sim::bit(card(token));

        ev::initList();
        for (int number : cardsOf(sim::ALL_CARDS & ~unseen)) ev::del(number);
        int pack[ev::HAND];
        std::copy(column.begin(), column.end(), pack);
        ev::EV(pack, static_cast<int>(column.size()));
        EXPECT_NEAR(sim::columnValue(simColumn, unseen, {1, 1, 1, 1, 1}), ev::vavg, 1e-9) << held;

        // Every completion: the unseen cards it takes are marked.
        const std::vector<int> pool = cardsOf(unseen);
        std::vector<bool> taken(pool.size(), false);
        std::fill(taken.end() - static_cast<long>(ev::HAND - column.size()), taken.end(), true);
        int best = 0;
        do {
            std::vector<int> hand = column;
            for (std::size_t i = 0; i < pool.size(); ++i) {
                if (taken[i]) hand.push_back(pool[i]);
            }
            best = std::max(best, handPoints(hand));
        } while (std::next_permutation(taken.begin(), taken.end()));
        EXPECT_DOUBLE_EQ(sim::columnValue(simColumn, unseen, {24, 24, 24, 24, 24}), best) << held;
    }
}

// The last round by plain search: every order in which the rest of the round
// can come, each card given to the free column (one of four cards) that leads
// to the most points; the sum over those orders, an exact integer.
using Columns = std::array<std::vector<int>, sim::COLUMNS>;

bool isFree(const std::vector<int>& column) { return column.size() == 4; }

long long sumOver(Columns& columns, const std::vector<int>& unseen);

// The sum for giving the card to column n, then playing on.
long long sumWith(Columns& columns, int n, int card, const std::vector<int>& unseen) {
    columns[n].push_back(card);
    const long long toCome = std::count_if(columns.begin(), columns.end(), isFree);  // cards of the round
    long long orders = 1;
    for (long long i = 0; i < toCome; ++i) orders *= static_cast<long long>(unseen.size()) - i;
    const long long sum = handPoints(columns[n]) * orders + sumOver(columns, unseen);
    columns[n].pop_back();
    return sum;
}

long long sumOver(Columns& columns, const std::vector<int>& unseen) {
    if (std::none_of(columns.begin(), columns.end(), isFree)) return 0;
    long long total = 0;
    for (std::size_t i = 0; i < unseen.size(); ++i) {
        std::vector<int> rest = unseen;
        rest.erase(rest.begin() + static_cast<long>(i));
        long long best = -1;
        for (int n = 0; n < sim::COLUMNS; ++n) {
            if (isFree(columns[n])) best = std::max(best, sumWith(columns, n, unseen[i], rest));
        }
        total += best;
    }
    return total;
}

// sim-player's choice for the card, which must be the plain search's (the
// lowest column among equal sums).
int expectPlainChoice(Columns columns, int card) {
    sim::Board board;
    board.free = 0;
    board.unseen &= ~sim::bit(card);
    for (int n = 0; n < sim::COLUMNS; ++n) {
        for (int c : columns[n]) {
            board.columns[n] = sim::with(board.columns[n], c);
            board.unseen &= ~sim::bit(c);
        }
        if (isFree(columns[n])) board.free |= 1 << n;
    }
    long long best = -1;
    int plain = -1;
    for (int n = 0; n < sim::COLUMNS; ++n) {
        const long long sum = isFree(columns[n]) ? sumWith(columns, n, card, cardsOf(board.unseen)) : -1;
        if (sum > best) {
            best = sum;
            plain = n;
        }
    }
    const int chosen = sim::choose(board, card);
    EXPECT_EQ(chosen, plain) << "the card " << ev::cardText(card);
    return chosen;
}

TEST(SimLastRound, ChoosesAsAPlainSearchOnATableOfPositions) {
    // Columns split by "|", those of four cards free, then the card in hand.
    for (const std::string position : {
             "9H 10H JH QH | KC KD 9C 9D | AS AC 10C 10D | JS QS KS 10S | KH",       // straight flush or full house
             "9H 10H JH QH AC | KC KD 9C 9D | AS AD 10C 10D | JS QS KS 10S | AH",    // a column already full
             "QH QD 9C 9D 10S | KC KD KH AD | AS AC 10C 10D 9H | JS QS JC JH | KS",  // four kings or a full house
         }) {
        Columns columns;
        std::istringstream text(position.substr(0, position.rfind('|')));
        int n = 0;
        for (std::string token; text >> token;) {
            if (token == "|") ++n;
            else columns[n].push_back(card(token));
        }
        expectPlainChoice(columns, card(position.substr(position.rfind('|') + 2)));
    }
}

TEST(SimLastRound, ChoosesAsAPlainSearchOnSeededDeals) {
    // The first four rounds dealt to the columns in turn, then each card of
    // the last round given where sim-player chooses. The plain search is
    // slow in the sanitizer build's unoptimised tests: fewer deals there.
#if defined(GAME_SANITIZED)
    constexpr std::uint64_t deals = 10;
#else
    constexpr std::uint64_t deals = 40;
#endif
    for (std::uint64_t seed = 1; seed <= deals; ++seed) {
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
