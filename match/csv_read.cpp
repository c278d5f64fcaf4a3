// Reading a match's CSV back: every row is checked against the match the
// first row names, so that no file of another match, nor a hand edit that
// breaks one, passes for this one.
#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "common/cards.h"
#include "common/files.h"
#include "common/shell_words.h"
#include "match/csv.h"
#include "match/csv_columns.h"
#include "match/settings.h"

namespace match {

using namespace csv_columns;

namespace {

// The records of a CSV text, each with the line it starts on. A last record
// that the text cuts short (no line end after it) is left out.
struct Records {
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lines;
    bool torn = false;
};

Records split_records(const std::string& text) {
    Records records;
    std::vector<std::string> fields(1);
    bool quoted = false;
    int line = 1, start_line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n';
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            records.rows.push_back(std::move(fields));
            records.lines.push_back(start_line);
            fields.assign(1, "");
            start_line = ++line;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    records.torn = fields.size() > 1 || !fields[0].empty() || quoted;
    return records;
}

template <typename Number>
std::optional<Number> number_in(const std::string& text) {
    Number value{};
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failed != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The game's status: a fault's name, "ok", or a game not played.
std::optional<GameOutcome> status_named(const std::string& name) {
    GameOutcome game;
    game.played = name != NOT_PLAYED;
    for (int f = 0; f <= static_cast<int>(Fault::no_exit) && game.played; ++f) {
        game.fault = static_cast<Fault>(f);
        if (name == fault_name(game.fault)) return game;
    }
    return game.played ? std::nullopt : std::optional(game);
}

bool answers_ok(const std::string& answers, std::size_t most) {
    return answers.size() <= most &&
           std::all_of(answers.begin(), answers.end(), [](char c) { return c >= '1' && c <= '4'; });
}

// One row read: its deal, the player's name, the game.
struct Row {
    int deal = 0;
    Player player;
    GameOutcome game;
    int ceiling = -1;
    double ceiling_seconds = 0;
    std::string ceiling_answers;
};

class RowReader {
public:
    RowReader(const std::string& path, std::size_t columns, MatchCsv& csv)
        : path_(path), columns_(columns), csv_(csv) {}

    game::Result<Row> read(const std::vector<std::string>& f, int line) {
        const std::string at = path_ + ", rândul " + std::to_string(line) + ": ";
        if (f.size() != columns_) {
            return game::failure(at + "are " + std::to_string(f.size()) + " câmpuri, nu " + std::to_string(columns_));
        }
        if (game::Status same = same_match(f, at); !same) return game::failure(same.error());
        const auto deal = number_in<int>(f[DEAL]);
        if (!deal || *deal < 1 || *deal > csv_.deals) {
            return game::failure(at + "împărțirea „" + f[DEAL] + "” nu există");
        }
        Row row;
        row.deal = *deal - 1;
        if (number_in<std::uint64_t>(f[DECK_SEED]) != deal_seed(csv_.seed, row.deal)) {
            return game::failure(at + "sămânța pachetului nu este a împărțirii " + f[DEAL]);
        }
        row.player.name = f[PLAYER];
        const auto game = status_named(f[STATUS]);
        if (!game || row.player.name.empty()) return game::failure(at + "starea „" + f[STATUS] + "” nu este a unui joc");
        row.game = *game;
        if (!read_game(f, row.game) || !read_ceiling(f, row)) {
            return game::failure(at + "scorul, categoriile, timpii sau răspunsurile nu se potrivesc");
        }
        if (columns_ == COLUMNS) {
            auto command = game::shell_words(f[COMMAND]);
            if (!command || command->empty()) return game::failure(at + "comanda jucătorului nu se poate citi");
            row.player.command = std::move(*command);
        }
        return row;
    }

private:
    // Every row names the same match as the first.
    game::Status same_match(const std::vector<std::string>& f, const std::string& at) {
        const auto seed = number_in<std::uint64_t>(f[MATCH_SEED]);
        const auto deals = deals_in("deals", f[DEALS]);
        const auto shard = shard_in("shard", f[SHARD]);
        const bool ceiling = !f[CEILING].empty();
        const auto timeout = columns_ == COLUMNS ? number_in<int>(f[TIMEOUT_MS]) : std::optional(0);
        if (!seed || !deals || !shard || !timeout || *timeout < 0) return game::failure(at + "meciul nu se poate citi");
        if (first_) {
            csv_.seed = *seed;
            csv_.deals = *deals;
            csv_.shard = *shard;
            csv_.ceiling = ceiling;
            csv_.timeout_ms = *timeout;
            first_ = false;
        }
        if (*seed != csv_.seed || *deals != csv_.deals || *shard != csv_.shard || ceiling != csv_.ceiling ||
            *timeout != csv_.timeout_ms) {
            return game::failure(at + "alt meci decât cel al primului rând");
        }
        return {};
    }

    static bool read_game(const std::vector<std::string>& f, GameOutcome& game) {
        game.message = f[MESSAGE];
        game.answers = f[ANSWERS];
        const auto seconds = number_in<double>(f[SECONDS]);
        if (!seconds || !answers_ok(game.answers, game::DEALT)) return false;
        game.seconds = *seconds;
        if (!game.played) return f[SCORE].empty() && game.answers.empty();
        if (game.fault != Fault::none) return f[SCORE].empty();
        const auto score = number_in<int>(f[SCORE]);
        if (!score || *score < 0 || game.answers.size() != game::DEALT) return false;
        game.score = *score;
        for (int c = 0; c < game::COLUMNS; ++c) {
            const auto category = number_in<int>(f[CATEGORY1 + c]);
            if (!category || *category < 0 || *category >= game::CATEGORIES) return false;
            game.categories[c] = *category;
        }
        return true;
    }

    static bool read_ceiling(const std::vector<std::string>& f, Row& row) {
        if (f[CEILING].empty()) return f[CEILING_SECONDS].empty() && f[CEILING_ANSWERS].empty();
        const auto ceiling = number_in<int>(f[CEILING]);
        const auto seconds = number_in<double>(f[CEILING_SECONDS]);
        if (!ceiling || !seconds || f[CEILING_ANSWERS].size() != game::DEALT || !answers_ok(f[CEILING_ANSWERS], 20)) {
            return false;
        }
        row.ceiling = *ceiling;
        row.ceiling_seconds = *seconds;
        row.ceiling_answers = f[CEILING_ANSWERS];
        return true;
    }

    const std::string& path_;
    const std::size_t columns_;
    MatchCsv& csv_;
    bool first_ = true;
};

// The players of the file: those of the deal with the most rows.
std::vector<Player> players_of(const std::map<int, std::vector<Row>>& by_deal) {
    std::vector<Player> players;
    for (const auto& [deal, rows] : by_deal) {
        if (rows.size() <= players.size()) continue;
        players.clear();
        for (const Row& row : rows) players.push_back(row.player);
    }
    return players;
}

// A complete deal's outcome, its games in the players' order.
DealOutcome outcome_of(const MatchCsv& csv, int deal, const std::vector<Row>& rows) {
    DealOutcome outcome;
    outcome.index = deal;
    outcome.seed = deal_seed(csv.seed, deal);
    outcome.ceiling = rows[0].ceiling;
    outcome.ceiling_seconds = rows[0].ceiling_seconds;
    outcome.ceiling_answers = rows[0].ceiling_answers;
    for (const Player& player : csv.players) {
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.player.name == player.name; });
        outcome.games.push_back(row->game);
    }
    return outcome;
}

// The number of columns the file's header names; 0 for a file that is not a match's CSV.
std::size_t columns_of(const std::string& text) {
    for (const auto& [header, columns] :
         {std::pair{CSV_HEADER, COLUMNS}, std::pair{CSV_HEADER_WITHOUT_COMMANDS, COLUMNS_WITHOUT_COMMANDS}}) {
        if (text.rfind(std::string(header) + "\n", 0) == 0) return columns;
    }
    return 0;
}

// The rows of the file, by deal; a deal holds a player's row once.
game::Result<std::map<int, std::vector<Row>>> rows_by_deal(const std::string& path, const Records& records,
                                                           RowReader& reader) {
    std::map<int, std::vector<Row>> by_deal;
    for (std::size_t r = 1; r < records.rows.size(); ++r) {
        game::Result<Row> row = reader.read(records.rows[r], records.lines[r]);
        if (!row) return game::failure(row.error());
        std::vector<Row>& rows = by_deal[row->deal];
        const std::string& name = row->player.name;
        if (std::any_of(rows.begin(), rows.end(), [&](const Row& other) { return other.player.name == name; })) {
            return game::failure(path + ": împărțirea " + std::to_string(row->deal + 1) +
                                 " are de două ori rândul lui " + name);
        }
        rows.push_back(std::move(*row));
    }
    return by_deal;
}

}  // namespace

