// The match's figures on hand-made outcomes whose answers are known.
#include <gtest/gtest.h>

#include <cmath>

#include <nlohmann/json.hpp>
#include <sstream>

#include "match/csv.h"
#include "common/sandbox.h"
#include "match/json.h"
#include "match/stats.h"
#include "match/summary.h"
#include "match/tables.h"
#include "match/wording.h"

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
        outcomes[d].index = d;
        outcomes[d].ceiling = base + 10;
        outcomes[d].games.resize(2);
        outcomes[d].games[0].score = base + 3;
        outcomes[d].games[1].score = base;
    }
    return outcomes;
}

match::MatchConfig config_of(std::vector<std::string> names) {
    match::MatchConfig config;
    for (const std::string& name : names) config.players.push_back({name, {"/bin/" + name}});
    config.ceiling = true;
    config.seed = 9;
    return config;
}

std::string tables_of(const std::vector<std::string>& names, const std::vector<DealOutcome>& deals) {
    match::MatchConfig config = config_of(names);
    config.deals = static_cast<int>(deals.size());
    return match::match_tables(match::summarize_match(config, deals));
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

std::vector<std::string> lines_of(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(MatchTable, PlayersThatDifferByAKnownAmount) {
    const std::string table = tables_of({"beta", "alpha"}, [] {
        auto deals = two_players(10);
        for (auto& deal : deals) std::swap(deal.games[0], deal.games[1]);
        return deals;
    }());
    // mean ± interval, median, min–max, share of the ceiling, reached, faults, ms
    const auto alpha = row_of(table, "alpha");
    ASSERT_EQ(alpha.size(), 10u) << table;
    EXPECT_EQ(alpha[1], "15.0");  // bases 10..14 twice: mean 12, plus 3
    EXPECT_EQ(alpha[4], "15.0");
    EXPECT_EQ(alpha[5], "13–17");
    EXPECT_EQ(alpha[7], "0.0%");
    EXPECT_EQ(alpha[8], "0");
    // Best first although given second; the ceiling last.
    EXPECT_LT(table.find("\nalpha "), table.find("\nbeta "));
    EXPECT_LT(table.find("\nbeta "), table.find("\nplafon (ceilscore) "));
    // The pair in ranking order: +3.00 on every deal, no spread, so certain; alpha wins all ten.
    const auto pair = row_of(table, "alpha − beta");
    ASSERT_EQ(pair.size(), 10u) << table;
    EXPECT_EQ(pair[3], "+3.00");
    EXPECT_EQ(pair[5], "0.00");
    EXPECT_EQ(pair[6], "*");
    EXPECT_EQ(pair[7], "10");
    EXPECT_EQ(pair[8], "0");
    EXPECT_EQ(pair[9], "0");
}

TEST(MatchTable, ConstantPlayerAtTheCeiling) {
    auto deals = two_players(4);
    for (DealOutcome& deal : deals) deal.games[0].score = deal.ceiling;
    const auto alpha = row_of(tables_of({"alpha", "beta"}, deals), "alpha");
    EXPECT_EQ(alpha[6], "100.0%");
    EXPECT_EQ(alpha[7], "100.0%");
}

TEST(MatchTable, AnIntervalNeedsTwoDeals) {
    const std::string table = tables_of({"alpha", "beta"}, two_players(1));
    EXPECT_EQ(row_of(table, "alpha")[3], "—") << table;
    const auto pair = row_of(table, "alpha − beta");
    EXPECT_EQ(pair[5], "—") << table;
    EXPECT_EQ(pair[6], "1") << "no mark without an interval";
}

TEST(MatchTable, MarksOnlyTheDifferencesWhoseIntervalExcludesZero) {
    // gamma equals beta on average, with spread: its difference to beta is not marked.
    auto deals = two_players(8);
    for (std::size_t d = 0; d < deals.size(); ++d) {
        GameOutcome gamma = deals[d].games[1];
        gamma.score += d % 2 ? 2 : -2;
        deals[d].games.push_back(gamma);
    }
    const std::string table = tables_of({"alpha", "beta", "gamma"}, deals);
    EXPECT_EQ(row_of(table, "alpha − beta")[6], "*") << table;
    EXPECT_EQ(row_of(table, "beta − gamma")[6], "4") << table;
}

GameOutcome unplayed() {
    GameOutcome game;
    game.played = false;
    return game;
}

TEST(MatchTable, FaultsAreCountedNamedAndNeverScored) {
    auto deals = two_players(6);
    deals[2].games[1] = GameOutcome{Fault::timeout, 4, "Niciun răspuns în 10 ms la cartea 4 (QS)", 0, {}, 0.01};
    deals[4].games[1] = GameOutcome{Fault::bad_answer, 1, "Răspuns invalid", 0, {}, 0.01};
    const std::string table = tables_of({"alpha", "beta"}, deals);
    const auto beta = row_of(table, "beta");
    EXPECT_EQ(beta[8], "2");
    EXPECT_EQ(beta[5], "10–13");  // the faulted games' score of 0 is not the minimum
    EXPECT_EQ(row_of(table, "alpha − beta")[7], "4");  // only deals both finished, shown as they differ
    EXPECT_NE(table.find("beta: 1 × raspuns-invalid, 1 × timp-depasit"), std::string::npos) << table;
    EXPECT_NE(table.find("prima, la împărțirea 3 (timp-depasit): Niciun răspuns"), std::string::npos) << table;
    // The first fault comes with the command that plays it again.
    EXPECT_NE(table.find("    se reia cu: referee --seed 0 /bin/beta\n"), std::string::npos) << table;
}

// Without a ceiling, no column and no footnote speak of one.
TEST(MatchTable, AMatchWithoutCeilingShowsNone) {
    match::MatchConfig config = config_of({"alpha", "beta"});
    config.ceiling = false;
    const std::string table = match::match_tables(match::summarize_match(config, two_players(4)));
    EXPECT_EQ(table.find("plafon"), std::string::npos) << table;
    EXPECT_EQ(table.find("atins"), std::string::npos) << table;
    EXPECT_EQ(row_of(table, "alpha").size(), 8u) << table;  // name, mean, ±, interval, median, range, faults, ms
}

// A player stopped after faulting again and again: its games left unplayed
// are neither faults nor scores, and its row says it was stopped.
TEST(MatchTable, AStoppedPlayerSaysSo) {
    auto deals = two_players(6);
    for (int d = 1; d < 3; ++d) deals[d].games[1] = GameOutcome{Fault::timeout, 1, "Niciun răspuns", 0, {}, 0.01};
    for (int d = 3; d < 6; ++d) deals[d].games[1] = unplayed();
    const std::string table = tables_of({"alpha", "beta"}, deals);
    const auto beta = row_of(table, "beta (oprit)");  // split on blanks: "(oprit)" is a cell of its own
    EXPECT_EQ(beta[9], "2") << table;
    EXPECT_EQ(beta[2], "10.0") << table;  // deal 1 only
    EXPECT_NE(table.find("beta: 2 × timp-depasit; oprit după greșeli la rând, 3 jocuri nejucate"), std::string::npos)
        << table;
}

TEST(MatchTable, FitsInEightyColumnsWhateverTheNames) {
    for (const std::vector<std::string>& names :
         {std::vector<std::string>{"ev-player-anchored", "zarvel-002", "suit-player"},
          std::vector<std::string>{"a-player-with-a-name-far-too-long-for-a-table", "another-one-as-long-as-the-first",
                                   "x"}}) {
        auto deals = two_players(3);
        for (auto& deal : deals) deal.games.push_back(deal.games[0]);
        deals[1].games[2].fault = Fault::stopped;  // a column of deal counts in the pairs table
        for (const std::string& line : lines_of(tables_of(names, deals))) {
            if (line.starts_with("    prima")) continue;  // a fault's message is not a table
            EXPECT_LE(match::display_width(line), match::PAGE_WIDTH) << line;
        }
    }
}

TEST(Wording, CountsAsPeopleWriteThem) {
    const std::pair<long long, const char*> cases[] = {
        {1, "1 împărțire"},      {2, "2 împărțiri"},        {19, "19 împărțiri"},   {20, "20 de împărțiri"},
        {101, "101 împărțiri"},  {119, "119 împărțiri"},    {120, "120 de împărțiri"}, {200, "200 de împărțiri"},
        {1000, "1000 de împărțiri"}, {1001, "1001 împărțiri"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(match::count_of(n, match::DEALS_NOUN), text);
    EXPECT_EQ(match::count_of(1, match::PLAYERS_NOUN), "1 jucător");
    EXPECT_EQ(match::count_of(5, match::PLAYERS_NOUN), "5 jucători");
}

TEST(MatchCsv, OneRowPerGameWithEmptyScoreForAFault) {
    auto deals = two_players(2);
    deals[1].seed = 77;
    deals[1].games[1] = GameOutcome{Fault::stopped, 3, "x", 0, {}, 0.5};
    deals[1].games[1].message = "a, \"quoted\" message";
    deals[1].ceiling_seconds = 0.25;
    deals[1].ceiling_answers = "12341234123412341234";
    deals[0].games[0].answers = "43214321432143214321";
    deals[1].games[0] = unplayed();
    match::MatchConfig config = config_of({"alpha", "beta"});
    config.deals = 2;
    config.shard = {2, 3};
    config.players[1].command = {"/bin/my beta", "it's"};
    config.timeout_ms = 1500;
    const auto rows = lines_of(match::match_csv(config, deals));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0],
              "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds,"
              "ceiling_seconds,match_seed,deals,shard,answers,ceiling_answers,message,command,timeout_ms");
    EXPECT_EQ(rows[1], "1,0,alpha,ok,13,0,0,0,0,20,0.000000,0.000000,9,2,2/3,43214321432143214321,,,/bin/alpha,1500");
    EXPECT_EQ(rows[3], "2,77,alpha,nejucat,,,,,,21,0.000000,0.250000,9,2,2/3,,12341234123412341234,,/bin/alpha,1500");
    EXPECT_EQ(rows[4],
              "2,77,beta,oprit,,,,,,21,0.500000,0.250000,9,2,2/3,,12341234123412341234,\"a, \"\"quoted\"\" message\","
              "'/bin/my beta' 'it'\\''s',1500");
}

TEST(MatchJson, ReadsBackAsTheSummary) {
    auto deals = two_players(5);
    deals[3].games[1] = GameOutcome{Fault::timeout, 2, "Niciun răspuns", 0, {}, 0.01};
    match::MatchConfig config = config_of({"beta", "alpha"});
    config.deals = 5;
    const auto json = nlohmann::json::parse(match::match_json(config, match::summarize_match(config, deals)));
    EXPECT_EQ(json["settings"]["deals"], 5);
    EXPECT_EQ(json["settings"]["seed"], 9);
    EXPECT_TRUE(json["settings"]["sandbox"].is_null()) << "no sandbox is known of a match not played here";
    ASSERT_EQ(json["players"].size(), 2u);
    EXPECT_EQ(json["players"][0]["name"], "beta");  // the first player scores more: base + 3
    EXPECT_EQ(json["players"][0]["command"], nlohmann::json::array({"/bin/beta"}));
    EXPECT_DOUBLE_EQ(json["players"][0]["mean"].get<double>(), 15.0);
    EXPECT_EQ(json["players"][1]["faults"], 1);
    EXPECT_EQ(json["players"][1]["scored_games"], 4);
    EXPECT_EQ(json["ceiling"]["max"], 24.0);
    ASSERT_EQ(json["pairs"].size(), 1u);
    EXPECT_EQ(json["pairs"][0]["deals"], 4);
    EXPECT_EQ(json["pairs"][0]["significant"], true);
    EXPECT_EQ(json["faults"][0]["kinds"]["timp-depasit"], 1);
    EXPECT_EQ(json["faults"][0]["first_deal"], 4);
    // One deal leaves the intervals undefined: null, not 0.
    config.deals = 1;
    const auto one = nlohmann::json::parse(match::match_json(config, match::summarize_match(config, two_players(1))));
    EXPECT_TRUE(one["players"][0]["ci95"].is_null());
    // Played with the sandbox off, the settings say so.
    proc::Sandbox off;
    proc::SandboxSettings settings;
    settings.mode = proc::SandboxMode::off;
    const game::Status opened = off.open(settings, 1, "");
    ASSERT_TRUE(opened) << opened.error();
    config.sandbox = &off;
    const auto played = nlohmann::json::parse(match::match_json(config, match::summarize_match(config, deals)));
    EXPECT_EQ(played["settings"]["sandbox"]["mode"], "off");
    EXPECT_EQ(played["settings"]["sandbox"]["summary"], "oprită (--sandbox off)");
}

}  // namespace
