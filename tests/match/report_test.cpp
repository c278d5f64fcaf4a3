// The HTML report of a match: the data it embeds is the CSV's, it needs
// nothing from outside, and its script is JavaScript (report_browser_test.cpp
// opens it in a real browser).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "common/cards.h"
#include "common/shell_words.h"
#include "match/html.h"
#include "referee/shuffle.h"
#include "tests/match/report_page.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;
using report_page::embedded_data;
using report_page::Report;

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The points of a board's four categories, as the page adds them up under it.
int points_of(const nlohmann::json& data, const std::string& categories) {
    int points = 0;
    for (char c : categories) points += data["points"][c - '0'].get<int>();
    return points;
}

TEST(Report, EmbedsTheRowsOfTheCsv) {
    const Report report;
    ASSERT_EQ(report.result.exit_code, 1) << report.result.err;  // inimi+1 faults
    const nlohmann::json data = embedded_data(report.html());
    const auto csv = report.csv();
    ASSERT_EQ(data["rows"].size(), static_cast<std::size_t>(Report::DEALS));
    ASSERT_EQ(csv.size(), 1u + Report::DEALS * 3);
    EXPECT_EQ(data["ceiling"], true);
    std::vector<std::string> players;
    for (const auto& player : data["players"]) players.push_back(player["name"]);
    // The games stay in the players' order; the page ranks them as the standings do.
    EXPECT_EQ(players, (std::vector<std::string>{"suit-player", "inimi+1", "tally-player"}));
    const nlohmann::json standings = report.summary()["players"];
    for (std::size_t place = 0; place < standings.size(); ++place) {
        const auto player = std::find(players.begin(), players.end(), standings[place]["name"]) - players.begin();
        EXPECT_EQ(data["players"][player]["rank"], place + 1) << standings[place]["name"];
    }
    int faulted = 0;
    for (std::size_t r = 1; r < csv.size(); ++r) {
        const auto& row =
            csv[r];  // deal,deck_seed,player,status,score,cat1..4,ceiling,...,answers,ceiling_answers,message
        const auto& deal = data["rows"][std::stoi(row[0]) - 1];
        EXPECT_EQ(deal["deal"], std::stoi(row[0]) - 1);
        EXPECT_EQ(deal["seed"], row[1]);
        EXPECT_EQ(deal["ceiling"]["score"], std::stoi(row[9]));
        EXPECT_EQ(deal["ceiling"]["answers"], row[16]);
        EXPECT_EQ(points_of(data, deal["ceiling"]["categories"]), std::stoi(row[9])) << "deal " << row[0];
        const auto player = std::find(players.begin(), players.end(), row[2]) - players.begin();
        const auto& game = deal["games"][player];
        EXPECT_EQ(game["status"], row[3]);
        EXPECT_EQ(game["answers"], row[15]) << "answers of " << row[2] << " in deal " << row[0];
        EXPECT_EQ(game["message"], row[17]);
        if (row[3] == "ok") {
            EXPECT_EQ(game["score"], std::stoi(row[4]));
            EXPECT_EQ(game["categories"], row[5] + row[6] + row[7] + row[8]);
        } else {
            // A game that faulted has no score to sort by, and no board's categories.
            EXPECT_TRUE(game["score"].is_null()) << game;
            EXPECT_EQ(game["categories"], "");
            ++faulted;
        }
        // The cards are the deal's, in deal order.
        const game::Deck deck = referee::shuffled_deck(std::stoull(row[1]));
        for (int k = 0; k < game::DEALT; ++k) {
            EXPECT_EQ(deal["cards"].get<std::string>()[k], 'a' + game::code_of(deck[k])) << "card " << k + 1;
        }
    }
    EXPECT_GT(faulted, 0);
}

// Without a ceiling, the page opens on the deal where the best player scored least, the first of a tie.
TEST(Report, DealsOfAMatchWithoutCeilingHaveNone) {
    const TempDir dir;
    const RunResult result = run({bin("match"), "--deals", "8", "--seed", "7", "--quiet", "--no-ceiling", "--csv",
                                  "m.csv", "--html", "m.html", "suit-player", "tally-player"},
                                 "", dir.path());
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const nlohmann::json data = embedded_data(read_file(dir.file("m.html")));
    EXPECT_EQ(data["ceiling"], false);
    ASSERT_EQ(data["rows"].size(), 8u);
    for (const auto& deal : data["rows"]) EXPECT_TRUE(deal["ceiling"].is_null()) << deal;
    const auto best = std::find_if(data["players"].begin(), data["players"].end(),
                                   [](const nlohmann::json& player) { return player["rank"] == 1; });
    ASSERT_NE(best, data["players"].end());
    int least = -1, least_score = 0;  // the CSV comes by deal: on a tie, the first stays
    for (const auto& row : testing_support::csv_rows(read_file(dir.file("m.csv")))) {
        if (row[2] != (*best)["name"] || row[3] != "ok") continue;
        if (least < 0 || std::stoi(row[4]) < least_score) {
            least = std::stoi(row[0]) - 1;
            least_score = std::stoi(row[4]);
        }
    }
    EXPECT_EQ(data["opening"], least);
}

