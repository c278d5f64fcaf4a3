// A match's HTML report in a real browser, in a window of a laptop's size: it
// opens on a deal worth looking at, with that deal's row in view and its
// boards beside it, the ceiling's first; an address opens any deal, sorted by
// any player named in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "common/cards.h"
#include "common/shell_words.h"
#include "match/html.h"
#include "referee/shuffle.h"
#include "tests/match/report_page.h"
#include "tests/support/support.h"

namespace {

using report_page::between;
using report_page::Report;
using testing_support::bin;
using testing_support::helper;
using testing_support::read_file;
using testing_support::RunResult;
using testing_support::TempDir;

// The window of a laptop's screen. The page gets less height of it, as it does in a browser with its bars.
constexpr int WIDTH = 1280, HEIGHT = 800;

std::string chromium() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (::access(path, X_OK) == 0) return path;
    }
    return "";
}

// Run after the page's own script, it measures what a person sees and leaves the numbers in the page for
// --dump-dom to bring out: the window, the chosen row against the part of the deal table that shows rows, the
// boards with their messages and commands against the column they stand in, and any word of a command that a
// line break cut in two.
constexpr const char* PROBE = R"(<script>(function () {
  function box(element) {
    var r = element.getBoundingClientRect();
    return { top: r.top, bottom: r.bottom, left: r.left, right: r.right };
  }
  function all(root, selector) { return Array.prototype.slice.call(root.querySelectorAll(selector)); }
  var row = document.querySelector('#deal-rows tr[aria-selected="true"]');
  var found = {
    viewport: [innerWidth, innerHeight],
    scrolled: [scrollX, scrollY],
    page_width: document.documentElement.scrollWidth,
    sort: document.getElementById('sort').value,
    row: row ? box(row) : null,
    rows_top: box(document.getElementById('key-header')).bottom,
    rows_bottom: box(document.getElementById('deal-scroll')).bottom,
    column: box(document.getElementById('deal')),
    boards: all(document, 'figure.board').map(function (figure) {
      return { box: box(figure), parts: all(figure, 'p.message, code.replay').map(box) };
    }),
    words: all(document, 'code.replay .word').length,
    cut_words: all(document, 'code.replay .word').filter(function (word) {
      return word.getClientRects().length > 1;
    }).length
  };
  var pre = document.createElement('pre');
  pre.id = 'probe';
  pre.hidden = true;
  pre.textContent = JSON.stringify(found);
  document.body.appendChild(pre);
})();</script>)";

struct Seen {
    std::string dom;
    nlohmann::json probe;
};

// The page opened at `address` ("#deal=3", say) with the probe, in a fresh profile; a screenshot too, into
// `screenshot` when it names a file.
Seen open_page(const std::string& html, const std::string& folder, const std::string& address,
               const std::string& screenshot = "") {
    std::string probed = html;
    probed.insert(probed.rfind("</body>"), PROBE);
    testing_support::write_file(folder + "/probed.html", probed);
    const TempDir profile;
    std::vector<std::string> argv = {chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                                     "--no-first-run", "--disable-background-networking", "--disable-component-update",
                                     "--disable-sync", "--user-data-dir=" + profile.path(),
                                     "--window-size=" + std::to_string(WIDTH) + "," + std::to_string(HEIGHT),
                                     "--dump-dom"};
    if (!screenshot.empty()) argv.push_back("--screenshot=" + screenshot);
    argv.push_back("file://" + folder + "/probed.html" + address);
    const RunResult result = testing_support::run(argv, "", "", 120000);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const auto probe = between(result.out, "<pre id=\"probe\" hidden=\"\">", "</pre>");
    return {result.out, probe.empty() ? nlohmann::json() : nlohmann::json::parse(probe[0])};
}

