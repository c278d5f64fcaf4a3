#include "match/csv_row.h"

#include <algorithm>
#include <charconv>

#include "common/int_scanner.h"
#include "common/record.h"
#include "common/shell_words.h"
#include "match/csv.h"
#include "match/csv_columns.h"
#include "match/settings.h"
#include "referee/cli.h"
#include "referee/shuffle.h"

namespace match {

using namespace csv_columns;

namespace {

constexpr int MAX_SCORE = game::COLUMNS * game::CATEGORY_POINTS.back();
constexpr int MAX_SECONDS = 10'000'000;

std::string column_option(int column) { return "coloana " + csv_column_names()[column]; }

std::string invalid(int column, const std::string& why) {
    return "valoare invalidă pentru " + column_option(column) + ": " + why;
}

std::string quoted(const std::string& text) { return "„" + cli::shown_value(text) + "”"; }

// No byte that the writer never writes and a terminal might obey.
game::Status without_control_bytes(const std::vector<std::string>& fields) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
        const auto control = std::find_if(fields[c].begin(), fields[c].end(), [](char b) {
            return static_cast<unsigned char>(b) < 0x20 || b == 0x7f;
        });
        if (control != fields[c].end()) {
            return game::failure(invalid(static_cast<int>(c), "un octet de control (" +
                                                                  game::printable(std::string(1, *control)) + ")"));
        }
    }
    return {};
}

game::Result<int> int_in(int column, const std::string& text, int min, int max) {
    const auto number = cli::number_in(column_option(column), text, static_cast<std::uint64_t>(min),
                                       static_cast<std::uint64_t>(max));
    if (!number) return game::failure(number.error());
    return static_cast<int>(*number);
}

// A time in seconds, far above any game's (20 answers at the longest wait).
game::Result<double> seconds_in(int column, const std::string& text) {
    double value = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failed != std::errc() || end != text.data() + text.size() || text.empty() || !(value >= 0) ||
        value > MAX_SECONDS) {
        return game::failure(invalid(column, "nu este un număr de secunde între 0 și " +
                                                 std::to_string(MAX_SECONDS) + ": " + quoted(text)));
    }
    return value;
}

// At most 20 columns 1..4, none of them twice in a round.
game::Result<std::string> answers_in(int column, const std::string& text) {
    bool kept = text.size() <= static_cast<std::size_t>(game::DEALT);
    for (std::size_t i = 0; i < text.size() && kept; ++i) {
        const std::size_t round_start = i - i % game::COLUMNS;
        kept = text[i] >= '1' && text[i] <= '4' && text.find(text[i], round_start) == i;
    }
    if (kept) return text;
    return game::failure(
        invalid(column, "nu sunt cel mult 20 de coloane 1..4, fiecare o dată pe rundă: " + quoted(text)));
}

// The board that 20 answers make of the deal's cards, scored.
game::GameRecord board_of(const game::Deck& deck, const std::string& answers) {
    game::Deal cards{};
    for (int i = 0; i < game::DEALT; ++i) cards[i] = {deck[i], answers[i] - '1'};
    return game::scored_record(cards);
}

// A finished game's score and categories: those its answers make.
game::Status read_score(const std::vector<std::string>& f, const game::Deck& deck, GameOutcome& game) {
    if (game.answers.size() != game::DEALT) {
        return game::failure(invalid(ANSWERS, "un joc „ok” are 20 de răspunsuri, nu " + quoted(game.answers)));
    }
    const game::GameRecord board = board_of(deck, game.answers);
    for (int c = 0; c < game::COLUMNS; ++c) {
        const auto category = int_in(CATEGORY1 + c, f[CATEGORY1 + c], 0, game::CATEGORIES - 1);
        if (!category) return game::failure(category.error());
        if (*category != board.categories[c]) {
            return game::failure(invalid(CATEGORY1 + c, "răspunsurile fac " + std::to_string(board.categories[c]) +
                                                            ", nu " + f[CATEGORY1 + c]));
        }
        game.categories[c] = *category;
    }
    const auto score = int_in(SCORE, f[SCORE], 0, MAX_SCORE);
    if (!score) return game::failure(score.error());
    if (*score != board.total) {
        return game::failure(invalid(SCORE, "răspunsurile fac " + std::to_string(board.total) + ", nu " + f[SCORE]));
    }
    game.score = *score;
    return {};
}

