// sim-player's whole games in process, on seeded deals: legal, the same
// every time, and stronger than ev-player's.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/cards.h"
#include "players/ev/measures.h"
#include "players/sim/play.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"

namespace {

using Game = game::Status (*)(std::istream&, std::ostream&);

game::Status evPlayer(std::istream& in, std::ostream& out) { return ev::play(ev::FRESH, in, out); }

std::vector<std::string> dealOf(std::uint64_t seed) {
    const game::Deck deck = referee::shuffled_deck(seed);
    std::vector<std::string> tokens;
    for (int t = 0; t < game::DEALT; ++t) tokens.push_back(game::token_of(deck[t]));
    return tokens;
}

// The columns (1..4) that the player answers to the deal.
std::vector<int> answers(Game play, const std::vector<std::string>& deal) {
    std::istringstream in(testing_support::lines(deal));
    std::ostringstream out;
    EXPECT_TRUE(play(in, out));
    std::vector<int> columns;
    for (const std::string& answer : testing_support::split(out.str())) columns.push_back(std::stoi(answer));
    return columns;
}

int score(const std::vector<std::string>& deal, const std::vector<int>& columns) {
    std::array<std::vector<game::Card>, game::COLUMNS> board;
    for (int t = 0; t < game::DEALT; ++t) board[columns[t] - 1].push_back(*game::parse_token(deal[t]));
    int total = 0;
    for (const auto& column : board)
        total += game::CATEGORY_POINTS[game::category(std::span<const game::Card, 5>(column))];
    return total;
}

#if defined(GAME_SANITIZED)
constexpr std::uint64_t DEALS = 40;
#else
constexpr std::uint64_t DEALS = 300;
#endif

TEST(SimPlayer, AnswersLegallyAndTheSameEveryTimeOnSeededDeals) {
    for (std::uint64_t seed = 1; seed <= DEALS; ++seed) {
        const std::vector<std::string> deal = dealOf(seed);
        const std::vector<int> columns = answers(sim::play, deal);
        ASSERT_EQ(columns.size(), 20u) << "seed " << seed;
        EXPECT_EQ(answers(sim::play, deal), columns) << "seed " << seed;
        for (int round = 0; round < game::ROUNDS; ++round) {
            std::vector<int> given(columns.begin() + 4 * round, columns.begin() + 4 * round + 4);
            if (round > 0) std::sort(given.begin(), given.end());
            EXPECT_EQ(given, (std::vector<int>{1, 2, 3, 4})) << "seed " << seed << ", round " << round;
        }
    }
}

TEST(SimPlayer, OutscoresEvPlayerOnTwoHundredFixedDeals) {
    // Fewer deals in the sanitizer build, on which it still does.
#if defined(GAME_SANITIZED)
    constexpr std::uint64_t deals = 60;
#else
    constexpr std::uint64_t deals = 200;
#endif
    int simTotal = 0, evTotal = 0;
    for (std::uint64_t seed = 1; seed <= deals; ++seed) {
        const std::vector<std::string> deal = dealOf(1000 + seed);
        simTotal += score(deal, answers(sim::play, deal));
        evTotal += score(deal, answers(evPlayer, deal));
    }
    EXPECT_GT(simTotal, evTotal);
}

}  // namespace
