// Plays one game between a deck and a player process: one card token and a
// line feed out, one answer line in, 20 times, then a clean exit. Every fault
// of the player ends the game with a message naming it and the card.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/deck_file.h"
#include "common/record.h"

namespace proc {
class Sandbox;
}

namespace referee {

// The values double as the status of the error-form record.
enum class Fault {
    none = 0,
    bad_answer = 1,        // not one digit 1..4 and a line feed
    column_reused = 2,     // a column given a second card in one round
    early_output = 3,      // output before the card it would answer was sent
    timeout = 4,           // no answer in time
    stopped = 5,           // exited or closed its output before answering
    exit_status = 6,       // a non-zero exit status (or a signal) after the 20th answer
    output_after_end = 7,  // anything written after the 20th answer
    no_exit = 8,           // still running after the 20th answer
};

// A short label of a fault kind, for tables and CSV files.
const char* fault_name(Fault fault);

struct GameOptions {
    int timeout_ms = 10000;       // for each answer, and for the exit after the last one
    std::string cwd;              // the player's working directory; empty: ours
    std::string scratch_root;     // when set: the game runs in a fresh folder made in it, removed after
    bool capture_stderr = false;  // otherwise the player's standard error passes through
    // When given and enabled, the player runs in it, in `slot`'s cell, in a
    // fresh folder of the cell's; its standard error is captured.
    proc::Sandbox* sandbox = nullptr;
    int slot = 0;
};

struct GameResult {
    Fault fault = Fault::none;
    int card = 0;                  // 1..20 where the fault happened; 21 after the last answer
    std::string message;           // what went wrong, for the user, ending with an excerpt of player_errors
    std::array<int, game::DEALT> answers{};  // columns 0..3 of the answers accepted
    int answered = 0;
    game::GameRecord record;       // success form, or the error form with the message
    std::string player_errors;     // the player's standard error, when captured (its first 4 KiB and last 1 KiB)
    double seconds = 0;            // from start to exit
};

enum class Played {
    yes,            // the game was played; the result tells whether the player faulted
    not_started,    // the player's program is missing or cannot be run (error says why)
    harness_error,  // we could not run the game (no pipe, no process): our failure, never the player's
    interrupted,    // SIGINT, SIGTERM or SIGHUP came (proc::catch_interrupts); the player is stopped
};

// The player runs in a process group of its own, or in the sandbox; when
// the game ends, for whatever reason, the whole group (or the sandbox's
// namespace) is killed, so nothing it started survives the game.
Played play_game(const game::Deck& deck, const std::vector<std::string>& player, const GameOptions& options,
                 GameResult& result, std::string& error);

}  // namespace referee
