// The match's figures on hand-made outcomes whose answers are known.
#include <gtest/gtest.h>

#include <cmath>

#include "match/match_report.h"
#include "match/stats.h"

namespace {

using match::DealOutcome;
using referee::Fault;
using match::GameOutcome;

TEST(Summary, ConstantValuesHaveNoSpread) {
    const match::Summary s = match::summarize({7, 7, 7, 7});
    EXPECT_EQ(s.n, 4);
    EXPECT_EQ(s.mean, 7);
    EXPECT_EQ(s.half_width, 0);
    EXPECT_EQ(s.median, 7);
    EXPECT_EQ(s.min, 7);
    EXPECT_EQ(s.max, 7);
}

TEST(Summary, MeanIntervalUsesStudentsT) {
    // 1..5: mean 3, sample deviation sqrt(2.5), t(4) = 2.776.
    const match::Summary s = match::summarize({5, 1, 4, 2, 3});
    EXPECT_DOUBLE_EQ(s.mean, 3);
    EXPECT_NEAR(s.half_width, 2.776 * std::sqrt(2.5) / std::sqrt(5.0), 1e-9);
    EXPECT_EQ(s.median, 3);
    EXPECT_EQ(s.min, 1);
    EXPECT_EQ(s.max, 5);
    EXPECT_EQ(match::summarize({1, 2, 3, 10}).median, 2.5);
    EXPECT_EQ(match::summarize({}).n, 0);
    EXPECT_EQ(match::summarize({4}).half_width, 0);
}

TEST(Summary, TQuantileApproachesTheNormalOne) {
    EXPECT_DOUBLE_EQ(match::t95(1), 12.706);
    EXPECT_DOUBLE_EQ(match::t95(30), 2.042);
    EXPECT_NEAR(match::t95(60), 2.000, 0.002);
    EXPECT_NEAR(match::t95(1000), 1.962, 0.002);
}

// Deals where player A scores base + 3 and player B scores base, the ceiling base + 10.
std::vector<DealOutcome> two_players(int deals) {
    std::vector<DealOutcome> outcomes(deals);
    for (int d = 0; d < deals; ++d) {
        const int base = 10 + d % 5;
        outcomes[d].ceiling = base + 10;
        outcomes[d].games.resize(2);
        outcomes[d].games[0].score = base + 3;
        outcomes[d].games[1].score = base;
    }
    return outcomes;
}

match::MatchConfig config_of(std::vector<std::string> names) {
    match::MatchConfig config;
    for (const std::string& name : names) config.players.push_back({name, "/bin/" + name});
    config.ceiling = true;
    config.seed = 9;
    return config;
}

// The cells of the row that starts with `name`, split on runs of blanks.
std::vector<std::string> row_of(const std::string& table, const std::string& name) {
    const std::size_t start = table.find("\n" + name + " ");
    EXPECT_NE(start, std::string::npos) << table;
    std::istringstream line(table.substr(start + 1, table.find('\n', start + 1) - start - 1));
    std::vector<std::string> cells;
    for (std::string cell; line >> cell;) cells.push_back(cell);
    return cells;
}

TEST(MatchTable, PlayersThatDifferByAKnownAmount) {
    const std::string table = match::match_table(config_of({"alpha", "beta"}), two_players(10));
    // games, faults, mean, ±, median, min, max, share, reached, ms
    const auto alpha = row_of(table, "alpha");
    ASSERT_EQ(alpha.size(), 11u) << table;
    EXPECT_EQ(alpha[1], "10");
    EXPECT_EQ(alpha[2], "0");
    EXPECT_EQ(alpha[3], "15.0");  // bases 10..14 twice: mean 12, plus 3
    EXPECT_EQ(alpha[5], "15.0");
    EXPECT_EQ(alpha[6], "13");
    EXPECT_EQ(alpha[7], "17");
    EXPECT_EQ(alpha[9], "0.0%");
    // The pair: +3.00 on every deal, no spread, alpha wins all ten.
    const auto pair = row_of(table, "alpha − beta");
    ASSERT_EQ(pair.size(), 9u) << table;
    EXPECT_EQ(pair[3], "10");
    EXPECT_EQ(pair[4], "+3.00");
    EXPECT_EQ(pair[5], "0.00");
    EXPECT_EQ(pair[6], "10");
    EXPECT_EQ(pair[7], "0");
    EXPECT_EQ(pair[8], "0");
}

TEST(MatchTable, ConstantPlayerAtTheCeiling) {
    auto deals = two_players(4);
    for (DealOutcome& deal : deals) deal.games[0].score = deal.ceiling;
    const auto alpha = row_of(match::match_table(config_of({"alpha", "beta"}), deals), "alpha");
    EXPECT_EQ(alpha[8], "100.0%");
    EXPECT_EQ(alpha[9], "100.0%");
}

TEST(MatchTable, FaultsAreCountedNamedAndNeverScored) {
    auto deals = two_players(6);
    deals[2].games[1] = GameOutcome{Fault::timeout, 4, "Niciun răspuns în 10 ms la cartea 4 (QS)", 0, {}, 0.01};
    deals[4].games[1] = GameOutcome{Fault::bad_answer, 1, "Răspuns invalid", 0, {}, 0.01};
    const std::string table = match::match_table(config_of({"alpha", "beta"}), deals);
    const auto beta = row_of(table, "beta");
    EXPECT_EQ(beta[1], "6");
    EXPECT_EQ(beta[2], "2");
    EXPECT_EQ(beta[6], "10");  // the faulted games' score of 0 is not the minimum
    EXPECT_EQ(row_of(table, "alpha − beta")[3], "4");  // only deals both finished
    EXPECT_NE(table.find("beta: 1 × raspuns-invalid, 1 × timp-depasit"), std::string::npos) << table;
    EXPECT_NE(table.find("prima, la împărțirea 3: Niciun răspuns"), std::string::npos) << table;
}

TEST(MatchTable, FitsInOneHundredColumns) {
    const std::string table = match::match_table(config_of({"ev-player-anchored", "zarvel-002", "suit-player"}), [] {
        auto deals = two_players(3);
        for (auto& deal : deals) deal.games.push_back(deal.games[0]);
        return deals;
    }());
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(match::display_width(line), 100u) << line;
}

TEST(MatchCsv, OneRowPerGameWithEmptyScoreForAFault) {
    auto deals = two_players(2);
    deals[1].seed = 77;
    deals[1].games[1] = GameOutcome{Fault::stopped, 3, "x", 0, {}, 0.5};
    const std::string csv = match::match_csv(config_of({"alpha", "beta"}), deals);
    std::istringstream lines(csv);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds");
    EXPECT_EQ(rows[4], "2,77,beta,oprit,,,,,,21,0.500000");
}

}  // namespace
