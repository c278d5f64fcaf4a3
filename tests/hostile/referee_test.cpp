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

// Refused before any game: status 2 and no file.
Expected refused(const std::string& message) { return {2, "referee: " + message, exactly("")}; }
Expected deck_fault(const std::string& message) { return refused("deck.txt: " + message); }

// The game ends on the player's fault: status 1, and the record holds it.
Expected player_fault(int record_status, const std::string& message) {
    return {1, "referee: " + message, exactly(""), GAME_DAT, std::to_string(record_status) + "\n" + message};
}

// What was asked for on standard output is lost: a failure, whatever it was.
const Expected FULL_DEVICE = {2, "referee: nu se poate scrie ieșirea standard: No space left on device", exactly("")};

// The ascending deck, played 1 2 3 4 in every round, makes four straight flushes.
const Expected PLAYED = {0, "", exactly("Scor total: 400\n"), GAME_DAT, "0\n400\n"};

std::vector<std::string> deck_and(std::vector<std::string> args) {
    args.insert(args.begin(), {"--deck", "deck.txt"});
    return args;
}

std::vector<Case> referee_cases() {
    const std::vector<hostile::Entry> deck = {file("deck.txt", DECK)};
    auto deck_with = [&](hostile::Entry extra) { return std::vector<hostile::Entry>{file("deck.txt", DECK), extra}; };
    std::vector<Case> cases = {
        {"help", {}, {"--help"}, "", {0, "", exactly(hostile::help_of("referee"))}},
        {"version", {}, {"--version"}, "", hostile::version_of("referee")},
        {"help_to_a_full_device", {}, {"--help"}, "", FULL_DEVICE, true},
        {"version_to_a_full_device", {}, {"--version"}, "", FULL_DEVICE, true},
        {"usage_error_in_one_line", {}, {"--seed", "7"}, "", hostile::usage_error("referee", "lipsește jucătorul")},
        {"value_after_an_equals_sign", deck, {"--deck=deck.txt", "--timeout-ms=5000", FAKE}, "", PLAYED},
        {"check_keeps_no_record", {}, {"--check", "--record", "x.dat", FAKE}, "",
         hostile::usage_error("referee", "--record nu merge cu --check, care nu păstrează nimic")},
        {"check_keeps_no_deck", {}, {"--check", "--save-deck=d.txt", FAKE}, "",
         hostile::usage_error("referee", "--save-deck nu merge cu --check, care nu păstrează nimic")},
        {"seed_in_hex_beyond_64_bits", {}, {"--seed", "0x10000000000000000", FAKE}, "",
         refused("sămânță invalidă: 0x10000000000000000")},
        {"no_player", {}, {}, "", refused("lipsește jucătorul")},
        {"unknown_option", {}, {"--bogus", FAKE}, "", refused("opțiune necunoscută: --bogus")},
        {"option_without_value", {}, {"--deck"}, "", refused("lipsește valoarea pentru --deck")},
        {"seed_not_a_number", {}, {"--seed", "12a", FAKE}, "", refused("sămânță invalidă: 12a")},
        {"seed_beyond_64_bits", {}, {"--seed", "18446744073709551616", FAKE}, "",
         refused("sămânță invalidă: 18446744073709551616")},
        {"seed_bytes_above_127", {}, {"--seed", "1\xc3\xa9", FAKE}, "", refused("sămânță invalidă: 1\xc3\xa9")},
        // A fresh seed may take all 64 bits, and every one of them replays its game.
        {"seed_of_twenty_digits", {}, {"--seed", "18446744073709551615", FAKE}, "",
         {0, "", containing("Scor total: "), GAME_DAT, "0\n"}},
        {"largest_seed_in_hex", {}, {"--seed", "0xFFFFFFFFFFFFFFFF", FAKE}, "",
         {0, "", containing("Scor total: "), GAME_DAT, "0\n"}},
        {"timeout_zero", {}, {"--timeout-ms", "0", FAKE}, "", refused("durată invalidă (1..3600000 ms): 0")},
        {"deck_and_seed", deck, deck_and({"--seed", "3", FAKE}), "", refused("--deck și --seed nu merg împreună")},
        {"empty_record_name", {}, {"--record", "", FAKE}, "", refused("--record are nevoie de un nume de fișier")},

        {"deck_missing", {}, deck_and({FAKE}), "", deck_fault("nu se poate deschide: No such file or directory")},
        {"deck_is_a_directory", {directory("deck.txt")}, deck_and({FAKE}), "",
         deck_fault("nu se poate citi: Is a directory")},
        {"deck_unreadable", {unreadable("deck.txt", DECK)}, deck_and({FAKE}), "",
         deck_fault("nu se poate deschide: Permission denied")},
        {"deck_behind_a_file", deck, {"--deck", "deck.txt/deck.txt", FAKE}, "",
         refused("deck.txt/deck.txt: nu se poate deschide: Not a directory")},
        {"deck_empty", {file("deck.txt", "")}, deck_and({FAKE}), "", deck_fault("are doar 0 numere")},
        {"deck_truncated_mid_number", {file("deck.txt", DECK.substr(0, DECK.size() - 2))}, deck_and({FAKE}), "",
         deck_fault("numărul 24 din 24: codul 2 se repetă")},
        {"deck_huge", {huge("deck.txt", DECK, 40)}, deck_and({FAKE}), "", PLAYED},
        {"deck_endless_after_the_24th", {endless("deck.txt", DECK)}, deck_and({FAKE}), "", PLAYED},

        // Named by their absolute paths: players run in folders of their own.
        {"player_missing", deck, deck_and({"./nope"}), "", {2, "/nope: nu poate fi pornit: No such file or directory", exactly("")}},
        {"player_is_a_directory", deck_with(directory("d")), deck_and({"./d"}), "",
         {2, "/d: nu poate fi pornit: Permission denied", exactly("")}},
        {"player_not_executable", deck_with(file("p.txt", "")), deck_and({"./p.txt"}), "",
         {2, "/p.txt: nu poate fi pornit: Permission denied", exactly("")}},
        {"answer_nul_byte", deck_with(script("p.sh", ANSWERS_NUL)), deck_and({"./p.sh"}), "",
         player_fault(1, "Răspuns invalid la cartea 1 (9C): „\\x00”")},
        {"answer_bytes_above_127", deck_with(script("p.sh", ANSWERS_ABOVE_127)), deck_and({"./p.sh"}), "",
         player_fault(1, "Răspuns invalid la cartea 1 (9C): „\\xc3\\xa9”")},
        {"answer_endless_line", deck_with(script("p.sh", ENDLESS_LINE)), deck_and({"./p.sh"}), "",
         player_fault(1, "Răspuns invalid la cartea 1 (9C): „" + std::string(32, '1') + "...”")},
        {"player_hangs", deck, deck_and({"--timeout-ms", "1000", FAKE, "hang", "3"}), "",
         player_fault(4, "Niciun răspuns în 1000 ms la cartea 3 (9H)")},
        {"player_exits_early", deck, deck_and({FAKE, "exit", "3", "0"}), "",
         player_fault(5, "Jucătorul s-a oprit cu starea 0 fără să răspundă la cartea 3 (9H)")},
        {"player_killed", deck_with(script("p.sh", KILLED)), deck_and({"./p.sh"}), "",
         player_fault(5, "Jucătorul s-a oprit cu semnalul 9 (Killed) fără să răspundă la cartea 1 (9C)")},
        {"player_writes_after_the_end", deck, deck_and({FAKE, "extra"}), "",
         player_fault(7, "Jucătorul a scris după al 20-lea răspuns: „extra\\x0a”")},
        {"player_does_not_exit", deck, deck_and({"--timeout-ms", "1000", FAKE, "linger"}), "",
         player_fault(8, "Jucătorul nu s-a oprit în 1000 ms după al 20-lea răspuns")},
        {"player_fails_after_the_end", deck, deck_and({FAKE, "status", "0", "4"}), "",
         player_fault(6, "Jucătorul s-a încheiat cu starea 4 după al 20-lea răspuns")},

        {"record_is_a_directory", deck_with(directory("out")), deck_and({"--record", "out", FAKE}), "",
         refused("out: nu se poate scrie: Is a directory")},
        {"record_behind_a_file", deck, deck_and({"--record", "deck.txt/game.dat", FAKE}), "",
         refused("deck.txt/game.dat: nu se poate scrie: Not a directory")},
        {"saved_deck_into_a_directory", deck_with(directory("out")), deck_and({"--save-deck", "out", FAKE}), "",
         refused("out: nu se poate scrie: Is a directory")},
        // Every output is checked before the first card: no game is played to
        // be lost (this one would wait an hour for its player).
        {"record_in_a_locked_folder", deck_with(hostile::locked("ro")),
         deck_and({"--record", "ro/game.dat", "--timeout-ms", "3600000", FAKE, "hang", "1"}), "",
         refused("ro/game.dat: nu se poate scrie: Permission denied")},
        {"saved_deck_in_a_locked_folder", deck_with(hostile::locked("ro")),
         deck_and({"--save-deck", "ro/d.txt", "--timeout-ms", "3600000", FAKE, "hang", "1"}), "",
         refused("ro/d.txt: nu se poate scrie: Permission denied")},
        // A special file is written through, never replaced.
        {"record_to_a_fifo", deck_with(endless("g.fifo", "")), deck_and({"--record", "g.fifo", FAKE}), "",
         {0, "", exactly("Scor total: 400\n")}},
        // Beyond the size limit the old record stays whole, no temporary is
        // left, and the score is still told.
        {"record_beyond_the_file_size_limit", deck_with(file("game.dat", "old")), deck_and({FAKE}), "",
         {2, "referee: game.dat: nu se poate scrie: File too large", exactly("Scor total: 400\n")}, false,
         hostile::FILE_SIZE_LIMIT_ZERO},
        {"output_to_a_full_device", deck, deck_and({FAKE}), "",
         {2, "referee: nu se poate scrie ieșirea standard: No space left on device", exactly(""), GAME_DAT}, true},

        // Nothing the player does reaches the referee, and nothing it starts outlives the game.
        {"player_kills_its_group", deck, deck_and({FAKE, "kill-group"}), "",
         player_fault(6, "Jucătorul s-a încheiat cu semnalul 15 (Terminated) după al 20-lea răspuns")},
        {"player_leaves_a_descendant", deck, deck_and({FAKE, "+child", "good"}), "", PLAYED},
        {"player_hangs_beside_a_descendant", deck, deck_and({"--timeout-ms", "300", FAKE, "+child", "hang", "2"}), "",
         player_fault(4, "Niciun răspuns în 300 ms la cartea 2 (9D)")},
        // What we inherit cannot turn a good game into a fault, and our own lack is not the player's.
        {"sigchld_ignored", deck, deck_and({FAKE}), "", PLAYED, false, hostile::SIGCHLD_IGNORED},
        {"too_few_file_descriptors", deck, deck_and({FAKE}), "", {2, "Too many open files", exactly("")}, false,
         hostile::few_files(6)},

        // Fair players keep working in the sandbox.
        {"python_player", deck_with(hostile::program("p.py", PYTHON_PLAYER)), deck_and({"./p.py"}), "", PLAYED},
        {"player_reads_a_data_file_it_is_given",
         {file("deck.txt", DECK), script("p.sh", READS_ITS_ORDER), file("order.txt", "4 3 2 1")},
         deck_and({"./p.sh", "order.txt"}), "", PLAYED},
    };
    // A cheater attacks at its first card; a leak would be its answer, a
    // fault. Kept from it, it plays its fallback: the ascending deck's 400.
    auto cheat = [&](std::vector<std::string> attack) {
        attack.insert(attack.begin(), {FAKE, "cheat"});
        return deck_and(attack);
    };
    const Expected played_fairly = {0, "", containing("Scor total: "), GAME_DAT, "0\n"};
    const std::vector<Case> attacks = {
        attack("cheater_reads_the_seed_in_our_command_line", {}, {"--seed", "7", FAKE, "cheat", "cmdline"},
               played_fairly),
        attack("cheater_reads_our_memory", deck, cheat({"memory"}), PLAYED),
        attack("cheater_opens_our_memory_to_rig_the_deal", deck, cheat({"rig"}), PLAYED),
        attack("cheater_reads_the_seed_on_a_shared_standard_error", {}, {FAKE, "cheat", "stderr"},
               {0, "", containing("Scor total: "), {"game.dat", "seed.txt"}, "0\n"}, "exec \"$@\" 2>seed.txt"),
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
    cases.insert(cases.end(), attacks.begin(), attacks.end());
    return cases;
}


class Referee : public ::testing::TestWithParam<Case> {};

TEST_P(Referee, HasItsExactOutcome) { hostile::expect_outcome("referee", GetParam()); }

INSTANTIATE_TEST_SUITE_P(BadInput, Referee, ::testing::ValuesIn(referee_cases()), hostile::case_name);

}  // namespace
