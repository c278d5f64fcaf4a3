#include "referee/check.h"

#include <cstdio>
#include <initializer_list>

#include "referee/game_driver.h"
#include "common/int_scanner.h"
#include "common/process.h"

namespace referee {

namespace {

struct Verdict {
    bool passed;
    std::string reason;  // why it failed, or a detail worth showing when it passed
};

bool faulted_with(const GameResult& game, std::initializer_list<Fault> faults) {
    for (Fault fault : faults) {
        if (game.fault == fault) return true;
    }
    return false;
}

Verdict first_round(const GameResult& game) {
    for (int i = 0; i < game::COLUMNS; ++i) {
        if (game.answered <= i) return {false, game.message};
        if (game.answers[i] != i) {
            return {false, "cartea " + std::to_string(i + 1) + " a primit răspunsul " + std::to_string(game.answers[i] + 1)};
        }
    }
    return {true, ""};
}

Verdict answers_legal(const GameResult& game) {
    if (faulted_with(game, {Fault::bad_answer, Fault::column_reused, Fault::early_output, Fault::timeout, Fault::stopped})) {
        return {false, game.message};
    }
    return {true, ""};
}

Verdict clean_exit(const GameResult& game) {
    if (game.answered < game::DEALT) return {false, "jocul nu a ajuns la al 20-lea răspuns"};
    if (game.fault != Fault::none) return {false, game.message};
    return {true, ""};
}

Verdict quiet(const GameResult& first, const GameResult& second) {
    for (const GameResult* game : {&first, &second}) {
        if (!game->player_errors.empty()) {
            return {false, "a scris pe ieșirea de erori: „" + game::printable(game->player_errors, 60) + "”"};
        }
    }
    return {true, ""};
}

Verdict repeatable(const GameResult& first, const GameResult& second) {
    for (int i = 0; i < std::min(first.answered, second.answered); ++i) {
        if (first.answers[i] != second.answers[i]) {
            return {false, "la cartea " + std::to_string(i + 1) + " a răspuns " + std::to_string(first.answers[i] + 1) +
                               ", apoi " + std::to_string(second.answers[i] + 1)};
        }
    }
    if (first.answered != second.answered) return {false, "a dat o dată mai multe răspunsuri decât altă dată"};
    return {true, ""};
}

Verdict in_time(const GameResult& first, const GameResult& second, int timeout_ms) {
    for (const GameResult* game : {&first, &second}) {
        if (faulted_with(*game, {Fault::timeout, Fault::no_exit})) return {false, game->message};
    }
    char detail[96];
    std::snprintf(detail, sizeof detail, "%.3f s și %.3f s, fiecare răspuns în mai puțin de %d ms", first.seconds,
                  second.seconds, timeout_ms);
    return {true, detail};
}

}  // namespace

int check_player(const game::Deck& deck, const std::vector<std::string>& player, int timeout_ms) {
    GameOptions options;
    options.timeout_ms = timeout_ms;
    options.capture_stderr = true;
    GameResult first, second;
    std::string error;
    for (GameResult* game : {&first, &second}) {
        const Played played = play_game(deck, player, options, *game, error);
        if (played == Played::yes) continue;
        std::fprintf(stderr, "referee: %s\n", error.c_str());
        return played == Played::interrupted ? 128 + proc::interrupt_signal() : 2;
    }
    const std::pair<const char*, Verdict> checks[] = {
        {"primul rând primește răspunsurile 1, 2, 3, 4", first_round(first)},
        {"fiecare răspuns e o coloană permisă, trimis și golit înainte de cartea următoare", answers_legal(first)},
        {"după al 20-lea răspuns se oprește cu starea 0, fără alt text", clean_exit(first)},
        {"nimic pe ieșirea de erori într-un joc normal", quiet(first, second)},
        {"aceleași răspunsuri când aceeași împărțire e jucată de două ori", repeatable(first, second)},
        {"jocul se termină în limita de timp", in_time(first, second, timeout_ms)},
    };
    int failed = 0;
    int number = 0;
    for (const auto& [what, verdict] : checks) {
        failed += !verdict.passed;
        std::string line = std::to_string(++number) + ". " + what + ": ";
        if (!verdict.passed) {
            line += "Failed: " + verdict.reason;
        } else {
            line += "Passed";
            if (!verdict.reason.empty()) line += " (" + verdict.reason + ")";
        }
        std::puts(line.c_str());
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace referee
