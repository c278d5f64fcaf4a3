// A player that follows the protocol until told to misbehave:
//   fake-player [+child] MODE [CARD [VALUE]]
// It answers the columns 1, 2, 3, 4 in every round; at card CARD (1..20) the
// mode takes over. Modes: good, answer TEXT (writes TEXT verbatim instead of
// the answer), reuse (repeats the previous column), hang, exit STATUS, crash,
// two-lines, close-output, stderr (a line on standard error at every card),
// no-flush; after the 20th answer: extra, linger, status STATUS. Deal-dependent:
// heart-faults (a bad answer to the first card when it is a heart),
// heart-hangs (no answer at all then), scribble
// (writes the file "data.in" in its working directory), chaos (misbehaves at
// random, but the same way on the same deal: see chaos.h), flood (fills its
// standard error without end and never answers), kill-group (signals its
// whole process group with SIGTERM after the 20th answer), slow (takes 20 ms
// for each answer, so that a game lasts), reversed (answers
// 4, 3, 2, 1 in every round: legal, but unlike the players shipped). With +child it
// first starts a descendant that sleeps holding its output and standard
// error, for the tests to see that it is gone once the game is over.
// A cheater, `cheat KIND [DETAIL]` (see cheats.h), attacks at the first
// card: when the attack works, its answer is what it learned or did (a
// fault that names the leak); when it does not, it plays on as "good".
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "tests/support/chaos.h"
#include "tests/support/cheats.h"

namespace {

[[noreturn]] void hang() {
    for (;;) pause();
}

void say(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

// Does what chaos.h chose for a card that the usual answer would give
// `column`; true when that answer has been written already.
bool act_out(chaos::Act act, std::uint64_t hash, int column, int previous) {
    switch (act) {
        case chaos::Act::answer: return false;
        case chaos::Act::reuse: say(std::to_string(previous) + "\n"); break;
        case chaos::Act::out_of_range: say("5\n"); break;
        case chaos::Act::garbage: {
            const std::string bytes = chaos::garbage(hash);
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
            std::fflush(stdout);
            break;
        }
        case chaos::Act::two_lines: {
            const std::string line = std::to_string(column) + "\n";
            say(line + line);  // one write: the referee sees both lines at once
            return true;
        }
        case chaos::Act::hang: break;
        case chaos::Act::exit_early: std::_Exit(0);
        case chaos::Act::crash: {
            const rlimit no_core{0, 0};  // thousands of crashes must not dump thousands of cores
            setrlimit(RLIMIT_CORE, &no_core);
            std::abort();
        }
        case chaos::Act::extra_output: say("extra\n"); std::exit(0);
        case chaos::Act::bad_status: std::_Exit(3);
        case chaos::Act::linger: break;
    }
    hang();  // the referee has its fault and stops us
}

// A descendant that outlives us unless someone kills our process group.
void leave_a_descendant() {
    if (::fork() == 0) hang();
}

// The attack of a cheater: what it got is its answer, and its last.
void cheat(const std::string& kind, const std::string& detail) {
    const std::string leak = cheats::attempt(kind, detail);
    if (!leak.empty()) say(leak + "\n");
    if (!leak.empty() || kind == "fork-bomb") hang();
}

[[noreturn]] void flood() {
    const std::string chunk(65536, 'e');
    for (;;) {
        if (::write(STDERR_FILENO, chunk.data(), chunk.size()) < 0) hang();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "+child") {
        leave_a_descendant();
        ++argv, --argc;
    }
    const std::string mode = argc > 1 ? argv[1] : "good";
    const int at = argc > 2 && mode != "cheat" ? std::atoi(argv[2]) : 0;
    const std::string value = argc > 3 ? argv[3] : "";
    if (mode == "flood") flood();
    if (mode == "no-flush") std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);

    if (mode == "scribble") {
        if (std::FILE* file = std::fopen("data.in", "w")) std::fclose(file);
    }
    char token[64];
    int previous = 0;
    std::uint64_t hash = chaos::START;
    for (int card = 1; card <= 20; ++card) {
        if (std::scanf("%63s", token) != 1) return 3;
        const int column = mode == "reversed" ? 4 - (card - 1) % 4 : (card - 1) % 4 + 1;
        if (mode == "chaos") {
            hash = chaos::mix(hash, token);
            if (act_out(chaos::act(hash, card), hash, column, previous)) {
                previous = column;
                continue;
            }
        }
        if (mode == "stderr") std::fprintf(stderr, "thinking about %s\n", token);
        if (mode == "slow") ::usleep(20000);
        const bool heart_first = card == 1 && token[std::strlen(token) - 1] == 'H';
        if (mode == "heart-faults" && heart_first) {
            say("9\n");
            hang();
        }
        if (mode == "heart-hangs" && heart_first) hang();
        if (mode == "cheat" && card == 1) cheat(argc > 2 ? argv[2] : "", value);
        if (card == at) {
            if (mode == "answer") {
                say(value);
                hang();
            }
            if (mode == "reuse") {
                say(std::to_string(previous) + "\n");
                continue;
            }
            if (mode == "hang") hang();
            if (mode == "exit") std::_Exit(std::atoi(value.c_str()));
            if (mode == "crash") std::abort();  // SIGABRT: the sanitizers leave it alone
            if (mode == "two-lines") {
                say(std::to_string(column) + "\n" + std::to_string(column) + "\n");
                previous = column;
                continue;
            }
            if (mode == "close-output") {
                ::close(STDOUT_FILENO);
                hang();
            }
        }
        previous = column;
        if (mode == "no-flush") {
            std::printf("%d\n", column);
        } else {
            say(std::to_string(column) + "\n");
        }
    }
    if (mode == "chaos") act_out(chaos::act(hash, chaos::AFTER_LAST), hash, 0, previous);
    if (mode == "extra") say("extra\n");
    if (mode == "kill-group") ::kill(0, SIGTERM);
    if (mode == "linger") hang();
    if (mode == "status") return std::atoi(value.c_str());
    return 0;
}
