#include "match/csv.h"

#include "match/tables.h"

namespace match {

namespace {

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    std::string text = "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds\n";
    for (std::size_t d = 0; d < deals.size(); ++d) {
        const DealOutcome& deal = deals[d];
        for (std::size_t p = 0; p < config.players.size(); ++p) {
            const GameOutcome& game = deal.games[p];
            const bool ok = game.fault == Fault::none;
            text += std::to_string(d + 1) + "," + std::to_string(deal.seed) + "," + csv_field(config.players[p].name) +
                    "," + fault_name(game.fault) + "," + (ok ? std::to_string(game.score) : "");
            for (int category : game.categories) text += "," + (ok ? std::to_string(category) : "");
            text += "," + (deal.ceiling >= 0 ? std::to_string(deal.ceiling) : "") + "," + fixed(game.seconds, 6) + "\n";
        }
    }
    return text;
}

}  // namespace match