game::Status read_game(const std::vector<std::string>& f, const game::Deck& deck, GameOutcome& game) {
    const auto seconds = seconds_in(SECONDS, f[SECONDS]);
    if (!seconds) return game::failure(seconds.error());
    game.seconds = *seconds;
    const auto answers = answers_in(ANSWERS, f[ANSWERS]);
    if (!answers) return game::failure(answers.error());
    game.answers = *answers;
    game.message = f[MESSAGE];
    if (scored(game)) return read_score(f, deck, game);
    for (const int c : {int{SCORE}, CATEGORY1 + 0, CATEGORY1 + 1, CATEGORY1 + 2, CATEGORY1 + 3}) {
        if (!f[c].empty()) return game::failure(invalid(c, "doar un joc „ok” are scor: " + quoted(f[c])));
    }
    if (!game.played && !game.answers.empty()) {
        return game::failure(invalid(ANSWERS, "un joc nejucat nu are răspunsuri: " + quoted(game.answers)));
    }
    return {};
}

// The deal's ceiling, when the match searched for it: its arrangement makes
// it, and no finished game scored more.
game::Status read_ceiling(const std::vector<std::string>& f, const game::Deck& deck, CsvRow& row) {
    if (!row.match.ceiling) {
        for (const Column c : {CEILING_SECONDS, CEILING_ANSWERS}) {
            if (!f[c].empty()) return game::failure(invalid(c, "fără plafon rămâne goală: " + quoted(f[c])));
        }
        return {};
    }
    const auto ceiling = int_in(CEILING, f[CEILING], 0, MAX_SCORE);
    if (!ceiling) return game::failure(ceiling.error());
    const auto seconds = seconds_in(CEILING_SECONDS, f[CEILING_SECONDS]);
    if (!seconds) return game::failure(seconds.error());
    const auto answers = answers_in(CEILING_ANSWERS, f[CEILING_ANSWERS]);
    if (!answers) return game::failure(answers.error());
    if (answers->size() != game::DEALT || board_of(deck, *answers).total != *ceiling) {
        return game::failure(invalid(CEILING_ANSWERS, "nu fac plafonul, " + f[CEILING]));
    }
    if (scored(row.game) && row.game.score > *ceiling) {
        return game::failure(invalid(SCORE, "trece de plafonul împărțirii, " + f[CEILING]));
    }
    row.ceiling = *ceiling;
    row.ceiling_seconds = *seconds;
    row.ceiling_answers = *answers;
    return {};
}

game::Result<CsvMatch> match_in(const std::vector<std::string>& f, bool has_commands) {
    const auto seed = seed_in(column_option(MATCH_SEED), f[MATCH_SEED]);
    if (!seed) return game::failure(seed.error());
    const auto deals = deals_in(column_option(DEALS), f[DEALS]);
    if (!deals) return game::failure(deals.error());
    const auto shard = shard_in(column_option(SHARD), f[SHARD]);
    if (!shard) return game::failure(shard.error());
    const auto timeout = has_commands ? timeout_in(column_option(TIMEOUT_MS), f[TIMEOUT_MS]) : game::Result<int>(0);
    if (!timeout) return game::failure(timeout.error());
    return CsvMatch{*seed, *deals, *shard, !f[CEILING].empty(), *timeout};
}