// What a person with a 1280 × 800 window must see on opening: nothing wider than the window, the window where
// it opened (so the boards are in view), the chosen row among the rows shown, every board inside its column and
// every message and command inside its board, no word of a command broken.
void expect_in_view(const nlohmann::json& probe) {
    ASSERT_FALSE(probe.is_null()) << "the probe did not run";
    ASSERT_EQ(probe["viewport"][0], WIDTH);
    const double height = probe["viewport"][1].get<double>();
    ASSERT_LE(height, HEIGHT);
    EXPECT_LE(probe["page_width"].get<double>(), WIDTH);
    EXPECT_EQ(probe["scrolled"], nlohmann::json::array({0, 0})) << "the window scrolled, not the deal table";
    const nlohmann::json& row = probe["row"];
    ASSERT_FALSE(row.is_null()) << "no deal is chosen";
    EXPECT_GE(row["top"].get<double>(), probe["rows_top"].get<double>() - 0.5) << probe;
    EXPECT_LE(row["bottom"].get<double>(), std::min(probe["rows_bottom"].get<double>(), height) + 0.5) << probe;
    ASSERT_FALSE(probe["boards"].empty()) << "the right half is empty";
    EXPECT_LT(probe["boards"][0]["box"]["top"].get<double>(), height);
    const auto inside = [](const nlohmann::json& inner, const nlohmann::json& outer) {
        return inner["left"].get<double>() >= outer["left"].get<double>() - 0.5 &&
               inner["right"].get<double>() <= outer["right"].get<double>() + 0.5;
    };
    for (const nlohmann::json& board : probe["boards"]) {
        EXPECT_TRUE(inside(board["box"], probe["column"])) << board;
        for (const nlohmann::json& part : board["parts"]) EXPECT_TRUE(inside(part, board["box"])) << board;
    }
    EXPECT_GT(probe["words"], 0);
    EXPECT_EQ(probe["cut_words"], 0) << "a command broke inside a word";
}

// The chosen deal's part of the page: its heading and boards.
std::string deal_part(const std::string& dom) {
    const std::string deal = dom.substr(dom.find("<div id=\"deal\""));
    return deal.substr(0, deal.find("<script"));
}

// The texts of the cells of a table row's markup, tags left out.
std::vector<std::string> cells_of(const std::string& row) {
    std::vector<std::string> cells = between(row, "<t", "</t");
    for (std::string& cell : cells) cell.erase(0, cell.find('>') + 1);
    return cells;
}

std::string without_tags(std::string text) {
    for (std::size_t open; (open = text.find('<')) != std::string::npos;) text.erase(open, text.find('>') - open + 1);
    return text;
}

// The lines a fault's message stands for once the player's standard error is in it.
const std::vector<std::string> ERROR_LINES = {"Traceback (most recent call last):",
                                              "  File \"/home/ana/jucatori/jucator.py\", line 12, in main",
                                              "    print(1 / 0)", "ZeroDivisionError: division by zero"};

// The report with every fault's message as long as one that carries the player's standard error.
std::string with_long_messages(const std::string& html) {
    std::string excerpt;
    for (const std::string& line : ERROR_LINES) excerpt += (excerpt.empty() ? "" : " ⏎ ") + line;
    nlohmann::json data = report_page::embedded_data(html);
    for (auto& row : data["rows"]) {
        for (auto& game : row["games"]) {
            if (game["status"] != "ok") game["message"] = game["message"].get<std::string>() + " — " + excerpt;
        }
    }
    const std::string open = "id=\"match-data\">";
    const std::size_t start = html.find(open) + open.size();
    std::string text = data.dump();
    for (std::size_t at; (at = text.find('<')) != std::string::npos;) text.replace(at, 1, "\\u003c");
    return html.substr(0, start) + text + html.substr(html.find("</script>", start));
}

// The deal where `player` fell furthest below the ceiling, from 1; the first of a tie, as the CSV comes by deal.
int weakest_deal(const std::vector<std::vector<std::string>>& csv, const std::string& player) {
    int weakest = -1, most_lost = -1;
    for (const auto& row : csv) {
        if (row[2] != player || row[3] != "ok") continue;
        if (std::stoi(row[9]) - std::stoi(row[4]) > most_lost) {
            most_lost = std::stoi(row[9]) - std::stoi(row[4]);
            weakest = std::stoi(row[0]);
        }
    }
    return weakest;
}

// A player's board as its CSV row tells: its name, the command that replays its game, its cards where the game
// put them, in their rounds.
void expect_board(const std::string& board, const std::vector<std::string>& row,
                  const std::vector<std::string>& command) {
    const std::string caption = between(board, "<figcaption>", "</figcaption>").at(0);
    EXPECT_EQ(caption.substr(0, caption.find(':')), row[2]);
    const std::string replay = without_tags(between(board, "<code class=\"replay\">", "</code>").at(0));
    EXPECT_EQ(replay, game::replay_command(std::stoull(row[1]), command));
    const game::Deck deck = referee::shuffled_deck(std::stoull(row[1]));
    const auto rounds = between(board, "<tr><th scope=\"row\">runda ", "</tr>");
    ASSERT_EQ(rounds.size(), 5u);
    for (std::size_t k = 0; k < row[15].size(); ++k) {
        const std::string shown = cells_of(rounds[k / 4]).at(row[15][k] - '1');
        const std::string token = game::token_of(deck[k]);
        EXPECT_EQ(shown, token.substr(0, token.size() - 1) + game::SUIT_ICONS[deck[k].suit]) << row[2] << ", " << k;
    }
}