// A report drawn from merged shards replays each game with the command it
// shows, and the game scores what the CSV says; the JSON keeps the commands.
TEST(Report, AMergedReportsReplayCommandsGiveTheCsvsScores) {
    const TempDir dir;
    for (const char* shard : {"1", "2"}) {
        const RunResult part = run({bin("match"), "--deals", "4", "--seed", "12", "--shard", std::string(shard) + "/2",
                                    "--quiet", "--no-ceiling", "--csv", std::string("part-") + shard + ".csv",
                                    "suit-player", "odd=" + bin("tally-player")},
                                   "", dir.path());
        ASSERT_EQ(part.exit_code, 0) << part.err;
    }
    const RunResult merged = run({bin("match"), "--merge", "--quiet", "--html", "m.html", "--json", "m.json",
                                  "--csv", "m.csv", "part-1.csv", "part-2.csv"},
                                 "", dir.path());
    ASSERT_EQ(merged.exit_code, 0) << merged.err;
    const nlohmann::json data = embedded_data(read_file(dir.file("m.html")));
    for (const auto& player : nlohmann::json::parse(read_file(dir.file("m.json")))["players"]) {
        EXPECT_FALSE(player["command"].empty()) << player;
    }
    const auto csv = testing_support::csv_rows(read_file(dir.file("m.csv")));
    ASSERT_EQ(csv.size(), 1u + 4 * 2);
    for (std::size_t r = 1; r < csv.size(); ++r) {
        const auto player = std::find_if(data["players"].begin(), data["players"].end(),
                                         [&](const nlohmann::json& p) { return p["name"] == csv[r][2]; });
        ASSERT_NE(player, data["players"].end()) << csv[r][2];
        const std::string replay = "referee --seed " + csv[r][1] + " " + (*player)["command"].get<std::string>();
        const RunResult again =
            run({"/bin/sh", "-c", "PATH=" + std::string(GAME_BIN_DIR) + ":$PATH " + replay}, "", dir.path());
        EXPECT_EQ(again.out, "Scor total: " + csv[r][4] + "\n") << replay << "\n" << again.err;
    }
}

// A Python player that dies of an exception: the traceback's last line is in
// the CSV, the JSON, the report's board and its list of faults, with the
// command that replays the game.
TEST(Report, APlayersTracebackIsInEveryOutput) {
    const TempDir dir;
    testing_support::write_file(dir.file("p.py"), "#!/usr/bin/python3\nimport sys\nsys.stdin.readline()\n1/0\n");
    std::filesystem::permissions(dir.file("p.py"), std::filesystem::perms::owner_all);
    const RunResult result = run({bin("match"), "--deals", "3", "--seed", "5", "--quiet", "--no-ceiling", "--csv",
                                  "m.csv", "--json", "m.json", "--html", "m.html", "./p.py"},
                                 "", dir.path());
    EXPECT_EQ(result.exit_code, 1) << result.err;
    const std::string last_line = " ⏎ ZeroDivisionError: division by zero";
    const auto csv = testing_support::csv_rows(read_file(dir.file("m.csv")));
    ASSERT_EQ(csv.size(), 2u) << "the match stops after the first deal";
    EXPECT_TRUE(csv[1][17].ends_with(last_line)) << csv[1][17];
    const auto fault = nlohmann::json::parse(read_file(dir.file("m.json")))["faults"][0];
    EXPECT_TRUE(fault["first_message"].get<std::string>().ends_with(last_line)) << fault;
    EXPECT_EQ(fault["replay"], "referee --seed " + csv[1][1] + " " + dir.file("p.py"));
    const std::string html = read_file(dir.file("m.html"));
    EXPECT_TRUE(embedded_data(html)["rows"][0]["games"][0]["message"].get<std::string>().ends_with(last_line));
    const std::string listed = report_page::between(html, "<h2>Greșeli</h2>", "</ul>").at(0);
    EXPECT_NE(listed.find(last_line + "</span>"), std::string::npos) << listed;
    EXPECT_NE(listed.find(">referee --seed " + csv[1][1] + " " + dir.file("p.py") + "</code>"), std::string::npos)
        << listed;
}

