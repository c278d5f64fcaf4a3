// play: a person plays the game in the terminal, or with --plain as lines of
// text; at the end of each game, the ceiling's board of the same deal and
// how every shipped player did on it. Exit status 0: the person left; 1:
// --plain's input ended in the middle of a game; 2: usage error, no
// terminal, the players' sandbox or a record that cannot be had; 128 + the
// signal when interrupted.
#include <cstdio>
#include <string>
#include <unistd.h>
#include <variant>

#include "common/files.h"
#include "common/guarded_main.h"
#include "common/process.h"
#include "common/sandbox.h"
#include "tools/play/options.h"
#include "tools/play/plain.h"
#include "tools/play/session.h"
#include "tools/play/terminal.h"
#include "tools/play/terminal_game.h"

namespace {

constexpr const char* PROGRAM = "play";

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", PROGRAM, message.c_str());
    return status;
}

// What must hold before the first card: a terminal, a place for the
// record, our own process kept from the players, the players' cells.
game::Status prepare(play::Session& session) {
    const play::Options& options = session.options;
    if (!options.plain) {
        if (const game::Status terminal = play::check_terminal(); !terminal) return terminal;
    }
    if (!options.record_path.empty()) {
        if (const game::Status writable = game::check_writable(options.record_path); !writable) return writable;
    }
    if (!proc::refuse_tracing()) return game::failure("nu se poate opri urmărirea procesului");
    if (!proc::catch_interrupts()) return game::failure("nu se pot prinde semnalele de întrerupere");
    return session.rivals.open(options.sandbox, options.timeout_ms, {options.record_path});
}

int run(int argc, char** argv) {
    auto parsed = play::parse_options(argc, argv);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    play::Session session;
    session.options = std::get<play::Options>(parsed);
    if (const game::Status prepared = prepare(session); !prepared) return fail(prepared.error(), 2);
    if (const std::string note = session.rivals.isolation_note(); !note.empty()) fail(note, 0);
    const int status =
        session.options.plain ? play::play_plain(session, STDIN_FILENO, stdout) : play::play_in_terminal(session);
    if (const game::Status closed = session.rivals.close(); !closed) return fail(closed.error(), 2);
    // Told once the terminal is given back, where it stays to be read.
    return proc::interrupt_signal() != 0 ? fail("întrerupt", status) : status;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main(PROGRAM, run, argc, argv); }