// The deal of the row: one of its match and its shard, with the deal's own seed.
game::Status read_deal(const std::vector<std::string>& f, CsvRow& row) {
    const auto deal = int_in(DEAL, f[DEAL], 1, row.match.deals);
    if (!deal) return game::failure(deal.error());
    row.deal = *deal - 1;
    if (!row.match.shard.holds(row.deal)) {
        return game::failure(invalid(DEAL, "împărțirea " + f[DEAL] + " nu este a părții " + row.match.shard.text()));
    }
    const auto seed = seed_in(column_option(DECK_SEED), f[DECK_SEED]);
    if (!seed) return game::failure(seed.error());
    if (*seed != deal_seed(row.match.seed, row.deal)) {
        return game::failure(invalid(DECK_SEED, "nu este sămânța împărțirii " + f[DEAL] + ": " + f[DECK_SEED]));
    }
    return {};
}

// The game's status: a fault's name, "ok", or a game not played.
game::Result<GameOutcome> status_in(const std::string& name) {
    GameOutcome game;
    game.played = name != NOT_PLAYED;
    for (int f = 0; f <= static_cast<int>(Fault::no_exit) && game.played; ++f) {
        game.fault = static_cast<Fault>(f);
        if (name == fault_name(game.fault)) return game;
    }
    if (!game.played) return game;
    return game::failure(invalid(STATUS, "nu este starea unui joc: " + quoted(name)));
}

game::Status read_player(const std::vector<std::string>& f, bool has_commands, Player& player) {
    player.name = f[PLAYER];
    if (game::Status named = player_name_in(column_option(PLAYER), player.name); !named) return named;
    if (!has_commands) return {};
    auto command = game::shell_words(f[COMMAND]);
    if (!command || command->empty() || command->front().empty()) {
        return game::failure(invalid(COMMAND, "nu este o comandă: " + quoted(f[COMMAND])));
    }
    player.command = std::move(*command);
    return {};
}

}  // namespace

const std::vector<std::string>& csv_column_names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> split(1);
        for (const char* c = CSV_HEADER; *c; ++c) {
            if (*c == ',') {
                split.emplace_back();
            } else {
                split.back() += *c;
            }
        }
        return split;
    }();
    return names;
}

game::Result<CsvRow> read_csv_row(const std::vector<std::string>& f, bool has_commands) {
    const std::size_t columns = has_commands ? COLUMNS : COLUMNS_WITHOUT_COMMANDS;
    if (f.size() != columns) {
        return game::failure("are " + std::to_string(f.size()) + " câmpuri, nu " + std::to_string(columns));
    }
    if (game::Status clean = without_control_bytes(f); !clean) return game::failure(clean.error());
    CsvRow row;
    game::Result<CsvMatch> match = match_in(f, has_commands);
    if (!match) return game::failure(match.error());
    row.match = *match;
    if (game::Status dealt = read_deal(f, row); !dealt) return game::failure(dealt.error());
    if (game::Status named = read_player(f, has_commands, row.player); !named) return game::failure(named.error());
    game::Result<GameOutcome> game = status_in(f[STATUS]);
    if (!game) return game::failure(game.error());
    row.game = *game;
    const game::Deck deck = referee::shuffled_deck(deal_seed(row.match.seed, row.deal));
    if (game::Status played = read_game(f, deck, row.game); !played) return game::failure(played.error());
    if (game::Status ceiling = read_ceiling(f, deck, row); !ceiling) return game::failure(ceiling.error());
    return row;
}

std::string match_difference(const CsvMatch& first, const CsvMatch& other) {
    const std::pair<bool, int> columns[] = {{first.seed != other.seed, MATCH_SEED},
                                            {first.deals != other.deals, DEALS},
                                            {first.shard != other.shard, SHARD},
                                            {first.ceiling != other.ceiling, CEILING},
                                            {first.timeout_ms != other.timeout_ms, TIMEOUT_MS}};
    for (const auto& [differs, column] : columns) {
        if (differs) return column_option(column);
    }
    return "";
}

}  // namespace match
