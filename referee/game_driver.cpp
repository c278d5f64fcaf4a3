#include "referee/game_driver.h"

#include <chrono>
#include <optional>

#include "referee/answer.h"
#include "referee/error_excerpt.h"
#include "common/int_scanner.h"
#include "common/process.h"
#include "common/sandbox.h"
#include "common/scratch.h"

namespace referee {

const char* fault_name(Fault fault) {
    switch (fault) {
        case Fault::none: return "ok";
        case Fault::bad_answer: return "raspuns-invalid";
        case Fault::column_reused: return "coloana-repetata";
        case Fault::early_output: return "scris-inainte";
        case Fault::timeout: return "timp-depasit";
        case Fault::stopped: return "oprit";
        case Fault::exit_status: return "stare-nenula";
        case Fault::output_after_end: return "scris-dupa-final";
        case Fault::no_exit: return "nu-se-opreste";
    }
    return "?";
}

namespace {

constexpr std::size_t ANSWER_SHOWN = 32;  // bytes of a bad answer quoted in the message
// Silence at the first card is most often an answer left in the player's output buffer.
constexpr const char* FLUSH_HINT =
    "; dacă jucătorul a răspuns, răspunsul a rămas în memoria tampon: fiecare rând trebuie golit după ce e scris "
    "(fflush(stdout) în C, std::endl sau std::flush în C++, print(..., flush=True) sau sys.stdout.flush() în Python)";

class Game {
public:
    Game(const game::Deck& deck, const GameOptions& options, GameResult& result, std::string& error)
        : deck_(deck), options_(options), result_(result), error_(error) {}

    Played play(proc::Process& child) {
        child_ = &child;
        for (int i = 0; i < game::DEALT && going(); ++i) turn(i);
        if (going()) finish();
        return played_;
    }

private:
    bool going() const { return played_ == Played::yes && result_.fault == Fault::none; }

    std::string card_text(int i) const {
        return "cartea " + std::to_string(i + 1) + " (" + game::token_of(deck_[i]) + ")";
    }

    void fail(Fault fault, int card, const std::string& message) {
        result_.fault = fault;
        result_.card = card;
        result_.message = message;
    }

    // A wait that ended for a reason of ours, not the player's.
    void cut_short(proc::Wait wait) {
        if (wait == proc::Wait::interrupted) {
            played_ = Played::interrupted;
            error_ = "întrerupt";
        } else {
            played_ = Played::harness_error;
            error_ = "nu se poate citi de la jucător";
        }
    }

    void turn(int i) {
        if (!pending_.empty()) {
            return fail(
                Fault::early_output, i + 1,
                "Jucătorul a scris „" + game::printable(pending_, ANSWER_SHOWN) + "” înainte de " + card_text(i));
        }
        if (!child_->write(game::token_of(deck_[i]) + "\n")) return stopped(i);
        const proc::Deadline deadline(options_.timeout_ms);
        Answer answer = judge_answer(pending_);
        while (answer.verdict == Verdict::incomplete) {
            switch (const proc::Wait wait = child_->read(pending_, deadline)) {
                case proc::Wait::data: break;
                case proc::Wait::timeout: return timed_out(i);
                case proc::Wait::closed:
                case proc::Wait::exited: return stopped(i);
                case proc::Wait::interrupted:
                case proc::Wait::error: return cut_short(wait);
            }
            answer = judge_answer(pending_);
        }
        if (answer.verdict == Verdict::bad) {
            const std::string line = pending_.substr(0, answer.consumed);
            return fail(Fault::bad_answer, i + 1,
                        "Răspuns invalid la " + card_text(i) + ": „" + game::printable(line, ANSWER_SHOWN) + "”");
        }
        const int column = answer.column;
        pending_.erase(0, answer.consumed);
        const int round = i / game::COLUMNS;
        if (round_of_last_card_[column] == round + 1) {
            return fail(Fault::column_reused, i + 1,
                        "Coloana " + std::to_string(column + 1) + " a primit deja o carte în runda " +
                            std::to_string(round + 1) + " (" + card_text(i) + ")");
        }
        round_of_last_card_[column] = round + 1;
        result_.answers[i] = column;
        result_.answered = i + 1;
    }

    // Not one byte came in answer to the first card: the flush hint.
    void timed_out(int i) {
        const bool silent = i == 0 && pending_.empty();
        fail(Fault::timeout, i + 1,
             "Niciun răspuns în " + std::to_string(options_.timeout_ms) + " ms la " + card_text(i) +
                 (silent ? FLUSH_HINT : ""));
    }

