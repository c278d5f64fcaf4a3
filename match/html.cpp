#include "match/html.h"

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "common/cards.h"
#include "common/sandbox.h"
#include "common/shell_words.h"
#include "match/report_assets.h"
#include "match/svg.h"
#include "match/tables.h"
#include "match/wording.h"
#include "referee/shuffle.h"

namespace match {

namespace {

std::string table_html(const TableCells& cells, std::size_t ceiling_row) {
    std::string html = "<table><thead><tr>";
    for (const TableColumn& column : cells.columns) {
        html += "<th scope=\"col\"" + std::string(column.right ? " class=\"n\"" : "") + ">" +
                markup_escaped(column.header) + "</th>";
    }
    html += "</tr></thead><tbody>";
    for (std::size_t r = 0; r < cells.rows.size(); ++r) {
        html += r == ceiling_row ? "<tr class=\"ceiling\">" : "<tr>";
        for (std::size_t c = 0; c < cells.rows[r].size(); ++c) {
            const char* tag = c == 0 ? "th scope=\"row\"" : "td";
            html += std::string("<") + tag + (cells.columns[c].right ? " class=\"n\"" : "") + ">" +
                    markup_escaped(cells.rows[r][c]) + (c == 0 ? "</th>" : "</td>");
        }
        html += "</tr>";
    }
    return html + "</tbody></table>";
}

std::string faults_html(const MatchSummary& summary) {
    if (summary.faults.empty()) return "";
    std::string html = "<h2>Greșeli</h2><ul>";
    for (const PlayerFaults& f : summary.faults) {
        html += "<li><strong>" + markup_escaped(f.player) + "</strong>:";
        const char* separator = " ";
        for (const FaultCount& kind : f.kinds) {
            html += separator + std::to_string(kind.count) + " × " + markup_escaped(kind.kind);
            separator = ", ";
        }
        if (f.not_played > 0) html += "; oprit după greșeli la rând, " + std::to_string(f.not_played) + " nejucate";
        html += "; prima, la împărțirea " + std::to_string(f.first_deal) + " (" + markup_escaped(f.first_kind) +
                "): <span class=\"message\">" + markup_escaped(f.first_message) + "</span>";
        if (!f.replay.empty()) html += "<br><code class=\"replay\">" + markup_escaped(f.replay) + "</code>";
        html += "</li>";
    }
    return html + "</ul>";
}

// The four categories of a board whose answers are complete, as digits.
std::string ceiling_categories(const game::Deck& deck, const std::string& answers) {
    game::Deal placed{};
    for (int k = 0; k < game::DEALT; ++k) placed[k] = {deck[k], answers[k] - '1'};
    const auto columns = game::columns_of(placed);
    std::string digits;
    for (const auto& column : columns) digits += static_cast<char>('0' + game::category(column));
    return digits;
}

// A game's fields; a game that faulted has no score, and no categories.
nlohmann::json game_json(const GameOutcome& game) {
    const bool ok = scored(game);
    std::string categories;
    if (ok) {
        for (int category : game.categories) categories += static_cast<char>('0' + category);
    }
    return {{"status", status_name(game)},
            {"score", ok ? nlohmann::json(game.score) : nlohmann::json()},
            {"answers", game.answers},
            {"categories", categories},
            {"message", game.message}};
}

// The ceiling of a deal as a game's fields, or null where none was asked for.
nlohmann::json ceiling_json(const DealOutcome& deal, const game::Deck& deck) {
    if (deal.ceiling < 0) return nullptr;
    return {{"score", deal.ceiling},
            {"answers", deal.ceiling_answers},
            {"categories", ceiling_categories(deck, deal.ceiling_answers)}};
}

// The seed is text: a JSON number past 2^53 would lose digits in the browser.
nlohmann::json deal_json(const DealOutcome& deal) {
    const game::Deck deck = referee::shuffled_deck(deal.seed);
    std::string cards;
    for (int k = 0; k < game::DEALT; ++k) cards += static_cast<char>('a' + game::code_of(deck[k]));
    nlohmann::json games = nlohmann::json::array();
    for (const GameOutcome& game : deal.games) games.push_back(game_json(game));
    return {{"deal", deal.index},
            {"seed", std::to_string(deal.seed)},
            {"cards", cards},
            {"ceiling", ceiling_json(deal, deck)},
            {"games", games}};
}

// The skeleton with each {{name}} replaced by its part. What is put in is not
// read again, so no text in a part (a player's name, say) can pass for a
// placeholder; a name without a part stays as it is, for the tests to see.
std::string filled(std::string_view skeleton, const std::map<std::string_view, std::string>& parts) {
    std::string page;
    std::size_t at = 0;
    for (std::size_t open = skeleton.find("{{"); open != std::string_view::npos; open = skeleton.find("{{", at)) {
        const std::size_t close = skeleton.find("}}", open);
        if (close == std::string_view::npos) break;
        const auto part = parts.find(skeleton.substr(open + 2, close - open - 2));
        page += skeleton.substr(at, (part == parts.end() ? close + 2 : open) - at);
        if (part != parts.end()) page += part->second;
        at = close + 2;
    }
    page += skeleton.substr(at);
    return page;
}

// The sandbox the games were played in; a merge knows only the CSVs, which do not tell.
std::string isolation_text(const MatchConfig& config) {
    return config.sandbox ? config.sandbox->isolation().summary() : "necunoscută (meci unit din CSV-uri)";
}

// The players as the page names them, with their place in the standings (from 1): the games of a deal stay in
// the players' order, the page shows them in this one.
nlohmann::json players_json(const MatchConfig& config, const MatchSummary& summary) {
    std::vector<std::size_t> ranks(config.players.size());
    for (std::size_t place = 0; place < summary.players.size(); ++place) {
        ranks[summary.players[place].player] = place + 1;
    }
    nlohmann::json players = nlohmann::json::array();
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        const Player& player = config.players[p];
        players.push_back({{"name", player.name}, {"command", game::shell_quoted(player.command)}, {"rank", ranks[p]}});
    }
    return players;
}

// The deal the page opens on, for an author to see first where the best player is weakest: the one it lost most
// to the ceiling on or, without a ceiling, scored least on; on a tie the first (the deals come by index). The first
// deal when it scored on none, -1 when there is no deal.
int opening_deal(const MatchConfig& config, const MatchSummary& summary, const std::vector<DealOutcome>& deals) {
    if (deals.empty()) return -1;
    int chosen = deals.front().index;
    if (summary.players.empty()) return chosen;
    const std::size_t best = summary.players.front().player;
    std::optional<int> worst;  // the most it lost on a deal
    for (const DealOutcome& deal : deals) {
        const GameOutcome& game = deal.games[best];
        if (!scored(game)) continue;
        const int lost = config.ceiling ? deal.ceiling - game.score : -game.score;
        if (!worst || lost > *worst) {
            worst = lost;
            chosen = deal.index;
        }
    }
    return chosen;
}

// With --decide, its table under its heading; nothing otherwise.
std::string decisions_html(const MatchSummary& summary) {
    if (!summary.decide) return "";
    return "<section id=\"decisions\"><h2>Hotărârile</h2><p class=\"note\">" +
           markup_escaped(decisions_heading(summary)) + "</p>" + table_html(decisions_cells(summary), std::size_t(-1)) +
           "</section>";
}

// What the standings' ceiling columns mean, for a match that has them.
std::string ceiling_note(const MatchConfig& config) {
    if (!config.ceiling) return "";
    return "<p class=\"note\">plafon: partea medie din plafonul împărțirii; atins: cât de des l-a atins</p>";
}

// The deal table's score columns: the ceiling's, then the players' in the standings' order.
std::string deal_columns(const MatchConfig& config, const MatchSummary& summary) {
    std::string html = config.ceiling ? "<th scope=\"col\" class=\"n\">plafon</th>" : "";
    for (const Standing& standing : summary.players) {
        html += "<th scope=\"col\" class=\"n\">" + markup_escaped(standing.name) + "</th>";
    }
    return html;
}

}  // namespace

