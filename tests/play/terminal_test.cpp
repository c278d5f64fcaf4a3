// play as a person meets it: in a real terminal (tmux) at 80x24, and
// through a pipe (--plain), over one fixed sequence of placements with a
// refused closed column, an undo and a question to quit answered no, and in
// the terminal the arrow keys and a resize. The board, the total, the
// ceiling and every shipped player's score are held against the referee
// playing the same placements on the same seed, ceilscore on its deck, and
// the referee running each player.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/process.h"
#include "common/programs.h"
#include "common/record.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::TempDir;

constexpr const char* SEED = "7";
// Where each card ends up, as a player's answers, in both sequences below.
constexpr int ANSWERS[game::DEALT] = {1, 2, 4, 3, 4, 2, 3, 1, 2, 1, 4, 3, 3, 4, 1, 2, 4, 3, 2, 1};
#ifdef GAME_SANITIZED
constexpr int WAIT_MS = 60000;
#else
constexpr int WAIT_MS = 15000;
#endif

// What the other programs make of the same deal.
struct Reference {
    std::string record;      // the referee's, of ANSWERS played
    game::GameRecord board;  // the same, read
    game::GameRecord ceiling;
    std::vector<std::pair<std::string, int>> players;  // each shipped player's score
};

game::GameRecord record_in(const std::string& path) {
    game::Result<game::GameRecord> record = game::read_record(path);
    EXPECT_TRUE(record) << record.error();
    return record ? *record : game::GameRecord{};
}

Reference reference_of(const TempDir& dir) {
    std::string script = "#!/bin/sh\nfor column in";
    for (int answer : ANSWERS) script += " " + std::to_string(answer);
    testing_support::write_file(dir.file("answers.sh"), script + "; do read card || exit 1; echo \"$column\"; done\n");
    std::filesystem::permissions(dir.file("answers.sh"), std::filesystem::perms::owner_all);
    Reference ref;
    const auto played = run({bin("referee"), "--sandbox", "off", "--seed", SEED, "--save-deck", dir.file("deck.txt"),
                             "--record", dir.file("referee.dat"), dir.file("answers.sh")},
                            "", dir.path());
    EXPECT_EQ(played.exit_code, 0) << played.err;
    ref.record = read_file(dir.file("referee.dat"));
    ref.board = record_in(dir.file("referee.dat"));
    testing_support::write_file(dir.file("ceiling.dat"), run({bin("ceilscore"), dir.file("deck.txt")}).out);
    ref.ceiling = record_in(dir.file("ceiling.dat"));
    for (const char* player : game::PLAYERS) {
        const std::string record = dir.file(std::string(player) + ".dat");
        run({bin("referee"), "--sandbox", "off", "--seed", SEED, "--record", record, player}, "", dir.path());
        ref.players.emplace_back(player, record_in(record).total);
    }
    return ref;
}

// The reference is the same for both faces: made once.
const Reference& reference() {
    static const TempDir dir;
    static const Reference ref = reference_of(dir);
    return ref;
}

