// The referee on hostile options, deck files and players, cheaters among
// them. A usage error or a bad deck writes nothing; a player that faults
// leaves exactly one game record, in the error form, naming the fault.
#include <gtest/gtest.h>

#include "tests/hostile/program_players.h"

namespace {

using hostile::ANSWERS_ABOVE_127;
using hostile::ANSWERS_NUL;
using hostile::Case;
using hostile::DECK;
using hostile::DISK_FILLER;
using hostile::ENDLESS_LINE;
using hostile::Expected;
using hostile::FAKE;
using hostile::GAME_DAT;
using hostile::KILLED;
using hostile::MEMORY_HOG;
using hostile::PLAY_ON;
using hostile::PYTHON_PLAYER;
using hostile::READS_ITS_ORDER;
using hostile::attack;
using hostile::containing;
using hostile::directory;
using hostile::endless;
using hostile::exactly;
using hostile::file;
using hostile::huge;
using hostile::script;
using hostile::unreadable;
using testing_support::bin;

// Refused before any game: status 2, nothing on standard output and no file.
Expected refused(const std::string& message) { return {.exit_code = 2, .error = "referee: " + message}; }
Expected deck_fault(const std::string& message) { return refused("deck.txt: " + message); }

// The game ends on the player's fault: status 1, and the record holds it.
Expected player_fault(int record_status, const std::string& message) {
    return {.exit_code = 1,
            .error = "referee: " + message,
            .made = GAME_DAT,
            .record_head = std::to_string(record_status) + "\n" + message};
}

// What was asked for on standard output is lost: a failure, whatever it was.
const Expected FULL_DEVICE = {.exit_code = 2,
                              .error = "referee: nu se poate scrie ieșirea standard: No space left on device"};

// What a script without "#!" lacks, and the two ways to give it; after the
// absolute path of "p.py".
const std::string SCRIPT_WITHOUT_ITS_FIRST_LINE =
    "/p.py: nu poate fi pornit: nu este un program compilat și nu începe cu „#!”: adăugați-i ca prim rând "
    "„#!/usr/bin/env python3” sau porniți-l prin interpretor: python3 /";

// The ascending deck, played 1 2 3 4 in every round, makes four straight flushes.
const Expected PLAYED = {.out = exactly("Scor total: 400\n"), .made = GAME_DAT, .record_head = "0\n400\n"};
// A deal of a seed's, played to its end: its score is whatever that deal gives.
const Expected PLAYED_A_SEEDS_DEAL = {.out = containing("Scor total: "), .made = GAME_DAT, .record_head = "0\n"};

std::vector<std::string> deck_and(std::vector<std::string> args) {
    args.insert(args.begin(), {"--deck", "deck.txt"});
    return args;
}

// The deck file that deck_and() names, alone or with another file beside it.
std::vector<hostile::Entry> deck_alone() { return {file("deck.txt", DECK)}; }
std::vector<hostile::Entry> deck_with(const hostile::Entry& extra) { return {file("deck.txt", DECK), extra}; }

// Options and seeds: refused before any game, or a game as they ask.
std::vector<Case> option_cases() {
    return {
        {.name = "help", .args = {"--help"}, .expect = {.out = exactly(hostile::help_of("referee"))}},
        {.name = "version", .args = {"--version"}, .expect = hostile::version_of("referee")},
        {.name = "help_to_a_full_device", .args = {"--help"}, .expect = FULL_DEVICE, .output_to_full_device = true},
        {.name = "version_to_a_full_device", .args = {"--version"}, .expect = FULL_DEVICE,
         .output_to_full_device = true},
        {.name = "usage_error_in_one_line", .args = {"--seed", "7"},
         .expect = hostile::usage_error("referee", "lipsește jucătorul")},
        {.name = "value_after_an_equals_sign", .setup = deck_alone(),
         .args = {"--deck=deck.txt", "--timeout-ms=5000", FAKE}, .expect = PLAYED},
        {.name = "check_keeps_no_record", .args = {"--check", "--record", "x.dat", FAKE},
         .expect = hostile::usage_error("referee", "--record nu merge cu --check, care nu păstrează nimic")},
        {.name = "check_keeps_no_deck", .args = {"--check", "--save-deck=d.txt", FAKE},
         .expect = hostile::usage_error("referee", "--save-deck nu merge cu --check, care nu păstrează nimic")},
        {.name = "seed_in_hex_beyond_64_bits", .args = {"--seed", "0x10000000000000000", FAKE},
         .expect = refused("sămânță invalidă: 0x10000000000000000")},
        {.name = "no_player", .expect = refused("lipsește jucătorul")},
        {.name = "unknown_option", .args = {"--bogus", FAKE}, .expect = refused("opțiune necunoscută: --bogus")},
        {.name = "option_without_value", .args = {"--deck"}, .expect = refused("lipsește valoarea pentru --deck")},
        {.name = "seed_not_a_number", .args = {"--seed", "12a", FAKE}, .expect = refused("sămânță invalidă: 12a")},
        {.name = "seed_beyond_64_bits", .args = {"--seed", "18446744073709551616", FAKE},
         .expect = refused("sămânță invalidă: 18446744073709551616")},
        {.name = "seed_bytes_above_127", .args = {"--seed", "1\xc3\xa9", FAKE},
         .expect = refused("sămânță invalidă: 1\xc3\xa9")},
        // A fresh seed may take all 64 bits, and every one of them replays its game.
        {.name = "seed_of_twenty_digits", .args = {"--seed", "18446744073709551615", FAKE},
         .expect = PLAYED_A_SEEDS_DEAL},
        {.name = "largest_seed_in_hex", .args = {"--seed", "0xFFFFFFFFFFFFFFFF", FAKE}, .expect = PLAYED_A_SEEDS_DEAL},
        {.name = "timeout_zero", .args = {"--timeout-ms", "0", FAKE},
         .expect = refused("durată invalidă (1..3600000 ms): 0")},
        {.name = "deck_and_seed", .setup = deck_alone(), .args = deck_and({"--seed", "3", FAKE}),
         .expect = refused("--deck și --seed nu merg împreună")},
        {.name = "empty_record_name", .args = {"--record", "", FAKE},
         .expect = refused("--record are nevoie de un nume de fișier")},
    };
}

// Deck files that cannot be read, hold no deck, or hold more than one.
std::vector<Case> deck_cases() {
    return {
        {.name = "deck_missing", .args = deck_and({FAKE}),
         .expect = deck_fault("nu se poate deschide: No such file or directory")},
        {.name = "deck_is_a_directory", .setup = {directory("deck.txt")}, .args = deck_and({FAKE}),
         .expect = deck_fault("nu se poate citi: Is a directory")},
        {.name = "deck_unreadable", .setup = {unreadable("deck.txt", DECK)}, .args = deck_and({FAKE}),
         .expect = deck_fault("nu se poate deschide: Permission denied")},
        {.name = "deck_behind_a_file", .setup = deck_alone(), .args = {"--deck", "deck.txt/deck.txt", FAKE},
         .expect = refused("deck.txt/deck.txt: nu se poate deschide: Not a directory")},
        {.name = "deck_empty", .setup = {file("deck.txt", "")}, .args = deck_and({FAKE}),
         .expect = deck_fault("are doar 0 numere")},
        {.name = "deck_truncated_mid_number", .setup = {file("deck.txt", DECK.substr(0, DECK.size() - 2))},
         .args = deck_and({FAKE}), .expect = deck_fault("numărul 24 din 24: codul 2 se repetă")},
        {.name = "deck_huge", .setup = {huge("deck.txt", DECK, 40)}, .args = deck_and({FAKE}), .expect = PLAYED},
        {.name = "deck_endless_after_the_24th", .setup = {endless("deck.txt", DECK)}, .args = deck_and({FAKE}),
         .expect = PLAYED},
    };
}

// Players that cannot be started, or that fault in their game.
std::vector<Case> faulty_player_cases() {
    return {
        // Named by their absolute paths: players run in folders of their own.
        {.name = "player_missing", .setup = deck_alone(), .args = deck_and({"./nope"}),
         .expect = {.exit_code = 2, .error = "/nope: nu poate fi pornit: nu există\n"}},
        {.name = "player_is_a_directory", .setup = deck_with(directory("d")), .args = deck_and({"./d"}),
         .expect = {.exit_code = 2, .error = "/d: nu poate fi pornit: este un director\n"}},
        {.name = "player_not_executable", .setup = deck_with(file("p.txt", "")), .args = deck_and({"./p.txt"}),
         .expect = {.exit_code = 2,
                    .error = "/p.txt: nu poate fi pornit: nu are dreptul de execuție: dați chmod +x /"}},
        {.name = "player_found_only_in_the_current_folder", .setup = deck_with(script("loop.sh", PLAY_ON)),
         .args = deck_and({"loop.sh"}),
         .expect = refused("loop.sh: nu poate fi pornit: nu este în PATH; cel din directorul curent se dă ca "
                           "./loop.sh\n")},
        {.name = "player_not_on_the_path", .setup = deck_alone(), .args = deck_and({"no-such-player"}),
         .expect = refused("no-such-player: nu poate fi pornit: nu se găsește în PATH\n")},
        // Exec alone finds these: in the sandbox's cell and out of it, told the same way.
        {.name = "script_without_its_first_line", .setup = deck_with(hostile::program("p.py", "import sys\n")),
         .args = deck_and({"./p.py"}), .expect = {.exit_code = 2, .error = SCRIPT_WITHOUT_ITS_FIRST_LINE}},
        {.name = "script_without_its_first_line_out_of_the_sandbox",
         .setup = deck_with(hostile::program("p.py", "import sys\n")), .args = deck_and({"--sandbox", "off", "./p.py"}),
         .expect = {.exit_code = 2, .error = SCRIPT_WITHOUT_ITS_FIRST_LINE}},
        {.name = "script_of_a_missing_interpreter",
         .setup = deck_with(hostile::program("p.py", "#!/nonexistent/python3\n")), .args = deck_and({"./p.py"}),
         .expect = {.exit_code = 2,
                    .error = "/p.py: nu poate fi pornit: interpretorul din rândul lui „#!”, /nonexistent/python3, "
                             "nu există\n"}},
        {.name = "answer_nul_byte", .setup = deck_with(script("p.sh", ANSWERS_NUL)), .args = deck_and({"./p.sh"}),
         .expect = player_fault(1, "Răspuns invalid la cartea 1 (9C): „\\x00”")},
        {.name = "answer_bytes_above_127", .setup = deck_with(script("p.sh", ANSWERS_ABOVE_127)),
         .args = deck_and({"./p.sh"}), .expect = player_fault(1, "Răspuns invalid la cartea 1 (9C): „\\xc3\\xa9”")},
        {.name = "answer_endless_line", .setup = deck_with(script("p.sh", ENDLESS_LINE)), .args = deck_and({"./p.sh"}),
         .expect = player_fault(1, "Răspuns invalid la cartea 1 (9C): „" + std::string(32, '1') + "...”")},
        {.name = "player_hangs", .setup = deck_alone(), .args = deck_and({"--timeout-ms", "1000", FAKE, "hang", "3"}),
         .expect = player_fault(4, "Niciun răspuns în 1000 ms la cartea 3 (9H)")},
        {.name = "player_exits_early", .setup = deck_alone(), .args = deck_and({FAKE, "exit", "3", "0"}),
         .expect = player_fault(5, "Jucătorul s-a oprit cu starea 0 fără să răspundă la cartea 3 (9H)")},
        {.name = "player_killed", .setup = deck_with(script("p.sh", KILLED)), .args = deck_and({"./p.sh"}),
         .expect = player_fault(5, "Jucătorul s-a oprit cu semnalul 9 (Killed) fără să răspundă la cartea 1 (9C)")},
        // A fault ends with what the player said last on its standard error.
        {.name = "python_player_dies_of_an_exception", .setup = deck_alone(),
         .args = deck_and({"/usr/bin/python3", "-c", "import sys; sys.stdin.readline(); 1/0"}),
         .expect = player_fault(5, "Jucătorul s-a oprit cu starea 1 fără să răspundă la cartea 1 (9C) — eroarea "
                                   "standard: Traceback (most recent call last): ⏎ File \"<string>\", line 1, in "
                                   "<module> ⏎ ZeroDivisionError: division by zero\n")},
        {.name = "player_never_flushes", .setup = deck_alone(),
         .args = deck_and({"--timeout-ms", "1000", FAKE, "no-flush"}),
         .expect = player_fault(4, "Niciun răspuns în 1000 ms la cartea 1 (9C); dacă jucătorul a răspuns, răspunsul "
                                   "a rămas în memoria tampon: fiecare rând trebuie golit după ce e scris "
                                   "(fflush(stdout) în C, std::endl sau std::flush în C++, print(..., flush=True) sau "
                                   "sys.stdout.flush() în Python)\n")},
        {.name = "player_writes_after_the_end", .setup = deck_alone(), .args = deck_and({FAKE, "extra"}),
         .expect = player_fault(7, "Jucătorul a scris după al 20-lea răspuns: „extra\\x0a”")},
        {.name = "player_does_not_exit", .setup = deck_alone(),
         .args = deck_and({"--timeout-ms", "1000", FAKE, "linger"}),
         .expect = player_fault(8, "Jucătorul nu s-a oprit în 1000 ms după al 20-lea răspuns")},
        {.name = "player_fails_after_the_end", .setup = deck_alone(), .args = deck_and({FAKE, "status", "0", "4"}),
         .expect = player_fault(6, "Jucătorul s-a încheiat cu starea 4 după al 20-lea răspuns")},
    };
}

// The record, the saved deck and standard output: where they may go, and where they cannot be written.
std::vector<Case> output_cases() {
    return {
        {.name = "record_is_a_directory", .setup = deck_with(directory("out")),
         .args = deck_and({"--record", "out", FAKE}),
         .expect = refused("out: nu se poate scrie: Is a directory")},
        {.name = "record_behind_a_file", .setup = deck_alone(),
         .args = deck_and({"--record", "deck.txt/game.dat", FAKE}),
         .expect = refused("deck.txt/game.dat: nu se poate scrie: Not a directory")},
        {.name = "saved_deck_into_a_directory", .setup = deck_with(directory("out")),
         .args = deck_and({"--save-deck", "out", FAKE}), .expect = refused("out: nu se poate scrie: Is a directory")},
        // Every output is checked before the first card: no game is played to
        // be lost (this one would wait an hour for its player).
        {.name = "record_in_a_locked_folder", .setup = deck_with(hostile::locked("ro")),
         .args = deck_and({"--record", "ro/game.dat", "--timeout-ms", "3600000", FAKE, "hang", "1"}),
         .expect = refused("ro/game.dat: nu se poate scrie: Permission denied")},
        {.name = "saved_deck_in_a_locked_folder", .setup = deck_with(hostile::locked("ro")),
         .args = deck_and({"--save-deck", "ro/d.txt", "--timeout-ms", "3600000", FAKE, "hang", "1"}),
         .expect = refused("ro/d.txt: nu se poate scrie: Permission denied")},
        // A special file is written through, never replaced.
        {.name = "record_to_a_fifo", .setup = deck_with(endless("g.fifo", "")),
         .args = deck_and({"--record", "g.fifo", FAKE}),
         .expect = {.out = exactly("Scor total: 400\n")}},
        // Beyond the size limit the old record stays whole, no temporary is
        // left, and the score is still told.
        {.name = "record_beyond_the_file_size_limit", .setup = deck_with(file("game.dat", "old")),
         .args = deck_and({FAKE}),
         .expect = {.exit_code = 2, .error = "referee: game.dat: nu se poate scrie: File too large",
                    .out = exactly("Scor total: 400\n")},
         .shell = hostile::FILE_SIZE_LIMIT_ZERO},
        {.name = "output_to_a_full_device", .setup = deck_alone(), .args = deck_and({FAKE}),
         .expect = {.exit_code = 2, .error = "referee: nu se poate scrie ieșirea standard: No space left on device",
                    .made = GAME_DAT},
         .output_to_full_device = true},
    };
}

// Around the game: what a player starts, what we inherit, and fair players in the sandbox.
std::vector<Case> around_the_game_cases() {
    return {
        // Nothing the player does reaches the referee, and nothing it starts outlives the game.
        {.name = "player_kills_its_group", .setup = deck_alone(), .args = deck_and({FAKE, "kill-group"}),
         .expect = player_fault(6, "Jucătorul s-a încheiat cu semnalul 15 (Terminated) după al 20-lea răspuns")},
        {.name = "player_leaves_a_descendant", .setup = deck_alone(), .args = deck_and({FAKE, "+child", "good"}),
         .expect = PLAYED},
        {.name = "player_hangs_beside_a_descendant", .setup = deck_alone(),
         .args = deck_and({"--timeout-ms", "300", FAKE, "+child", "hang", "2"}),
         .expect = player_fault(4, "Niciun răspuns în 300 ms la cartea 2 (9D)")},
        // What we inherit cannot turn a good game into a fault, and our own lack is not the player's.
        {.name = "sigchld_ignored", .setup = deck_alone(), .args = deck_and({FAKE}), .expect = PLAYED,
         .shell = hostile::SIGCHLD_IGNORED},
        {.name = "too_few_file_descriptors", .setup = deck_alone(), .args = deck_and({FAKE}),
         .expect = {.exit_code = 2, .error = "Too many open files"}, .shell = hostile::few_files(6)},
        // Fair players keep working in the sandbox.
        {.name = "python_player", .setup = deck_with(hostile::program("p.py", PYTHON_PLAYER)),
         .args = deck_and({"./p.py"}), .expect = PLAYED},
        {.name = "player_reads_a_data_file_it_is_given",
         .setup = {file("deck.txt", DECK), script("p.sh", READS_ITS_ORDER), file("order.txt", "4 3 2 1")},
         .args = deck_and({"./p.sh", "order.txt"}), .expect = PLAYED},
    };
}

// --check runs the player as a match does: in a fresh folder of its own
// (out of the sandbox too), with its arguments made absolute.
std::vector<Case> check_cases() {
    const std::string as_in_a_match = "Jucătorul rulează ca într-un meci: într-un director de lucru nou la fiecare "
                                      "joc, cu argumentele făcute absolute; izolarea: ";
    return {
        {.name = "check_of_a_player_given_a_relative_path",
         .setup = {directory("mine"), file("mine/p.py", PYTHON_PLAYER)},
         .args = {"--check", "--seed", "1", "/usr/bin/python3", "mine/p.py"},
         .expect = {.out = containing(as_in_a_match)}},
        {.name = "check_out_of_the_sandbox_in_a_folder_of_its_own",
         .args = {"--check", "--sandbox", "off", "--seed", "1", FAKE, "scribble"},
         .expect = {.out = containing(as_in_a_match + "oprită (--sandbox off).\n")}},
        {.name = "check_of_a_player_that_never_answers",
         .args = {"--check", "--seed", "1", "--timeout-ms", "300", FAKE, "hang", "1"},
         .expect = {.exit_code = 1,
                    .out = containing("5. aceleași răspunsuri când aceeași împărțire e jucată de două ori: Eșuat: nu a "
                                      "dat niciun răspuns de comparat\n")}},
    };
}

// The fake player's arguments to cheat this way, on the ascending deck.
std::vector<std::string> cheat(std::vector<std::string> attack) {
    attack.insert(attack.begin(), {FAKE, "cheat"});
    return deck_and(attack);
}

// Cheaters, each kept from what it attacks; they mean something only in a whole sandbox.
std::vector<Case> attack_cases() {
    const std::vector<hostile::Entry> deck = deck_alone();
    return {
        // A cheater attacks at its first card; a leak would be its answer, a
        // fault. Kept from it, it plays its fallback: the ascending deck's 400.
        attack("cheater_reads_the_seed_in_our_command_line", {}, {"--seed", "7", FAKE, "cheat", "cmdline"},
               PLAYED_A_SEEDS_DEAL),
        attack("cheater_reads_our_memory", deck, cheat({"memory"}), PLAYED),
        attack("cheater_opens_our_memory_to_rig_the_deal", deck, cheat({"rig"}), PLAYED),
        attack("cheater_reads_the_seed_on_a_shared_standard_error", {}, {FAKE, "cheat", "stderr"},
               {.out = containing("Scor total: "), .made = {"game.dat", "seed.txt"}, .record_head = "0\n"},
               "exec \"$@\" 2>seed.txt"),
        attack("cheater_reads_a_file_of_ours_and_an_inherited_descriptor", deck_with(file("victim.txt", "secret")),
               cheat({"file", "victim.txt"}), PLAYED, "exec 5<victim.txt; exec \"$@\""),
        attack("cheater_plants_a_link_to_our_file_and_a_forged_record", deck_with(file("victim.txt", "precious")),
               cheat({"plant", "victim.txt"}), PLAYED),
        attack("cheater_signals_its_runner", deck, cheat({"signal"}), PLAYED),
        attack("cheater_leaves_a_sleeper_out_of_its_session", deck, cheat({"escape"}), PLAYED),
        attack("cheater_leaves_a_processor_spinning", deck, cheat({"spin"}), PLAYED),
        attack("cheater_takes_gigabytes_of_memory", deck_with(script("hog.sh", MEMORY_HOG)),
               deck_and({"--player-memory", "512", "./hog.sh"}), PLAYED),
        attack("cheater_fills_the_disk", deck_with(script("disk.sh", DISK_FILLER)), deck_and({"./disk.sh"}), PLAYED),
        attack("cheater_forks_without_end", deck, deck_and({"--timeout-ms", "1000", FAKE, "cheat", "fork-bomb"}),
               player_fault(4, "Niciun răspuns în 1000 ms la cartea 1 (9C)")),
        // What we write of a deal goes where no player can read it.
        attack("saved_deck_where_the_player_reads", {directory("data")},
               {"--seed", "1", "--save-deck", "data/d.txt", FAKE, "data"},
               refused("data/d.txt: un jucător l-ar putea citi")),
    };
}


class Referee : public ::testing::TestWithParam<Case> {};

TEST_P(Referee, HasItsExactOutcome) { hostile::expect_outcome("referee", GetParam()); }

INSTANTIATE_TEST_SUITE_P(BadInput, Referee,
                         ::testing::ValuesIn(hostile::joined({option_cases(), deck_cases(), faulty_player_cases(),
                                                              output_cases(), around_the_game_cases(),
                                                              check_cases(), attack_cases()})),
                         hostile::case_name);

}  // namespace