TEST(ReportInBrowser, OpensOnTheDealTheBestPlayerLostMostOnWithTheCeilingsBoardFirst) {
    if (chromium().empty()) GTEST_SKIP() << "no Chromium here (scripts/deps.sh test installs the package chromium)";
    const Report report;
    ASSERT_EQ(report.result.exit_code, 1) << report.result.err;
    std::filesystem::create_directories(std::string(GAME_BUILD_DIR) + "/report");
    const Seen seen =
        open_page(report.html(), report.dir.path(), "", std::string(GAME_BUILD_DIR) + "/report/report.png");
    expect_in_view(seen.probe);

    // The standings in the order of the match's own summary, the ceiling last.
    const nlohmann::json summary = report.summary();
    std::vector<std::string> ranked;
    for (const auto& player : summary["players"]) ranked.push_back(player["name"]);
    const std::string standings = seen.dom.substr(seen.dom.find("id=\"standings\""));
    std::vector<std::string> expected = ranked;
    expected.push_back("plafon (ceilscore)");
    EXPECT_EQ(between(standings.substr(0, standings.find("</table>")), "<th scope=\"row\">", "</th>"), expected);

    const auto csv = report.csv();
    const int opening = weakest_deal(csv, ranked[0]);
    const std::string deal = deal_part(seen.dom);
    ASSERT_NE(deal.find("Împărțirea " + std::to_string(opening) + " "), std::string::npos) << deal.substr(0, 300);
    std::map<std::string, std::vector<std::string>> row_of;  // the opening deal's CSV row of each player
    for (const auto& row : csv) {
        if (row[0] == std::to_string(opening)) row_of[row[2]] = row;
    }

    // The deal table's columns, and the cells of the row, in the standings' order.
    const std::string head = between(seen.dom, "<table id=\"deal-table\"><thead>", "</thead>").at(0);
    expected = {"nr.", "plafon"};
    expected.insert(expected.end(), ranked.begin(), ranked.end());
    EXPECT_EQ(between(head, "<th scope=\"col\" class=\"n\">", "</th>"), expected);
    const std::vector<std::string> cells = cells_of(
        between(seen.dom, "<tr tabindex=\"0\" data-deal=\"" + std::to_string(opening - 1) + "\"", "</tr>").at(0));
    ASSERT_EQ(cells.size(), 3 + ranked.size());  // number, sort key, ceiling, players
    for (std::size_t place = 0; place < ranked.size(); ++place) {
        const auto& row = row_of.at(ranked[place]);
        EXPECT_EQ(cells[3 + place], row[3] == "ok" ? row[4] : "✗ " + row[3]) << ranked[place];
    }

    // The ceiling's board, then the players' in the standings' order.
    const auto boards = between(deal, "<figure", "</figure>");
    ASSERT_EQ(boards.size(), 1 + ranked.size());
    EXPECT_NE(boards[0].find("<figcaption>plafon: " + row_of.at(ranked[0])[9] + " puncte"), std::string::npos);
    const std::map<std::string, std::vector<std::string>> commands = {
        {"suit-player", {bin("suit-player")}},
        {"tally-player", {bin("tally-player")}},
        {"inimi+1", {helper("fake-player"), "heart-faults"}}};
    for (std::size_t place = 0; place < ranked.size(); ++place) {
        expect_board(boards[1 + place], row_of.at(ranked[place]), commands.at(ranked[place]));
    }
}

