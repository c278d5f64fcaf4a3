// The HTML report of a match: the data it embeds is the CSV's, it needs
// nothing from outside, and in a real browser it shows the standings, every
// deal, and the boards of a chosen deal as the games placed them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "common/cards.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;

constexpr int DEALS = 12;
constexpr int CHOSEN = 5;  // the deal the browser is asked to show, from 1

// A small match with a player that faults on some deals, its CSV, JSON and report.
struct Report {
    TempDir dir;
    RunResult result;
    Report() {
        result = run({bin("match"), "--deals", std::to_string(DEALS), "--seed", "2026", "--quiet", "--csv", "m.csv",
                      "--json", "m.json", "--html", "m.html", "suit-player",
                      "inimi=" + testing_support::helper("fake-player") + " heart-faults", "tally-player"},
                     "", dir.path());
    }
    std::string html() const { return read_file(dir.file("m.html")); }
};

nlohmann::json embedded_data(const std::string& html) {
    const std::string open = "<script type=\"application/json\" id=\"match-data\">";
    const std::size_t start = html.find(open);
    EXPECT_NE(start, std::string::npos);
    const std::size_t end = html.find("</script>", start);
    return nlohmann::json::parse(html.substr(start + open.size(), end - start - open.size()));
}

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
    ASSERT_EQ(report.result.exit_code, 1) << report.result.err;  // inimi faults
    const nlohmann::json data = embedded_data(report.html());
    const auto csv = testing_support::csv_rows(read_file(report.dir.file("m.csv")));
    ASSERT_EQ(data["rows"].size(), static_cast<std::size_t>(DEALS));
    ASSERT_EQ(csv.size(), 1u + DEALS * 3);
    EXPECT_EQ(data["ceiling"], true);
    std::vector<std::string> players;
    for (const auto& player : data["players"]) players.push_back(player["name"]);
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

TEST(Report, DealsOfAMatchWithoutCeilingHaveNone) {
    const TempDir dir;
    const RunResult result = run({bin("match"), "--deals", "3", "--seed", "7", "--quiet", "--no-ceiling", "--html",
                                  "m.html", "suit-player"},
                                 "", dir.path());
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const nlohmann::json data = embedded_data(read_file(dir.file("m.html")));
    EXPECT_EQ(data["ceiling"], false);
    ASSERT_EQ(data["rows"].size(), 3u);
    for (const auto& deal : data["rows"]) EXPECT_TRUE(deal["ceiling"].is_null()) << deal;
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
    EXPECT_NE(data["players"][0]["command"].get<std::string>().find(hostile), std::string::npos);
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

// ---- in a real browser

std::string chromium() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (::access(path, X_OK) == 0) return path;
    }
    return "";
}

RunResult in_browser(const std::string& page, const std::string& profile, std::vector<std::string> what) {
    std::vector<std::string> argv = {chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                     "--no-first-run", "--disable-background-networking", "--disable-component-update",
                                     "--disable-sync", "--user-data-dir=" + profile, "--window-size=1280,800"};
    argv.insert(argv.end(), what.begin(), what.end());
    argv.push_back("file://" + page);
    return run(argv, "", "", 120000);
}

// What stands between each `open` and the `close` after it, in order.
std::vector<std::string> between(const std::string& text, const std::string& open, const std::string& close) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        const std::size_t start = at + open.size();
        const std::size_t end = text.find(close, start);
        if (end == std::string::npos) break;
        found.push_back(text.substr(start, end - start));
        at = end + close.size();
    }
    return found;
}

TEST(Report, ShowsTheStandingsTheDealsAndAChosenDealsBoards) {
    if (chromium().empty()) GTEST_SKIP() << "no Chromium here (scripts/deps.sh test installs the package chromium)";
    const Report report;
    const TempDir profile;
    const RunResult dom = in_browser(report.dir.file("m.html") + "#deal=" + std::to_string(CHOSEN), profile.path(),
                                     {"--dump-dom"});
    ASSERT_EQ(dom.exit_code, 0) << dom.err;

    // The standings in the order of the match's own summary, the ceiling last.
    const auto summary = nlohmann::json::parse(read_file(report.dir.file("m.json")));
    const std::string standings = dom.out.substr(dom.out.find("id=\"standings\""));
    std::vector<std::string> expected;
    for (const auto& player : summary["players"]) expected.push_back(player["name"]);
    expected.push_back("plafon (ceilscore)");
    const auto shown = between(standings.substr(0, standings.find("</table>")), "<th scope=\"row\">", "</th>");
    EXPECT_EQ(shown, expected);

    // Under the title, the isolation the games were played in, as the JSON names it.
    const std::string isolation = between(dom.out, "<p class=\"note\" id=\"isolation\">", "</p>").at(0);
    EXPECT_EQ(isolation, "Izolarea jucătorilor: " + summary["settings"]["sandbox"]["summary"].get<std::string>());

    // A row for every deal, drawn by the page's script.
    const std::string rows = between(dom.out, "<tbody id=\"deal-rows\">", "</tbody>").at(0);
    EXPECT_EQ(between(rows, "<tr tabindex=\"0\" data-deal=\"", "\"").size(), static_cast<std::size_t>(DEALS));

    // The chosen deal's boards: every card where the game put it, in its round.
    std::string deal = dom.out.substr(dom.out.find("<div id=\"deal\""));
    deal = deal.substr(0, deal.find("<script"));
    ASSERT_NE(deal.find("Împărțirea " + std::to_string(CHOSEN)), std::string::npos) << deal.substr(0, 300);
    const auto csv = testing_support::csv_rows(read_file(report.dir.file("m.csv")));
    const auto boards = between(deal, "<figure", "</figure>");
    ASSERT_EQ(boards.size(), 4u);  // three players and the ceiling
    int checked = 0;
    for (const auto& row : csv) {
        if (row[0] != std::to_string(CHOSEN)) continue;
        const std::string& board = *std::find_if(boards.begin(), boards.end(), [&](const std::string& b) {
            return b.find("<figcaption>" + row[2]) != std::string::npos;
        });
        const game::Deck deck = referee::shuffled_deck(std::stoull(row[1]));
        const auto rounds = between(board, "<tr><th scope=\"row\">runda ", "</tr>");
        ASSERT_EQ(rounds.size(), 5u);
        for (std::size_t k = 0; k < row[15].size(); ++k) {
            std::vector<std::string> cells = between(rounds[k / 4], "<td", "</td>");
            for (std::string& cell : cells) cell.erase(0, cell.find('>') + 1);
            const std::string token = game::token_of(deck[k]);
            const std::string shown_card = cells[row[15][k] - '1'];
            EXPECT_EQ(shown_card.substr(0, shown_card.size() - 3), token.substr(0, token.size() - 1))
                << row[2] << ", card " << k + 1;
            EXPECT_EQ(shown_card.substr(shown_card.size() - 3), game::SUIT_ICONS[deck[k].suit]) << row[2];
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);

    // A picture for a person to look at.
    std::filesystem::create_directories(std::string(GAME_BUILD_DIR) + "/report");
    const RunResult shot =
        in_browser(report.dir.file("m.html") + "#deal=" + std::to_string(CHOSEN), profile.path(),
                   {"--screenshot=" + std::string(GAME_BUILD_DIR) + "/report/report.png", "--hide-scrollbars"});
    EXPECT_EQ(shot.exit_code, 0) << shot.err;
}

}  // namespace
