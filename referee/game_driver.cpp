#include "referee/game_driver.h"

#include <chrono>

#include "referee/answer.h"
#include "common/int_scanner.h"
#include "common/process.h"

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

class Game {
public:
    Game(const game::Deck& deck, const GameOptions& options, GameResult& result)
        : deck_(deck), options_(options), result_(result) {}

    void play(proc::Child& child) {
        child_ = &child;
        for (int i = 0; i < game::DEALT && result_.fault == Fault::none; ++i) turn(i);
        if (result_.fault == Fault::none) finish();
    }

private:
    std::string card_text(int i) const {
        return "cartea " + std::to_string(i + 1) + " (" + game::token_of(deck_[i]) + ")";
    }

    void fail(Fault fault, int card, const std::string& message) {
        result_.fault = fault;
        result_.card = card;
        result_.message = message;
    }

    void turn(int i) {
        if (!pending_.empty()) {
            return fail(Fault::early_output, i + 1,
                        "Jucătorul a scris „" + game::printable(pending_, ANSWER_SHOWN) + "” înainte de " + card_text(i));
        }
        if (!proc::write_all(child_->input, game::token_of(deck_[i]) + "\n")) return stopped(i);
        const proc::Deadline deadline(options_.timeout_ms);
        Answer answer = judge_answer(pending_);
        while (answer.verdict == Verdict::incomplete) {
            switch (proc::read_some(*child_, pending_, result_.player_errors, deadline)) {
                case proc::ReadStatus::data: break;
                case proc::ReadStatus::timeout:
                    return fail(Fault::timeout, i + 1,
                                "Niciun răspuns în " + std::to_string(options_.timeout_ms) + " ms la " + card_text(i));
                case proc::ReadStatus::closed:
                case proc::ReadStatus::error: return stopped(i);
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

    // The player closed its output (or stopped reading) before answering card i.
    void stopped(int i) {
        const proc::Deadline deadline(options_.timeout_ms);
        int status = 0;
        if (proc::wait_exit(*child_, deadline, status, result_.player_errors)) {
            return fail(Fault::stopped, i + 1,
                        "Jucătorul s-a oprit cu " + proc::describe_status(status) + " fără să răspundă la " +
                            card_text(i));
        }
        fail(Fault::stopped, i + 1, "Jucătorul și-a închis ieșirea fără să răspundă la " + card_text(i));
    }

    void finish() {
        const int after = game::DEALT + 1;
        const std::string waited = std::to_string(options_.timeout_ms) + " ms";
        proc::close_input(*child_);  // end of input: the player must now exit
        const proc::Deadline deadline(options_.timeout_ms);
        for (;;) {
            if (!pending_.empty()) {
                return fail(Fault::output_after_end, after,
                            "Jucătorul a scris după al 20-lea răspuns: „" + game::printable(pending_, ANSWER_SHOWN) + "”");
            }
            const proc::ReadStatus status = proc::read_some(*child_, pending_, result_.player_errors, deadline);
            if (status == proc::ReadStatus::timeout) {
                return fail(Fault::no_exit, after, "Jucătorul nu s-a oprit în " + waited + " după al 20-lea răspuns");
            }
            if (status == proc::ReadStatus::closed || status == proc::ReadStatus::error) break;
        }
        int status = 0;
        if (!proc::wait_exit(*child_, deadline, status, result_.player_errors)) {
            return fail(Fault::no_exit, after, "Jucătorul nu s-a oprit în " + waited + " după al 20-lea răspuns");
        }
        if (status != 0) {
            fail(Fault::exit_status, after,
                 "Jucătorul s-a încheiat cu " + proc::describe_status(status) + " după al 20-lea răspuns");
        }
    }

    const game::Deck& deck_;
    const GameOptions& options_;
    GameResult& result_;
    proc::Child* child_ = nullptr;
    std::string pending_;  // bytes from the player not yet taken as an answer
    std::array<int, game::COLUMNS> round_of_last_card_{};  // 1-based round, 0: none yet
};

}  // namespace

bool play_game(const game::Deck& deck, const std::vector<std::string>& player, const GameOptions& options,
               GameResult& result, std::string& error) {
    result = GameResult{};
    const auto start = std::chrono::steady_clock::now();
    proc::Child child;
    if (!proc::spawn(player, proc::SpawnOptions{options.cwd, options.capture_stderr}, child, error)) return false;
    Game(deck, options, result).play(child);
    proc::kill_and_reap(child);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (result.fault == Fault::none) {
        game::Deal deal;
        for (int i = 0; i < game::DEALT; ++i) deal[i] = game::Placement{deck[i], result.answers[i]};
        result.record = game::scored_record(deal);
    } else {
        result.record = game::error_record(static_cast<int>(result.fault), result.message);
    }
    return true;
}

}  // namespace referee
