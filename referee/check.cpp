#include "referee/check.h"

#include <cstdio>
#include <initializer_list>

#include "referee/game_driver.h"
#include "common/int_scanner.h"
#include "common/process.h"
#include "common/sandbox.h"

namespace referee {

namespace {

// A check passes, fails, or passes with something a player's author should
// know: legal, but unlike every player shipped here.
enum class Mark { passed, noted, failed };

struct Verdict {
    Mark mark;
    std::string detail;  // why it failed, the note, or what is worth showing when it passed
};

const Verdict PASSED = {Mark::passed, ""};

Verdict failed(const std::string& reason) { return {Mark::failed, reason}; }

bool faulted_with(const GameResult& game, std::initializer_list<Fault> faults) {
    for (Fault fault : faults) {
        if (game.fault == fault) return true;
    }
    return false;
}

// Any order of 1, 2, 3, 4 is legal in the first round (the game driver
// refuses a column twice); the shipped players answer 1, 2, 3, 4.
Verdict first_round(const GameResult& game) {
    if (game.answered < game::COLUMNS) return failed(game.message);
    std::string answers;
    bool in_order = true;
    for (int i = 0; i < game::COLUMNS; ++i) {
        answers += (i ? ", " : "") + std::to_string(game.answers[i] + 1);
        in_order = in_order && game.answers[i] == i;
    }
    if (in_order) return PASSED;
    return {Mark::noted, "răspunsurile " + answers + ", în altă ordine decât 1, 2, 3, 4 a jucătorilor livrați"};
}

Verdict answers_legal(const GameResult& game) {
    if (faulted_with(game,
                     {Fault::bad_answer, Fault::column_reused, Fault::early_output, Fault::timeout, Fault::stopped})) {
        return failed(game.message);
    }
    return PASSED;
}

Verdict clean_exit(const GameResult& game) {
    if (game.answered < game::DEALT) return failed("jocul nu a ajuns la al 20-lea răspuns");
    if (game.fault != Fault::none) return failed(game.message);
    return PASSED;
}

Verdict quiet(const GameResult& first, const GameResult& second) {
    for (const GameResult* game : {&first, &second}) {
        if (!game->player_errors.empty()) {
            return failed("a scris pe ieșirea de erori: „" + game::printable(game->player_errors, 60) + "”");
        }
    }
    return PASSED;
}

// Two games without an answer agree on nothing: that is no pass.
Verdict repeatable(const GameResult& first, const GameResult& second) {
    if (first.answered == 0 || second.answered == 0) return failed("nu a dat niciun răspuns de comparat");
    for (int i = 0; i < std::min(first.answered, second.answered); ++i) {
        if (first.answers[i] != second.answers[i]) {
            return failed("la cartea " + std::to_string(i + 1) + " a răspuns " + std::to_string(first.answers[i] + 1) +
                          ", apoi " + std::to_string(second.answers[i] + 1));
        }
    }
    if (first.answered != second.answered) return failed("a dat o dată mai multe răspunsuri decât altă dată");
    return PASSED;
}

Verdict in_time(const GameResult& first, const GameResult& second, int timeout_ms) {
    for (const GameResult* game : {&first, &second}) {
        if (faulted_with(*game, {Fault::timeout, Fault::no_exit})) return failed(game->message);
    }
    char detail[96];
    std::snprintf(detail, sizeof detail, "%.3f s și %.3f s, fiecare răspuns în mai puțin de %d ms", first.seconds,
                  second.seconds, timeout_ms);
    return {Mark::passed, detail};
}

}  // namespace

int check_player(const game::Deck& deck, const std::string& deal, const std::vector<std::string>& player,
                 GameOptions options) {
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
        {"primul rând dă fiecărei coloane o carte", first_round(first)},
        {"fiecare răspuns e o coloană permisă, trimis și golit înainte de cartea următoare", answers_legal(first)},
        {"după al 20-lea răspuns se oprește cu starea 0, fără alt text", clean_exit(first)},
        {"nimic pe ieșirea de erori într-un joc normal", quiet(first, second)},
        {"aceleași răspunsuri când aceeași împărțire e jucată de două ori", repeatable(first, second)},
        {"jocul se termină în limita de timp", in_time(first, second, options.timeout_ms)},
    };
    const std::string isolation = options.sandbox ? options.sandbox->isolation().summary() : "oprită";
    std::printf("Jucătorul rulează ca într-un meci: într-un director de lucru nou la fiecare joc, cu argumentele "
                "făcute absolute; izolarea: %s.\n",
                isolation.c_str());
    std::printf("Împărțirea: %s\n", deal.c_str());
    int failures = 0;
    int number = 0;
    for (const auto& [what, verdict] : checks) {
        std::string line = std::to_string(++number) + ". " + what + ": ";
        switch (verdict.mark) {
            case Mark::passed: line += "Reușit" + (verdict.detail.empty() ? "" : " (" + verdict.detail + ")"); break;
            case Mark::noted: line += "Notă: " + verdict.detail; break;
            case Mark::failed:
                line += "Eșuat: " + verdict.detail;
                ++failures;
                break;
        }
        std::puts(line.c_str());
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace referee
