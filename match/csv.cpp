#include "match/csv.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "common/cards.h"
#include "common/files.h"
#include "match/settings.h"
#include "match/tables.h"

namespace match {

namespace {

constexpr std::size_t COLUMNS = 18;
enum Column {
    DEAL, DECK_SEED, PLAYER, STATUS, SCORE, CATEGORY1, CEILING = CATEGORY1 + 4, SECONDS, CEILING_SECONDS,
    MATCH_SEED, DEALS, SHARD, ANSWERS, CEILING_ANSWERS, MESSAGE
};

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csv_row(const MatchConfig& config, const DealOutcome& deal, std::size_t p) {
    const GameOutcome& game = deal.games[p];
    const bool ok = game.fault == Fault::none;
    const bool ceiling = deal.ceiling >= 0;
    std::string row = std::to_string(deal.index + 1) + "," + std::to_string(deal.seed) + "," +
                      csv_field(config.players[p].name) + "," + fault_name(game.fault) + "," +
                      (ok ? std::to_string(game.score) : "");
    for (int category : game.categories) row += "," + (ok ? std::to_string(category) : "");
    row += "," + (ceiling ? std::to_string(deal.ceiling) : "") + "," + fixed(game.seconds, 6) + "," +
           (ceiling ? fixed(deal.ceiling_seconds, 6) : "") + "," + std::to_string(config.seed) + "," +
           std::to_string(config.deals) + "," + config.shard.text() + "," + game.answers + "," +
           deal.ceiling_answers + "," + csv_field(game.message);
    return row + "\n";
}

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

std::optional<Fault> fault_named(const std::string& name) {
    for (int f = 0; f <= static_cast<int>(Fault::no_exit); ++f) {
        if (name == fault_name(static_cast<Fault>(f))) return static_cast<Fault>(f);
    }
    return std::nullopt;
}

bool answers_ok(const std::string& answers, std::size_t most) {
    return answers.size() <= most &&
           std::all_of(answers.begin(), answers.end(), [](char c) { return c >= '1' && c <= '4'; });
}

// One row read: its deal, the player's name, the game.
struct Row {
    int deal = 0;
    std::string player;
    GameOutcome game;
    int ceiling = -1;
    double ceiling_seconds = 0;
    std::string ceiling_answers;
};

class RowReader {
public:
    RowReader(const std::string& path, MatchCsv& csv) : path_(path), csv_(csv) {}

    game::Result<Row> read(const std::vector<std::string>& f, int line) {
        const std::string at = path_ + ", rândul " + std::to_string(line) + ": ";
        if (f.size() != COLUMNS) return game::failure(at + "are " + std::to_string(f.size()) + " câmpuri, nu 18");
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
        row.player = f[PLAYER];
        const auto fault = fault_named(f[STATUS]);
        if (!fault || row.player.empty()) return game::failure(at + "starea „" + f[STATUS] + "” nu este a unui joc");
        if (!read_game(f, *fault, row.game) || !read_ceiling(f, row)) {
            return game::failure(at + "scorul, categoriile, timpii sau răspunsurile nu se potrivesc");
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
        if (!seed || !deals || !shard) return game::failure(at + "meciul nu se poate citi");
        if (first_) {
            csv_.seed = *seed;
            csv_.deals = *deals;
            csv_.shard = *shard;
            csv_.ceiling = ceiling;
            first_ = false;
        }
        if (*seed != csv_.seed || *deals != csv_.deals || *shard != csv_.shard || ceiling != csv_.ceiling) {
            return game::failure(at + "alt meci decât cel al primului rând");
        }
        return {};
    }

    static bool read_game(const std::vector<std::string>& f, Fault fault, GameOutcome& game) {
        game.fault = fault;
        game.message = f[MESSAGE];
        game.answers = f[ANSWERS];
        const auto seconds = number_in<double>(f[SECONDS]);
        if (!seconds || !answers_ok(game.answers, game::DEALT)) return false;
        game.seconds = *seconds;
        if (fault != Fault::none) return f[SCORE].empty();
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
    MatchCsv& csv_;
    bool first_ = true;
};

// The players of the file: those of the deal with the most rows.
std::vector<std::string> players_of(const std::map<int, std::vector<Row>>& by_deal) {
    std::vector<std::string> players;
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
    for (const std::string& player : csv.players) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.player == player; });
        outcome.games.push_back(row->game);
    }
    return outcome;
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

game::Result<MatchCsv> read_match_csv(const std::string& path) {
    MatchCsv csv;
    csv.path = path;
    const game::Result<std::string> text = game::read_whole_file(path);
    if (!text) return game::failure(text.error());
    if (text->rfind(std::string(CSV_HEADER) + "\n", 0) != 0) {
        return game::failure(path + ": nu este un CSV scris de match (primul rând nu este antetul lui)");
    }
    Records records = split_records(*text);
    csv.torn = records.torn;
    RowReader reader(path, csv);
    std::map<int, std::vector<Row>> by_deal;
    for (std::size_t r = 1; r < records.rows.size(); ++r) {
        game::Result<Row> row = reader.read(records.rows[r], records.lines[r]);
        if (!row) return game::failure(row.error());
        std::vector<Row>& rows = by_deal[row->deal];
        if (std::any_of(rows.begin(), rows.end(), [&](const Row& other) { return other.player == row->player; })) {
            return game::failure(path + ": împărțirea " + std::to_string(row->deal + 1) +
                                 " are de două ori rândul lui " + row->player);
        }
        rows.push_back(std::move(*row));
    }
    csv.players = players_of(by_deal);
    for (const auto& [deal, rows] : by_deal) {
        for (const Row& row : rows) {
            if (std::find(csv.players.begin(), csv.players.end(), row.player) == csv.players.end()) {
                return game::failure(path + ": împărțirea " + std::to_string(deal + 1) +
                                     " are alți jucători decât celelalte");
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
