#include "match/csv.h"

#include <algorithm>

#include "common/shell_words.h"
#include "match/csv_columns.h"
#include "match/tables.h"

namespace match {

namespace {

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csv_row(const MatchConfig& config, const DealOutcome& deal, std::size_t p) {
    const GameOutcome& game = deal.games[p];
    const bool ok = scored(game);
    const bool ceiling = deal.ceiling >= 0;
    std::string row = std::to_string(deal.index + 1) + "," + std::to_string(deal.seed) + "," +
                      csv_field(config.players[p].name) + "," + status_name(game) + "," +
                      (ok ? std::to_string(game.score) : "");
    for (int category : game.categories) row += "," + (ok ? std::to_string(category) : "");
    row += "," + (ceiling ? std::to_string(deal.ceiling) : "") + "," + fixed(game.seconds, 6) + "," +
           (ceiling ? fixed(deal.ceiling_seconds, 6) : "") + "," + std::to_string(config.seed) + "," +
           std::to_string(config.deals) + "," + config.shard.text() + "," + game.answers + "," +
           deal.ceiling_answers + "," + csv_field(game.message) + "," +
           csv_field(game::shell_quoted(config.players[p].command)) + "," + std::to_string(config.timeout_ms);
    return row + "\n";
}

}  // namespace

std::string csv_rows(const MatchConfig& config, const DealOutcome& deal) {
    std::string rows;
    for (std::size_t p = 0; p < config.players.size(); ++p) rows += csv_row(config, deal, p);
    return rows;
}

std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    std::vector<const DealOutcome*> sorted;
    for (const DealOutcome& deal : deals) sorted.push_back(&deal);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->index < b->index; });
    std::string text = std::string(CSV_HEADER) + "\n";
    for (const DealOutcome* deal : sorted) text += csv_rows(config, *deal);
    return text;
}

std::string names_of(const std::vector<Player>& players) {
    std::string names;
    for (const Player& player : players) names += (names.empty() ? "" : ", ") + player.name;
    return names;
}

}  // namespace match