std::string card_text(game::Card card) {
    return std::string(game::RANK_NAMES[card.rank]) + game::SUIT_ICONS[card.suit];
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A program in a tmux server of its own, in a window of 80x24.
class Tmux {
public:
    explicit Tmux(const TempDir& dir) : socket_(dir.file("tmux.sock")), status_(dir.file("status")) {}
    ~Tmux() { tmux({"kill-server"}); }

    testing_support::RunResult tmux(std::vector<std::string> args) const {
        args.insert(args.begin(), {"env", "LC_ALL=C.UTF-8", "tmux", "-S", socket_, "-f", "/dev/null"});
        return run(args, "", "", WAIT_MS);
    }
    // The program's exit status is written by a shell around it: tmux now
    // and then leaves a pane's program unreaped, its status unknown.
    void start(std::vector<std::string> command) const {
        command.insert(command.begin(), {"new-session", "-d", "-x", "80", "-y", "24", "-e", "LC_ALL=C.UTF-8", "--",
                                         "sh", "-c", "\"$@\"; echo $? > " + status_, "sh"});
        ASSERT_EQ(tmux(command).exit_code, 0);
    }
    void keys(const std::vector<std::string>& keys) const {
        for (const std::string& key : keys) ASSERT_EQ(tmux({"send-keys", "-t", "0", key}).exit_code, 0) << key;
    }
    void resize(int width, int height) const {
        ASSERT_EQ(
            tmux({"resize-window", "-t", "0", "-x", std::to_string(width), "-y", std::to_string(height)}).exit_code, 0);
    }
    std::string screen() const { return tmux({"capture-pane", "-p", "-t", "0"}).out; }

    // The screen once it shows `text`; the test fails with the last screen after WAIT_MS.
    std::string wait_for(const std::string& text) const {
        std::string shown;
        if (!soon([&] { return (shown = screen()).find(text) != std::string::npos; })) {
            ADD_FAILURE() << "„" << text << "” never came; the screen:\n" << shown;
        }
        return shown;
    }
    // The program's exit status once it has ended; "" when it has not within WAIT_MS.
    std::string exit_status() const {
        std::string status;
        soon([&] { return (status = read_file(status_)).ends_with("\n"); });
        return status;
    }

private:
    // Polls until `done`, or WAIT_MS have passed; whether it was done.
    template <typename Done>
    static bool soon(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    std::string socket_, status_;
};

// The words of a line, split at blanks and joined by one.
std::string words_of(const std::string& line) {
    std::istringstream in(line);
    std::string words, word;
    while (in >> word) words += (words.empty() ? "" : " ") + word;
    return words;
}

// The end screen against the reference: the two boards side by side, each
// column's hand and points, the totals and every player's score.
void expect_end_screen(const std::vector<std::string>& rows, const Reference& ref) {
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_TRUE(rows[2].find("Tabla voastră: " + std::to_string(ref.board.total) + " ") != std::string::npos)
        << rows[2];
    EXPECT_TRUE(rows[2].find("Plafonul: " + std::to_string(ref.ceiling.total) + " ") != std::string::npos) << rows[2];
    const auto mine = game::columns_of(ref.board.cards);
    const auto best = game::columns_of(ref.ceiling.cards);
    for (int slot = 0; slot < game::HAND_SIZE; ++slot) {
        std::string expected;
        for (const auto* board : {&mine, &best}) {
            for (int c = 0; c < game::COLUMNS; ++c) expected += card_text((*board)[c][slot]) + " ";
        }
        EXPECT_EQ(words_of(rows[4 + slot]), words_of(expected)) << "row of the cards " << slot + 1;
    }
    for (int c = 0; c < game::COLUMNS; ++c) {
        std::string expected;
        for (const game::GameRecord* record : {&ref.board, &ref.ceiling}) {
            expected += std::to_string(c + 1) + " " + game::CATEGORY_NAMES_RO[record->categories[c]] + " " +
                        std::to_string(record->points[c]) + " ";
        }
        EXPECT_EQ(words_of(rows[10 + c]), words_of(expected)) << "column " << c + 1;
    }
    std::string players;
    for (std::size_t row = 18; row < 21; ++row) players += " " + words_of(rows[row]) + " ";
    for (const auto& [name, score] : ref.players) {
        EXPECT_NE(players.find(" " + name + " " + std::to_string(score) + " "), std::string::npos) << name << players;
    }
}

TEST(Play, InATerminalOfEightyByTwentyFour) {
    const Reference& ref = reference();
    ASSERT_EQ(run({"tmux", "-V"}).exit_code, 0) << "tmux is needed: scripts/deps.sh test installs it";
    TempDir dir;
    Tmux tmux(dir);
    tmux.start({bin("play"), "--seed", SEED, "--record", dir.file("play.dat")});
    tmux.wait_for("Runda 1 din 5, cartea 1 din 20:");
    // Round 1: 1, 2, a closed column refused, 3 taken back, 4, then Enter on the column left.
    tmux.keys({"1", "2", "1"});
    tmux.wait_for("Coloana 1 a primit deja o carte în runda 1");
    tmux.keys({"3", "u", "4", "Enter"});
    // Round 2 with the arrows: from column 3 right to 4; from 1 right to 2; from 1 left, round past 4, to 3.
    tmux.keys({"Right", "Enter", "Right", "Enter", "Left", "Enter", "1", "q"});
    tmux.wait_for("Ieșiți din joc?");
    tmux.keys({"n"});
    tmux.resize(60, 20);
    tmux.wait_for("Fereastra are 60x20; jocul are nevoie de cel puțin 80x24.");
    tmux.resize(80, 24);
    tmux.wait_for("Runda 3 din 5, cartea 9 din 20:");
    tmux.keys({"2", "1", "4", "3", "3", "4", "1", "2", "4", "3", "2"});
    tmux.wait_for("Runda 5 din 5, cartea 20 din 20:");
    const auto last_card = std::chrono::steady_clock::now();
    tmux.keys({"1"});
    // The end screen's last row: once it shows, every row above it does.
    const std::string screen = tmux.wait_for("n: joc nou · q: ieșire");
    const auto shown_after = std::chrono::steady_clock::now() - last_card;
    std::cout << "the end screen came " << std::chrono::duration_cast<std::chrono::milliseconds>(shown_after).count()
              << " ms after the last card\n";
    std::filesystem::create_directories(std::string(GAME_BUILD_DIR) + "/play");
    testing_support::write_file(std::string(GAME_BUILD_DIR) + "/play/final-screen.txt", screen);
    expect_end_screen(lines_of(screen), ref);
    EXPECT_EQ(read_file(dir.file("play.dat")), ref.record);
    tmux.keys({"q"});
    EXPECT_EQ(tmux.exit_status(), "0\n");
}

// The red suits are red where the terminal has colours, and plain where
// NO_COLOR (not empty) asks for none: the symbols tell the suit either way.
TEST(Play, NoColorLeavesTheRedSuitsPlain) {
    for (const std::string no_color : {"", "1"}) {
        TempDir dir;
        Tmux tmux(dir);
        tmux.start({"env", "NO_COLOR=" + no_color, bin("play"), "--seed", SEED});
        tmux.wait_for("J♥");  // the deal's first card
        const std::string shown = tmux.tmux({"capture-pane", "-p", "-e", "-t", "0"}).out;
        EXPECT_EQ(shown.find("\x1b[31mJ♥") != std::string::npos, no_color.empty()) << "NO_COLOR=" << no_color;
        tmux.keys({"q", "d"});
        // Gone before its terminal: a hangup in the sanitizers' leak check at
        // its exit could leave it stopped half-way.
        EXPECT_EQ(tmux.exit_status(), "0\n");
    }
}

TEST(Play, PlainThroughAPipe) {
    const Reference& ref = reference();
    TempDir dir;
    const std::string input =
        "1\n2\n1\n3\nu\n4\n3\n"  // round 1, as in the terminal
        "4\n2\n3\n1\nq\nn\n"     // round 2, then a question to quit, answered no
        "2\n1\n4\n3\n3\n4\n1\n2\n4\n3\n2\n1\nq\n";
    const auto r =
        run({bin("play"), "--plain", "--seed", SEED, "--record", dir.file("play.dat")}, input, dir.path(), WAIT_MS);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
    const std::vector<std::string> lines = lines_of(r.out);
    auto line_with = [&](const std::string& start) {
        for (const std::string& line : lines) {
            if (line.starts_with(start)) return line.substr(start.size());
        }
        ADD_FAILURE() << "no line begins with „" << start << "” in\n" << r.out;
        return std::string();
    };
    EXPECT_EQ(line_with("Coloana 1 a primit deja o carte în runda 1"), "");
    EXPECT_EQ(line_with("Ieșiți din joc? (d/n)"), "");
    EXPECT_EQ(line_with("Scor total: "), std::to_string(ref.board.total));
    EXPECT_TRUE(line_with("Plafonul, cea mai bună așezare a aceleiași împărțiri: ")
                    .starts_with(std::to_string(ref.ceiling.total) + " "));
    for (const auto& [name, score] : ref.players) {
        EXPECT_TRUE(line_with("  " + name + ": ").starts_with(std::to_string(score) + " ")) << name;
    }
    EXPECT_EQ(line_with("Se reia cu: "),
              std::string("play --seed ") + SEED + " (același pachet ca referee --seed " + SEED + ")");
    EXPECT_EQ(read_file(dir.file("play.dat")), ref.record);
}

// "2025-01-14 (sămânța 20250114)": the UTC date of the moment, and its seed.
std::string day_and_seed(std::chrono::system_clock::time_point now) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(now)};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u (sămânța %04d%02u%02u)", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()), static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

TEST(Play, TheDailyDealIsTodaysInUtc) {
    const auto before = std::chrono::system_clock::now();
    const auto r = run({"env", "TZ=Pacific/Kiritimati", bin("play"), "--plain", "--daily"}, "q\nd\n", "", WAIT_MS);
    const auto after = std::chrono::system_clock::now();
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string first_line = r.out.substr(0, r.out.find('\n'));
    // Midnight may pass during the run.
    EXPECT_TRUE(first_line == "Joc nou, împărțirea zilei " + day_and_seed(before) + "." ||
                first_line == "Joc nou, împărțirea zilei " + day_and_seed(after) + ".")
        << first_line;
}

// Whether process `pid` still runs (a zombie, waiting to be reaped, does not).
bool running(const std::string& pid) {
    const std::string stat = read_file("/proc/" + pid + "/stat");
    const std::size_t state = stat.rfind(')');
    return state != std::string::npos && stat.substr(state + 2, 1) != "Z";
}

// A terminal that goes away mid-game (its window closed, its server gone)
// ends the game as a hangup does: play must not stay behind. The sanitizers'
// leak check at its exit is left out here: the hangup's signals, still
// coming, could stop it half-way.
TEST(Play, AClosedTerminalEndsTheGame) {
    TempDir dir;
    std::string pid;
    {
        Tmux tmux(dir);
        tmux.start({"sh", "-c",
                    "echo $$ > " + dir.file("pid") +
                        "; ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 exec \"$@\"",
                    "sh", bin("play"), "--seed", SEED});
        tmux.wait_for("Runda 1 din 5, cartea 1 din 20:");
        pid = read_file(dir.file("pid"));
        pid.pop_back();  // its line feed
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    while (running(pid) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(running(pid)) << "play " << pid << " outlived its terminal";
}

// Ctrl-C while play waits for a move: it leaves at once with 130, saying
// so, and leaves nothing behind, the players' folders least of all.
TEST(Play, AnInterruptLeavesNothingBehind) {
    TempDir dir, tmp;
    proc::Process play;
    std::string error;
    ASSERT_EQ(play.start({"env", "TMPDIR=" + tmp.path(), bin("play"), "--plain", "--seed", SEED},
                         proc::SpawnOptions{dir.path(), true}, error),
              proc::Started::yes)
        << error;
    std::string shown;
    const proc::Deadline deadline(WAIT_MS);
    while (shown.find("Cartea 1 din 20") == std::string::npos && play.read(shown, deadline) == proc::Wait::data) {}
    ASSERT_NE(shown.find("Cartea 1 din 20"), std::string::npos) << shown;
    ASSERT_EQ(::kill(play.pid(), SIGINT), 0);
    ASSERT_EQ(play.wait_exit(proc::Deadline(WAIT_MS)), proc::Wait::exited);
    EXPECT_EQ(play.exit().code, 130);
    EXPECT_EQ(play.errors().text(), "play: întrerupt\n");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path())) << "play left files in TMPDIR";
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