// An address opens a deal far down the table, sorted by a player it names: the row is scrolled into view inside
// the table, and the order is that player's gap to the ceiling, the largest first, its faults last. The fault's
// message, long once the player's standard error is in it, shows that as the lines the player wrote.
TEST(ReportInBrowser, OpensTheAddressedDealSortedByTheNamedPlayersGap) {
    if (chromium().empty()) GTEST_SKIP() << "no Chromium here (scripts/deps.sh test installs the package chromium)";
    const Report report;
    std::map<std::string, std::string> gap;  // by deal number: the value the table shows
    std::string last_fault;                  // the deal of it that the table shows last
    for (const auto& row : report.csv()) {
        if (row[2] != "inimi+1") continue;
        gap[row[0]] = row[3] == "ok" ? std::to_string(std::stoi(row[9]) - std::stoi(row[4])) : "—";
        if (row[3] != "ok") last_fault = row[0];
    }
    ASSERT_FALSE(last_fault.empty());
    const Seen seen =
        open_page(with_long_messages(report.html()), report.dir.path(), "#sort=gap:inimi+1&deal=" + last_fault);
    expect_in_view(seen.probe);
    EXPECT_EQ(seen.probe["sort"], "gap:inimi+1");

    const auto rows = between(between(seen.dom, "<tbody id=\"deal-rows\">", "</tbody>").at(0), "<tr", "</tr>");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(Report::DEALS));
    std::vector<std::string> shown;
    for (const std::string& row : rows) {
        const std::vector<std::string> cells = cells_of(row);
        EXPECT_EQ(cells.at(1), gap.at(cells.at(0))) << "deal " << cells.at(0);
        shown.push_back(cells.at(1));
    }
    const auto faults = std::find(shown.begin(), shown.end(), "—");
    EXPECT_TRUE(std::all_of(faults, shown.end(), [](const std::string& value) { return value == "—"; }));
    EXPECT_TRUE(std::is_sorted(shown.begin(), faults,
                               [](const std::string& a, const std::string& b) { return std::stoi(a) > std::stoi(b); }));
    EXPECT_EQ(cells_of(rows.back()).at(0), last_fault);
    EXPECT_NE(rows.back().find("aria-selected=\"true\""), std::string::npos) << rows.back();

    const auto messages = between(deal_part(seen.dom), "<p class=\"message\">", "</p>");
    ASSERT_EQ(messages.size(), 1u);
    std::string lines = ERROR_LINES[0];
    for (std::size_t n = 1; n < ERROR_LINES.size(); ++n) lines += "<br>" + ERROR_LINES[n];
    EXPECT_EQ(messages[0].substr(messages[0].rfind(" — ") + std::string(" — ").size()), lines);
}

// Without a ceiling the page shows none: no column, board or footnote. A deal past the table's first page is
// turned to, and a sort by a player not in the match is left out.
// The report of a match of one player without a ceiling, made here: more
// deals than a page of rows holds, which a match would take long to play.
std::string report_without_ceiling(int deals) {
    match::MatchConfig config;
    config.deals = deals;
    config.seed = 7;
    config.ceiling = false;
    config.players = {{"suit-player", {bin("suit-player")}}};
    std::vector<match::DealOutcome> outcomes(static_cast<std::size_t>(deals));
    for (int d = 0; d < deals; ++d) {
        outcomes[d].index = d;
        outcomes[d].seed = match::deal_seed(config.seed, d);
        match::GameOutcome game;
        game.score = d % 40;
        game.answers = "12341234123412341234";
        outcomes[d].games = {game};
    }
    return match::match_html(config, match::summarize_match(config, outcomes), outcomes);
}

TEST(ReportInBrowser, AMatchWithoutCeilingShowsNoneAndTurnsToTheAddressedDealsPage) {
    if (chromium().empty()) GTEST_SKIP() << "no Chromium here (scripts/deps.sh test installs the package chromium)";
    const TempDir dir;
    testing_support::write_file(dir.file("m.html"), report_without_ceiling(252));
    const Seen seen = open_page(read_file(dir.file("m.html")), dir.path(), "#sort=score:absent&deal=252");
    expect_in_view(seen.probe);
    EXPECT_EQ(seen.probe["sort"], "deal");
    EXPECT_EQ(between(seen.dom, "<span id=\"page-info\" aria-live=\"polite\">", "</span>").at(0), "251–252 din 252");
    EXPECT_EQ(between(seen.dom, "aria-selected=\"true\"><th scope=\"row\" class=\"n\">", "</th>"),
              std::vector<std::string>{"252"});

    const std::string head = between(seen.dom, "<table id=\"deal-table\"><thead>", "</thead>").at(0);
    EXPECT_EQ(between(head, "<th scope=\"col\" class=\"n\">", "</th>"),
              (std::vector<std::string>{"nr.", "suit-player"}));
    const auto boards = between(deal_part(seen.dom), "<figure", "</figure>");
    ASSERT_EQ(boards.size(), 1u);
    EXPECT_EQ(boards[0].find("<figcaption>suit-player"), boards[0].find("<figcaption>"));
    EXPECT_EQ(seen.dom.find("plafon: partea medie"), std::string::npos);
    EXPECT_EQ(seen.dom.find("<option value=\"gap:"), std::string::npos) << "a sort by the gap to no ceiling";
}

}  // namespace