    // The player closed its output, stopped reading or exited before answering card i.
    void stopped(int i) {
        const proc::Deadline deadline(options_.timeout_ms);
        switch (const proc::Wait wait = child_->wait_exit(deadline)) {
            case proc::Wait::exited:
                return fail(Fault::stopped, i + 1,
                            "Jucătorul s-a oprit cu " + proc::describe(child_->exit()) + " fără să răspundă la " +
                                card_text(i));
            case proc::Wait::interrupted:
            case proc::Wait::error: return cut_short(wait);
            default:
                return fail(Fault::stopped, i + 1, "Jucătorul și-a închis ieșirea fără să răspundă la " + card_text(i));
        }
    }

    // After the 20th answer the player must exit, cleanly and without
    // another word. The game ends when the player does: descendants still
    // holding its output are not waited for.
    void finish() {
        const int after = game::DEALT + 1;
        const std::string no_exit = "Jucătorul nu s-a oprit în " + std::to_string(options_.timeout_ms) +
                                    " ms după al 20-lea răspuns";
        child_->close_input();  // end of input: the player must now exit
        const proc::Deadline deadline(options_.timeout_ms);
        proc::Wait wait = proc::Wait::data;
        while (wait == proc::Wait::data) {
            if (!pending_.empty()) {
                return fail(
                    Fault::output_after_end, after,
                    "Jucătorul a scris după al 20-lea răspuns: „" + game::printable(pending_, ANSWER_SHOWN) + "”");
            }
            wait = child_->read(pending_, deadline);
        }
        if (wait == proc::Wait::closed) wait = child_->wait_exit(deadline);
        switch (wait) {
            case proc::Wait::exited: break;
            case proc::Wait::interrupted:
            case proc::Wait::error: return cut_short(wait);
            default: return fail(Fault::no_exit, after, no_exit);
        }
        if (!child_->exit().clean()) {
            fail(Fault::exit_status, after,
                 "Jucătorul s-a încheiat cu " + proc::describe(child_->exit()) + " după al 20-lea răspuns");
        }
    }

    const game::Deck& deck_;
    const GameOptions& options_;
    GameResult& result_;
    std::string& error_;
    proc::Process* child_ = nullptr;
    Played played_ = Played::yes;
    std::string pending_;  // bytes from the player not yet taken as an answer
    std::array<int, game::COLUMNS> round_of_last_card_{};  // 1-based round, 0: none yet
};

// A player that faulted for want of what its cell's caps refused is told
// so. Looked at after every game, so that a cap reached is told of the game
// that reached it.
void tell_caps_reached(proc::Sandbox& sandbox, int slot, GameResult& result) {
    const proc::PlayerLimits& limits = sandbox.settings().limits;
    const bool processes = sandbox.process_cap_reached(slot), memory = sandbox.memory_cap_reached(slot);
    if (result.fault == Fault::none) return;
    if (processes) result.message += " (a atins limita de procese, " + std::to_string(limits.processes) + ")";
    if (memory) result.message += " (a atins limita de memorie, " + std::to_string(limits.memory_mib) + " MiB)";
}

// A fault ends with what the player said on its standard error, where it
// says why; last, so that a cap reached comes before it.
void tell_errors(GameResult& result) {
    if (result.fault == Fault::none) return;
    const std::string excerpt = error_excerpt(result.player_errors);
    if (!excerpt.empty()) result.message += " — eroarea standard: " + excerpt;
}

}  // namespace

Played play_game(const game::Deck& deck, const std::vector<std::string>& player, const GameOptions& options,
                 GameResult& result, std::string& error) {
    result = GameResult{};
    const auto start = std::chrono::steady_clock::now();
    Played played = Played::yes;
    {
        // A sandboxed player gets a fresh folder from its cell.
        const bool sandboxed = options.sandbox && options.sandbox->enabled();
        std::optional<game::ScratchDir> scratch;
        if (!options.scratch_root.empty() && !sandboxed) {
            scratch.emplace(options.scratch_root, error);
            if (scratch->path().empty()) return Played::harness_error;
        }
        proc::Process child;
        proc::SpawnOptions spawn{scratch ? scratch->path() : options.cwd, options.capture_stderr};
        spawn.sandbox = options.sandbox;
        spawn.slot = options.slot;
        switch (child.start(player, spawn, error)) {
            case proc::Started::yes: break;
            case proc::Started::not_executable: return Played::not_started;
            case proc::Started::harness_error: return Played::harness_error;
        }
        played = Game(deck, options, result, error).play(child);
        result.player_errors = child.errors().text();
    }  // the player's whole process group ends here, then its scratch folder
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (played != Played::yes) return played;
    if (options.sandbox && options.sandbox->enabled()) tell_caps_reached(*options.sandbox, options.slot, result);
    tell_errors(result);

    if (result.fault == Fault::none) {
        game::Deal deal;
        for (int i = 0; i < game::DEALT; ++i) deal[i] = game::Placement{deck[i], result.answers[i]};
        result.record = game::scored_record(deal);
    } else {
        result.record = game::error_record(static_cast<int>(result.fault), result.message);
    }
    return Played::yes;
}

}  // namespace referee
