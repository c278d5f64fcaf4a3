// The game driver against players that misbehave in every way it must catch.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sys/wait.h>

#include "referee/game_driver.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"

namespace {

using referee::Fault;
using testing_support::bin;

constexpr int TIMEOUT_MS = 400;

struct Played {
    referee::GameResult result;
    double seconds;
};

// Plays one game of this player; whatever it left behind (+child) must be
// gone once the game is over.
Played play_command(const std::vector<std::string>& argv) {
    testing_support::adopt_orphans();
    referee::GameOptions options;
    options.timeout_ms = TIMEOUT_MS;
    options.capture_stderr = true;
    Played played;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(referee::play_game(referee::shuffled_deck(7), argv, options, played.result, error), referee::Played::yes)
        << error;
    played.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(testing_support::leftovers_after(1000), std::vector<std::string>{}) << "outlived its game";
    return played;
}

// The fake player with these arguments.
Played play(const std::vector<std::string>& fake_args) {
    std::vector<std::string> argv = {testing_support::helper("fake-player")};
    argv.insert(argv.end(), fake_args.begin(), fake_args.end());
    return play_command(argv);
}

TEST(GameDriver, AWellBehavedPlayerFinishesWithAScoredRecord) {
    const Played p = play({"good"});
    const referee::GameResult& r = p.result;
    EXPECT_EQ(r.fault, Fault::none) << r.message;
    EXPECT_EQ(r.answered, 20);
    EXPECT_EQ(r.record.status, 0);
    const game::Deck deck = referee::shuffled_deck(7);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(r.record.cards[k].card, deck[k]);
        EXPECT_EQ(r.record.cards[k].column, k % 4);
    }
    EXPECT_EQ(r.record.total, game::scored_record(r.record.cards).total);
    EXPECT_TRUE(r.player_errors.empty());
}

struct FaultCase {
    const char* name;
    std::vector<std::string> args;
    Fault fault;
    int card;
    std::string message_part;
    std::string absent = {};  // a part the message must not hold
};

class PlayerFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PlayerFault, EndsTheGameWithItsErrorRecord) {
    const FaultCase& c = GetParam();
    const Played p = play(c.args);
    const referee::GameResult& r = p.result;
    EXPECT_EQ(r.fault, c.fault) << r.message;
    EXPECT_EQ(r.card, c.card);
    EXPECT_NE(r.message.find(c.message_part), std::string::npos) << r.message;
    if (!c.absent.empty()) {
        EXPECT_EQ(r.message.find(c.absent), std::string::npos) << r.message;
    }
    EXPECT_EQ(r.record.status, static_cast<int>(c.fault));
    EXPECT_EQ(r.record.message, r.message);
    EXPECT_EQ(r.answered, std::min(c.card - 1, 20));
    // Bounded by the timeout even for a player that hangs: one wait, plus start-up.
    EXPECT_LT(p.seconds, 2.0 * TIMEOUT_MS / 1000 + 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerFault,
    ::testing::Values(
        FaultCase{"column_out_of_range", {"answer", "3", "5\n"}, Fault::bad_answer, 3, "Răspuns invalid la cartea 3"},
        FaultCase{"zero", {"answer", "1", "0\n"}, Fault::bad_answer, 1, "„0”"},
        FaultCase{"text", {"answer", "7", "doi\n"}, Fault::bad_answer, 7, "„doi”"},
        FaultCase{"carriage_return", {"answer", "2", "2\r\n"}, Fault::bad_answer, 2, "„2\\x0d”"},
        FaultCase{"leading_blank", {"answer", "9", " 1\n"}, Fault::bad_answer, 9, "„ 1”"},
        FaultCase{"two_digits", {"answer", "4", "12\n"}, Fault::bad_answer, 4, "„12”"},
        FaultCase{"empty_line", {"answer", "5", "\n"}, Fault::bad_answer, 5, "cartea 5"},
        FaultCase{
            "column_reused", {"reuse", "6"}, Fault::column_reused, 6, "Coloana 1 a primit deja o carte în runda 2"},
        FaultCase{"two_answers_at_once", {"two-lines", "10"}, Fault::early_output, 11, "înainte de cartea 11"},
        FaultCase{"hang", {"hang", "12"}, Fault::timeout, 12, "Niciun răspuns în 400 ms la cartea 12", "fflush"},
        FaultCase{"digit_without_line_feed", {"answer", "8", "4"}, Fault::timeout, 8, "la cartea 8"},
        // Not one byte at the first card: most likely an answer never flushed.
        FaultCase{"no_flush", {"no-flush"}, Fault::timeout, 1,
                  "la cartea 1 (JH); dacă jucătorul a răspuns, răspunsul a rămas în memoria tampon: fiecare rând "
                  "trebuie golit după ce e scris (fflush(stdout) în C, std::endl sau std::flush în C++, "
                  "print(..., flush=True) sau sys.stdout.flush() în Python)"},
        FaultCase{"digit_without_line_feed_at_the_first_card", {"answer", "1", "4"}, Fault::timeout, 1,
                  "la cartea 1 (JH)", "fflush"},
        FaultCase{"exit_zero_early",
                  {"exit", "5", "0"},
                  Fault::stopped,
                  5,
                  "s-a oprit cu starea 0 fără să răspundă la cartea 5"},
        FaultCase{"exit_failure_early", {"exit", "1", "3"}, Fault::stopped, 1, "starea 3"},
        FaultCase{"crash", {"crash", "14"}, Fault::stopped, 14, "semnalul 6"},
        FaultCase{"closes_output", {"close-output", "2"}, Fault::stopped, 2, "și-a închis ieșirea"},
        FaultCase{"output_after_end", {"extra"}, Fault::output_after_end, 21, "după al 20-lea răspuns: „extra\\x0a”"},
        FaultCase{"no_exit_after_end", {"linger"}, Fault::no_exit, 21, "nu s-a oprit în 400 ms"},
        FaultCase{"failure_status_after_end", {"status", "0", "4"}, Fault::exit_status, 21, "starea 4 după al 20-lea"},
        // It lives in a group of its own, so it kills only itself, and is judged on that end.
        FaultCase{"kills_its_group_after_the_end",
                  {"kill-group"},
                  Fault::exit_status,
                  21,
                  "semnalul 15 (Terminated) după al 20-lea"},
        FaultCase{"floods_standard_error", {"flood"}, Fault::timeout, 1, "Niciun răspuns în 400 ms la cartea 1"},
        FaultCase{"hangs_beside_a_descendant", {"+child", "hang", "3"}, Fault::timeout, 3, "la cartea 3"},
        // The descendant holds the output open: the exit alone ends the game.
        FaultCase{"exits_early_leaving_a_descendant",
                  {"+child", "exit", "5", "2"},
                  Fault::stopped,
                  5,
                  "s-a oprit cu starea 2 fără să răspundă la cartea 5"}),
    [](const auto& info) { return info.param.name; });

TEST(GameDriver, CapturesThePlayersStandardErrorWithoutAMessageWhenNothingWentWrong) {
    const Played p = play({"stderr"});
    EXPECT_EQ(p.result.fault, Fault::none);
    EXPECT_NE(p.result.player_errors.find("thinking about"), std::string::npos);
    EXPECT_EQ(p.result.message, "");
    EXPECT_EQ(p.result.record.status, 0);
}

TEST(GameDriver, KeepsTheStartAndTheEndOfAFloodOfStandardError) {
    const Played p = play({"flood"});
    const std::string& errors = p.result.player_errors;
    EXPECT_EQ(p.result.fault, Fault::timeout);
    EXPECT_EQ(errors.rfind(std::string(4096, 'e') + "\n[încă ", 0), 0u) << errors.substr(0, 100);
    EXPECT_TRUE(errors.ends_with(" octeți nepăstrați]\n" + std::string(1024, 'e'))) << errors.substr(4096, 100);
    EXPECT_LT(errors.size(), 4096u + 1024u + 100u);
}

// A player that dies after pages of its own notes: the message of its fault
// ends with what it said last, and the record holds the same message.
TEST(GameDriver, AFaultEndsWithTheLastWordsOnTheStandardError) {
    const std::string script =
        "read card; i=0; while [ $i -lt 700 ]; do echo \"note $i\" >&2; i=$((i + 1)); done; "
        "echo 'Fatal: no more cards' >&2; exit 3";
    const Played p = play_command({"/bin/sh", "-c", script});
    const referee::GameResult& r = p.result;
    EXPECT_EQ(r.fault, Fault::stopped);
    EXPECT_EQ(r.message.rfind("Jucătorul s-a oprit cu starea 3 fără să răspundă la cartea 1 (JH) — eroarea standard: "
                              "note 0 ⏎ note 1 ⏎ note 2 ⏎ ",
                              0),
              0u)
        << r.message;
    EXPECT_TRUE(r.message.ends_with(" ⏎ … ⏎ Fatal: no more cards")) << r.message;
    EXPECT_EQ(r.record.message, r.message);
}

TEST(GameDriver, ThePlayersExitEndsTheGameNotItsDescendants) {
    // A descendant still holds the output: the game is judged on the player's own clean exit.
    const Played p = play({"+child", "good"});
    EXPECT_EQ(p.result.fault, Fault::none) << p.result.message;
    EXPECT_LT(p.seconds, TIMEOUT_MS / 1000.0);
}

TEST(GameDriver, PlayerThatCannotStartIsNotAGame) {
    referee::GameResult result;
    std::string error;
    EXPECT_EQ(referee::play_game(referee::shuffled_deck(1), {"/nonexistent/player"}, {}, result, error),
              referee::Played::not_started);
    EXPECT_NE(error.find("/nonexistent/player: nu poate fi pornit"), std::string::npos) << error;
}

TEST(Shuffle, SameSeedSameDealOnEveryMachine) {
    // Fixed values: the deal of a seed must never change, whatever the standard library.
    const game::Deck deck = referee::shuffled_deck(42);
    std::string tokens;
    for (int i = 0; i < 6; ++i) tokens += game::token_of(deck[i]) + " ";
    EXPECT_EQ(tokens, "JH QC KC 9S 10D QH ");
    EXPECT_TRUE(game::is_full_deck(deck));
    EXPECT_NE(referee::shuffled_deck(43), deck);
}

}  // namespace