game::Result<MatchCsv> read_match_csv(const std::string& path) {
    MatchCsv csv;
    csv.path = path;
    const game::Result<std::string> text = game::read_whole_file(path);
    if (!text) return game::failure(text.error());
    const std::size_t columns = columns_of(*text);
    if (columns == 0) return game::failure(path + ": nu este un CSV scris de match (primul rând nu este antetul lui)");
    csv.has_commands = columns == COLUMNS;
    const Records records = split_records(*text);
    csv.torn = records.torn;
    RowReader reader(path, columns, csv);
    const auto by_deal = rows_by_deal(path, records, reader);
    if (!by_deal) return game::failure(by_deal.error());
    csv.players = players_of(*by_deal);
    for (const auto& [deal, rows] : *by_deal) {
        for (const Row& row : rows) {
            if (std::find(csv.players.begin(), csv.players.end(), row.player) == csv.players.end()) {
                return game::failure(path + ": împărțirea " + std::to_string(deal + 1) +
                                     " are alți jucători, sau alte comenzi, decât celelalte");
            }
        }
        if (rows.size() < csv.players.size()) {
            ++csv.incomplete_deals;
            continue;
        }
        csv.outcomes.push_back(outcome_of(csv, deal, rows));
    }
    return csv;
}

}  // namespace match
