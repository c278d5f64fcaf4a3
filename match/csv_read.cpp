// Reading a match's CSV back: a line at a time, each row checked on its own
// (csv_row.h) and against the match the first row names, so that no file of
// another match, nor a hand edit that breaks one, passes for this one. What
// it holds grows with the rows present, never with a number a row claims.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "match/csv.h"
#include "match/csv_columns.h"
#include "match/csv_lines.h"
#include "match/csv_row.h"
#include "match/settings.h"

namespace match {

namespace {

// A row as read, and the line it stands on.
struct PlacedRow {
    CsvRow row;
    int line = 0;
};

using DealRows = std::map<int, std::vector<PlacedRow>>;  // by deal index, each in the file's order

std::string at(const std::string& path, int line) { return path + ", rândul " + std::to_string(line) + ": "; }

// Whether the header names the players' commands; nothing for a file that is not a match's CSV.
std::optional<bool> commands_in_header(const std::optional<CsvLine>& line) {
    if (!line || line->torn) return std::nullopt;
    if (line->text == CSV_HEADER) return true;
    if (line->text == CSV_HEADER_WITHOUT_COMMANDS) return false;
    return std::nullopt;
}

game::Result<CsvRow> row_in(const std::string& line, bool has_commands) {
    const auto fields = csv_fields(line, csv_column_names());
    if (!fields) return game::failure(fields.error());
    return read_csv_row(*fields, has_commands);
}

// Each row goes to its deal, which holds a player's row once, and one row a player.
game::Status file_row(DealRows& deals, PlacedRow placed) {
    std::vector<PlacedRow>& rows = deals[placed.row.deal];
    const std::string& name = placed.row.player.name;
    if (std::any_of(rows.begin(), rows.end(), [&](const PlacedRow& other) { return other.row.player.name == name; })) {
        return game::failure("împărțirea " + std::to_string(placed.row.deal + 1) + " are deja rândul lui " + name);
    }
    if (game::Status counted = player_count_in(rows.size() + 1); !counted) return counted;
    rows.push_back(std::move(placed));
    return {};
}

// The rows after the header, by deal; the match is the first row's.
game::Result<DealRows> rows_by_deal(std::FILE* file, MatchCsv& csv) {
    DealRows deals;
    CsvMatch first;
    for (int line = 2;; ++line) {
        const auto next = next_csv_line(file);
        if (!next) return game::failure(at(csv.path, line) + next.error());
        csv.torn = *next && (*next)->torn;
        if (!*next || csv.torn) {
            if (deals.empty()) {
                return game::failure(at(csv.path, line) + "lipsește: fără niciun rând, fișierul nu spune ce meci este");
            }
            return deals;
        }
        game::Result<CsvRow> row = row_in((*next)->text, csv.has_commands);
        if (!row) return game::failure(at(csv.path, line) + row.error());
        if (deals.empty()) first = row->match;
        if (const std::string differs = match_difference(first, row->match); !differs.empty()) {
            return game::failure(at(csv.path, line) + "alt meci decât cel al primului rând (" + differs + ")");
        }
        if (game::Status filed = file_row(deals, {std::move(*row), line}); !filed) {
            return game::failure(at(csv.path, line) + filed.error());
        }
    }
}

// The players of the file: those of the deal with the most rows, in its order.
std::vector<Player> players_of(const DealRows& deals) {
    std::vector<Player> players;
    for (const auto& [deal, rows] : deals) {
        if (rows.size() <= players.size()) continue;
        players.clear();
        for (const PlacedRow& placed : rows) players.push_back(placed.row.player);
    }
    return players;
}

// A deal's rows are the players' and say the same of the deal's ceiling.
game::Status check_deal(const MatchCsv& csv, const std::vector<PlacedRow>& rows) {
    const CsvRow& first = rows.front().row;
    for (const PlacedRow& placed : rows) {
        const CsvRow& row = placed.row;
        if (std::find(csv.players.begin(), csv.players.end(), row.player) == csv.players.end()) {
            return game::failure(at(csv.path, placed.line) + "jucătorul " + row.player.name +
                                 " nu este al meciului, sau are altă comandă (jucătorii: " + names_of(csv.players) +
                                 ")");
        }
        if (row.ceiling != first.ceiling || row.ceiling_seconds != first.ceiling_seconds ||
            row.ceiling_answers != first.ceiling_answers) {
            return game::failure(at(csv.path, placed.line) + "plafonul nu este cel din rândul " +
                                 std::to_string(rows.front().line) + ", al aceleiași împărțiri");
        }
    }
    return {};
}

// A complete deal's outcome, its games in the players' order.
DealOutcome outcome_of(const MatchCsv& csv, int deal, const std::vector<PlacedRow>& rows) {
    const CsvRow& first = rows.front().row;
    DealOutcome outcome;
    outcome.index = deal;
    outcome.seed = deal_seed(csv.seed, deal);
    outcome.ceiling = first.ceiling;
    outcome.ceiling_seconds = first.ceiling_seconds;
    outcome.ceiling_answers = first.ceiling_answers;
    for (const Player& player : csv.players) {
        const auto placed = std::find_if(rows.begin(), rows.end(),
                                         [&](const PlacedRow& p) { return p.row.player.name == player.name; });
        outcome.games.push_back(placed->row.game);
    }
    return outcome;
}

void take_match(MatchCsv& csv, const CsvMatch& match) {
    csv.seed = match.seed;
    csv.deals = match.deals;
    csv.shard = match.shard;
    csv.ceiling = match.ceiling;
    csv.timeout_ms = match.timeout_ms;
}

}  // namespace

game::Result<MatchCsv> read_match_csv(std::FILE* file, const std::string& path) {
    MatchCsv csv;
    csv.path = path;
    const auto header = next_csv_line(file);
    if (!header) return game::failure(at(path, 1) + header.error());
    const std::optional<bool> has_commands = commands_in_header(*header);
    if (!has_commands) return game::failure(at(path, 1) + "nu este antetul unui CSV scris de match");
    csv.has_commands = *has_commands;
    const game::Result<DealRows> deals = rows_by_deal(file, csv);
    if (!deals) return game::failure(deals.error());
    take_match(csv, deals->begin()->second.front().row.match);
    csv.players = players_of(*deals);
    for (const auto& [deal, rows] : *deals) {
        if (game::Status checked = check_deal(csv, rows); !checked) return game::failure(checked.error());
        if (rows.size() < csv.players.size()) {
            ++csv.incomplete_deals;
            continue;
        }
        csv.outcomes.push_back(outcome_of(csv, deal, rows));
        csv.lines.push_back(rows.front().line);
    }
    return csv;
}

game::Result<MatchCsv> read_match_csv(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rbe"), std::fclose);
    if (!file) return game::failure(path + ": nu se poate deschide: " + std::strerror(errno));
    return read_match_csv(file.get(), path);
}

}  // namespace match