std::string report_data(const MatchConfig& config, const MatchSummary& summary,
                        const std::vector<DealOutcome>& deals) {
    nlohmann::json rows = nlohmann::json::array();
    for (const DealOutcome& deal : deals) rows.push_back(deal_json(deal));
    const nlohmann::json data = {{"seed", std::to_string(config.seed)},
                                 {"deals", config.deals},
                                 {"ceiling", config.ceiling},
                                 {"players", players_json(config, summary)},
                                 {"opening", opening_deal(config, summary, deals)},
                                 {"categories", game::CATEGORY_NAMES_RO},
                                 {"points", game::CATEGORY_POINTS},
                                 {"rows", rows}};
    // Inside <script> neither "</script" nor "<!--" may appear; in JSON a '<' only stands in strings, where
    // \u003c is the same.
    std::string text;
    for (char c : data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) {
        text += c == '<' ? std::string("\\u003c") : std::string(1, c);
    }
    return text;
}

std::string match_html(const MatchConfig& config, const MatchSummary& summary, const std::vector<DealOutcome>& deals) {
    const std::string title =
        "Meci: " + part_of(summary.deals, summary.total_deals, DEALS_NOUN) + ", sămânța " + std::to_string(config.seed);
    std::string svg = match_svg(summary, config.seed);
    svg.erase(0, svg.find("<svg"));
    const std::size_t ceiling_row = summary.ceiling ? summary.players.size() : std::size_t(-1);
    return filled(REPORT_HTML, {{"title", markup_escaped(title)},
                                {"style", std::string(REPORT_CSS)},
                                {"isolation", markup_escaped(isolation_text(config))},
                                {"standings", table_html(standings_cells(summary), ceiling_row)},
                                {"ceiling_note", ceiling_note(config)},
                                {"deal_columns", deal_columns(config, summary)},
                                {"pairs", table_html(pairs_cells(summary), std::size_t(-1))},
                                {"decisions", decisions_html(summary)},
                                {"faults", faults_html(summary)},
                                {"distributions", svg},
                                {"data", report_data(config, summary, deals)},
                                {"script", std::string(REPORT_JS)}});
}

}  // namespace match
