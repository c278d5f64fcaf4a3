#include "fuzz/support.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>

namespace fuzz {

namespace {

constexpr int ANSWERS = 20;
constexpr int COLUMNS = 4;

struct GameRun {
    std::string output;
    bool stopped = false;
    std::string message;

    bool operator==(const GameRun&) const = default;
};

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int words(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!is_space(text[i]) && (i == 0 || is_space(text[i - 1]))) ++count;
    }
    return count;
}

// The number of the card that a stop message names ("cartea 7"), if any.
std::optional<int> card_named(std::string_view message) {
    const std::string_view label = "cartea ";
    const std::size_t at = message.find(label);
    if (at == std::string_view::npos) return std::nullopt;
    int number = 0;
    std::size_t i = at + label.size();
    if (i == message.size() || !std::isdigit(static_cast<unsigned char>(message[i]))) return std::nullopt;
    for (; i < message.size() && std::isdigit(static_cast<unsigned char>(message[i])); ++i) {
        number = number * 10 + (message[i] - '0');
    }
    return number;
}

void note_stop(GameRun& run, const game::Status& game) {
    run.stopped = !game;
    run.message = game.error();
}

GameRun run_game(const CGame& game, std::string_view input) {
    GameRun run;
    char* written = nullptr;
    std::size_t written_size = 0;
    std::FILE* in = open_bytes(input);
    std::FILE* out = open_memstream(&written, &written_size);
    require(in && out, "the game's streams open");
    note_stop(run, game(in, out));
    std::fclose(in);
    std::fclose(out);
    run.output.assign(written, written_size);
    std::free(written);
    return run;
}

GameRun run_game(const StreamGame& game, std::string_view input) {
    GameRun run;
    std::istringstream in{std::string(input)};
    std::ostringstream out;
    note_stop(run, game(in, out));
    run.output = out.str();
    return run;
}

void check_game(const GameRun& run, const GameRun& again, std::string_view input) {
    require(run == again, "the same input plays the same game twice");
    const std::string& out = run.output;
    require(out.size() % 2 == 0, "answers are whole lines");
    const int answers = static_cast<int>(out.size() / 2);
    std::array<bool, COLUMNS> used{};
    for (int i = 0; i < answers; ++i) {
        if (i % COLUMNS == 0) used = {};
        const char digit = out[2 * i];
        require(digit >= '1' && digit <= '4' && out[2 * i + 1] == '\n', "an answer is one digit 1..4 and a line feed");
        require(!used[digit - '1'], "a column gets one card per round");
        used[digit - '1'] = true;
    }
    require(answers <= words(input), "every answer answers a word of the input");
    if (!run.stopped) {
        require(answers == ANSWERS, "a finished game has 20 answers");
        return;
    }
    require(answers < ANSWERS, "a stop comes before the 20th answer");
    require(!run.message.empty() && is_one_clean_line(run.message), "the stop message is one clean line");
    require(card_named(run.message).value_or(answers + 1) == answers + 1, "a stop names the unanswered card");
}

}  // namespace

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

std::FILE* open_bytes(std::string_view bytes) {
    // An empty buffer still needs a valid address.
    static char nothing = 0;
    if (bytes.empty()) return fmemopen(&nothing, 0, "r");
    return fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
}

bool is_one_clean_line(std::string_view message) {
    for (const char c : message) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    }
    return true;
}

bool quotes_an_integer(std::string_view message) {
    const std::size_t open = message.find("„");
    const std::size_t close = message.rfind("”");
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return false;
    std::string_view quote = message.substr(open + std::strlen("„"), close - open - std::strlen("„"));
    if (!quote.empty() && (quote[0] == '+' || quote[0] == '-')) quote.remove_prefix(1);
    return !quote.empty() && quote.find_first_not_of("0123456789") == std::string_view::npos;
}

void check_player(const CGame& game, std::string_view input) {
    check_game(run_game(game, input), run_game(game, input), input);
}

void check_player(const StreamGame& game, std::string_view input) {
    check_game(run_game(game, input), run_game(game, input), input);
}

}  // namespace fuzz
