// The expected-value players' choice of a column, driven in process card by
// card the way their game loop drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "players/ev/measures.h"
#include "players/ev/unseen.h"

namespace {

using Pack = std::array<int, ev::HAND>;

const std::vector<std::string> DEAL = {"QH", "9S", "AD", "10C", "KH", "JH", "9H", "QS", "10H", "AH",
                                       "KS", "JC", "9D", "KD", "QC", "AS", "JD", "10S", "AC", "KC"};

struct Turn {
    int column = -1;
    long long hands = 0;  // hands scored for this card
};

// Plays a deal card by card: take it out of the unseen list, choose among
// the free columns, place it. `after` sees each card's column once placed.
std::vector<Turn> playInProcess(const ev::Measure& measure, const std::vector<std::string>& deal,
                                const std::function<void(int t, int column)>& after = {}) {
    std::vector<Turn> turns;
    // A game starts in a fresh process: nothing a game before stored.
    std::fill_n(ev::expectedValue, ev::COLUMNS, 0.0);
    ev::initList();
    for (int t = 0; t < static_cast<int>(deal.size()); ++t) {
        const int c = ev::parseCard(deal[t].c_str());
        const int k = t / ev::COLUMNS;
        ev::del(c);
        if (t % ev::COLUMNS == 0) std::fill_n(ev::free, ev::COLUMNS, true);
        const long long before = ev::scored;
        const int column = k == 0 ? t : ev::choose(measure, c, k);
        ev::place(measure, column, k, c);
        turns.push_back({column, ev::scored - before});
        if (after) after(t, column);
    }
    return turns;
}

// Hands averaged by one expectation for the 16 cards of rounds 1..4: with
// the card (E1) and, in ev-player, without it (E0).
constexpr std::array<long long, 16> E1 = {969, 816, 680, 560, 105, 91, 78, 66, 11, 10, 9, 8, 1, 1, 1, 1};
constexpr std::array<long long, 16> E0 = {3876, 3060, 2380, 1820, 455, 364, 286, 220,
                                          55,   45,   36,   28,   7,   6,   5,   4};
// Hands of the anchored player's stored expectations after each card of round 0.
constexpr std::array<long long, 4> STORED_ROUND_0 = {8855, 7315, 5985, 4845};

int freeColumns(int t) { return ev::COLUMNS - t % ev::COLUMNS; }

TEST(EvHandCounts, EvPlayerScoresBothExpectationsOfEveryFreeColumn) {
    const std::vector<Turn> turns = playInProcess(ev::FRESH, DEAL);
    for (int t = 0; t < 4; ++t) EXPECT_EQ(turns[t].hands, 0) << "card " << t + 1;
    for (int t = 4; t < 20; ++t) {
        EXPECT_EQ(turns[t].hands, freeColumns(t) * (E1[t - 4] + E0[t - 4])) << "card " << t + 1;
    }
    EXPECT_EQ(turns[4].hands, 19380);  // the heaviest turn
}

TEST(EvHandCounts, AnchoredScoresTheCardInEveryFreeColumnThenStoresOnce) {
    const std::vector<Turn> turns = playInProcess(ev::ANCHORED, DEAL);
    for (int t = 0; t < 4; ++t) EXPECT_EQ(turns[t].hands, STORED_ROUND_0[t]) << "card " << t + 1;
    for (int t = 4; t < 20; ++t) {
        EXPECT_EQ(turns[t].hands, freeColumns(t) * E1[t - 4] + E1[t - 4]) << "card " << t + 1;
    }
}

TEST(EvChoice, EveryRoundGivesEachColumnOneCardAndColumnsKeepTheirCards) {
    for (const ev::Measure* measure : {&ev::FRESH, &ev::ANCHORED}) {
        std::array<std::vector<int>, ev::COLUMNS> received;
        std::vector<int> round;
        playInProcess(*measure, DEAL, [&](int t, int column) {
            received[column].push_back(ev::parseCard(DEAL[t].c_str()));
            round.push_back(column);
            // Whatever the evaluations tried, the filled slots hold exactly the cards received.
            for (int n = 0; n < ev::COLUMNS; ++n) {
                for (std::size_t s = 0; s < received[n].size(); ++s) {
                    EXPECT_EQ(ev::packs[n][s], received[n][s]) << "card " << t + 1 << " column " << n + 1;
                }
            }
            if (round.size() == ev::COLUMNS) {
                std::sort(round.begin(), round.end());
                EXPECT_EQ(round, (std::vector<int>{0, 1, 2, 3})) << "round ending at card " << t + 1;
                round.clear();
            }
        });
        for (const std::vector<int>& column : received) EXPECT_EQ(column.size(), 5u);
    }
}

TEST(EvChoice, AnchoredKeepsTheExpectationOfTheMomentAColumnGrew) {
    std::array<double, ev::COLUMNS> stored{};
    bool staleSeen = false;
    playInProcess(ev::ANCHORED, DEAL, [&](int t, int column) {
        const int k = t / ev::COLUMNS;
        for (int n = 0; n < ev::COLUMNS; ++n) {
            if (n != column) {
                EXPECT_EQ(ev::expectedValue[n], stored[n]) << "card " << t + 1 << " column " << n + 1;
                continue;
            }
            Pack now{};
            std::copy_n(ev::packs[n], k + 1, now.begin());
            ev::EV(now.data(), k + 1);
            EXPECT_EQ(ev::expectedValue[n], ev::vavg) << "card " << t + 1;
            stored[n] = ev::expectedValue[n];
        }
        // Over the smaller unseen list of a later card a column's expectation
        // moves, but the stored one does not follow.
        if (t == 5) {
            Pack first{ev::packs[0][0]};
            ev::EV(first.data(), 1);
            staleSeen = ev::vavg != stored[0];
        }
    });
    EXPECT_TRUE(staleSeen);
    for (int n = 0; n < ev::COLUMNS; ++n) EXPECT_EQ(ev::expectedValue[n], ev::evalPack(ev::packs[n]));
}

// Round 4 with the anchored measure: the gain is the column's exact points
// less its stored expectation, both set here.
void lastRound(std::array<bool, ev::COLUMNS> open, std::array<double, ev::COLUMNS> stored) {
    const std::array<Pack, ev::COLUMNS> columns = {{
        {ev::parseCard("9C"), ev::parseCard("JD"), ev::parseCard("KH"), ev::parseCard("AS")},
        {ev::parseCard("9S"), ev::parseCard("JH"), ev::parseCard("KD"), ev::parseCard("AC")},
        {ev::parseCard("10C"), ev::parseCard("10D"), ev::parseCard("JS"), ev::parseCard("KS")},
        {ev::parseCard("9H"), ev::parseCard("10H"), ev::parseCard("JC"), ev::parseCard("AH")},
    }};
    for (int n = 0; n < ev::COLUMNS; ++n) {
        std::copy(columns[n].begin(), columns[n].end(), ev::packs[n]);
        ev::free[n] = open[n];
        ev::expectedValue[n] = stored[n];
    }
}

TEST(EvChoice, EqualGainsGoToTheLowestFreeColumnAndOnlyAStrictlyGreaterGainWins) {
    // With QC the first two columns score nothing, the third a pair, the fourth nothing.
    const int qc = ev::parseCard("QC");
    lastRound({true, true, true, true}, {0.5, 0.5, 1.5, 0.5});
    EXPECT_EQ(ev::choose(ev::ANCHORED, qc, 4), 0);
    lastRound({false, true, true, true}, {0.5, 0.5, 1.5, 0.5});
    EXPECT_EQ(ev::choose(ev::ANCHORED, qc, 4), 1);
    lastRound({true, true, true, true}, {0.5, std::nextafter(0.5, 0.0), 1.5, 0.5});
    EXPECT_EQ(ev::choose(ev::ANCHORED, qc, 4), 1);
    lastRound({true, true, true, true}, {0.5, 0.5, std::nextafter(1.5, 0.0), 0.5});
    EXPECT_EQ(ev::choose(ev::ANCHORED, qc, 4), 2);
    // The only free column is taken however bad its gain.
    lastRound({false, false, false, true}, {0, 0, 0, 100});
    EXPECT_EQ(ev::choose(ev::ANCHORED, qc, 4), 3);
}

TEST(EvChoice, TheRunningMeanDecidesBetweenMirrorColumns) {
    // 9S and 9D face unseen spades and diamonds that mirror each other, so
    // both columns have the same true expectation with QH and without it.
    // Only the order in which the running mean meets the hands tells them
    // apart, by some 7e-15, and ev-player follows it to column 4.
    const std::vector<std::string> deal = {"9S", "AC", "KC", "9D", "QH"};
    const std::vector<Turn> turns = playInProcess(ev::FRESH, deal);
    EXPECT_EQ(turns[4].column, 3);

    const int qh = ev::parseCard("QH");
    std::array<double, 2> with{}, without{};
    for (int i = 0; i < 2; ++i) {
        Pack p{ev::parseCard(i == 0 ? "9S" : "9D"), qh};
        ev::EV(p.data(), 2);
        with[i] = ev::vavg;
        ev::EV(p.data(), 1);
        without[i] = ev::vavg;
        EXPECT_EQ(ev::vn, 3876);
        EXPECT_NEAR(without[i], 7612.0 / 3876, 1e-12);
    }
    EXPECT_EQ(with[0], with[1]);
    EXPECT_EQ(without[0], 1.9638802889576938);
    EXPECT_EQ(without[1], 1.9638802889576872);
}

}  // namespace