// A game left unplayed after its player was stopped has no score to show.
TEST(Report, AGameNotPlayedHasNoScore) {
    match::MatchConfig config;
    config.ceiling = false;
    config.players = {{"stopped", {"/bin/true"}}};
    std::vector<match::DealOutcome> deals(1);
    deals[0].games.resize(1);
    deals[0].games[0].played = false;
    const nlohmann::json data =
        nlohmann::json::parse(match::report_data(config, match::summarize_match(config, deals), deals));
    EXPECT_EQ(data["rows"][0]["games"][0]["status"], "nejucat");
    EXPECT_TRUE(data["rows"][0]["games"][0]["score"].is_null());
}

// A player's name, command and messages are the players' to choose: none of
// them may end the page's scripts early or open a comment in it.
TEST(Report, NothingAPlayerWritesEndsTheScript) {
    const TempDir dir;
    const std::string hostile = "</ScRiPt><!--x";
    std::filesystem::create_symlink(testing_support::helper("fake-player"), dir.file("a<!--b"));
    const RunResult result = run({bin("match"), "--deals", "2", "--seed", "3", "--quiet", "--no-ceiling", "--html",
                                  "m.html", dir.file("a<!--b") + " answer 1 " + hostile},
                                 "", dir.path());
    ASSERT_EQ(result.exit_code, 1) << result.err;  // the answer is not a column
    const std::string html = read_file(dir.file("m.html"));
    std::string lower = html;  // a browser ends a script at any case of "</script"
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(occurrences(lower, "</script"), 2);  // the data's and the script's own
    EXPECT_EQ(occurrences(lower, "</style"), 1);
    EXPECT_EQ(occurrences(lower, "<!--"), 0);
    EXPECT_EQ(html.find("{{"), std::string::npos) << "a placeholder of the page's skeleton is left";
    // What was escaped reads back as written.
    const nlohmann::json data = embedded_data(html);
    EXPECT_EQ(data["players"][0]["name"], "a<!--b");
    // The command as a shell takes it back, for the page's replay commands.
    EXPECT_EQ(data["players"][0]["command"], game::shell_quoted({dir.file("a<!--b"), "answer", "1", hostile}));
    EXPECT_NE(data["rows"][0]["games"][0]["message"].get<std::string>().find(hostile), std::string::npos);
}

TEST(Report, NeedsNothingFromOutside) {
    const Report report;
    const std::string html = report.html();
    // The SVG namespace is a name, not an address that is fetched.
    const std::string name_space = "xmlns=\"http://www.w3.org/2000/svg\"";
    std::string without_namespace = html;
    without_namespace.erase(without_namespace.find(name_space), name_space.size());
    EXPECT_EQ(without_namespace.find("://"), std::string::npos);
    EXPECT_EQ(html.find(" src="), std::string::npos);
    EXPECT_EQ(html.find("<link"), std::string::npos);
    EXPECT_NE(html.find("default-src 'none'"), std::string::npos) << "the page forbids itself the network";
}

// ---- the page's script, parsed as a browser would

std::string on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return "";
}

// The script lives in a file of its own so that a tool can read it: a syntax
// error in it would otherwise show only as a page that draws no deals.
TEST(Report, ScriptIsValidJavaScript) {
    const std::string node = on_path("node");
    if (node.empty()) GTEST_SKIP() << "no node here, so the page's script goes unchecked (the package nodejs brings it)";
    const TempDir dir;
    const RunResult result = run({bin("match"), "--deals", "1", "--quiet", "--no-ceiling", "--html", "m.html",
                                  "suit-player"},
                                 "", dir.path());
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const std::string html = read_file(dir.file("m.html"));
    const std::size_t start = html.rfind("<script>") + std::string("<script>").size();
    const std::string script = html.substr(start, html.find("</script>", start) - start);
    ASSERT_NE(script.find("getElementById('match-data')"), std::string::npos) << "not the page's script: " << script;
    testing_support::write_file(dir.file("report.js"), script);
    const RunResult check = run({node, "--check", dir.file("report.js")});
    EXPECT_EQ(check.exit_code, 0) << check.err;
}

}  // namespace
