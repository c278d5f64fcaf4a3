// The referee and the match runner on hostile options, deck files and
// players. A usage error or a bad deck writes nothing; a player that faults
// leaves exactly one game record, in the error form, naming the fault; the
// match leaves nothing in TMPDIR, whatever goes wrong.
#include <gtest/gtest.h>

#include "tests/hostile/hostile.h"

namespace {

using hostile::attack;
using hostile::Case;
using hostile::containing;
using hostile::containing_but_not;
using hostile::directory;
using hostile::endless;
using hostile::exactly;
using hostile::Expected;
using hostile::file;
using hostile::huge;
using hostile::script;
using hostile::unreadable;
using testing_support::bin;

const std::string DECK = hostile::ascending_deck();
const std::string FAKE = testing_support::helper("fake-player");
const std::string SUIT = bin("suit-player");
const std::vector<std::string> GAME_DAT = {"game.dat"};

// Players for what no fake-player mode does: each reads the first card,
// then answers it with bytes that are no answer, or dies by SIGKILL.
const std::string ANSWERS_NUL = "read card\nprintf '\\000\\n'\n";
const std::string ANSWERS_ABOVE_127 = "read card\nprintf '\\303\\251\\n'\n";
const std::string ENDLESS_LINE = "read card\nexec tr '\\000' 1 </dev/zero\n";
const std::string KILLED = "read card\nkill -KILL $$\n";

// Players that take what no player may have, or say so as their first
// answer; else they play 1, 2, 3, 4 in every round.
const std::string PLAY_ON = "for r in 1 2 3 4 5; do for c in 1 2 3 4; do read card; echo $c; done; done\n";
const std::string MEMORY_HOG =
    "if head -c 1500m /dev/zero | tail -n 1 >/dev/null 2>&1; then echo 'took 1.5 GB'; exit 0; fi\n" + PLAY_ON;
const std::string DISK_FILLER =
    "if head -c 100m /dev/zero >big 2>/dev/null; then echo 'wrote 100 MB'; exit 0; fi\n" + PLAY_ON;
// Fair players, which must keep working: one in Python, one that reads the
// order of its columns from a file it is given.
const std::string PYTHON_PLAYER =
    "#!/usr/bin/python3\nimport sys\nfor card in range(20):\n    sys.stdin.readline()\n"
    "    print(card % 4 + 1, flush=True)\n";
const std::string READS_ITS_ORDER = "order=$(cat \"$1\")\nfor r in 1 2 3 4 5; do for c in $order; do read card; "
                                    "echo $c; done; done\n";

// ---- referee

// Refused before any game: status 2 and no file.
Expected refused(const std::string& message) { return {2, "referee: " + message, exactly("")}; }
Expected deck_fault(const std::string& message) { return refused("deck.txt: " + message); }

// The game ends on the player's fault: status 1, and the record holds it.
Expected player_fault(int record_status, const std::string& message) {
    return {1, "referee: " + message, exactly(""), GAME_DAT, std::to_string(record_status) + "\n" + message};
}

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

// ---- match

Expected match_refused(const std::string& message) { return {2, "match: " + message, exactly("")}; }

// A short match of these players, who may run the fake player.
std::vector<std::string> short_match(const std::string& player, const std::string& another = "") {
    std::vector<std::string> args = {"--deals", "2", "--seed", "1", "--jobs", "1", "--timeout-ms", "1000",
                                     "--no-ceiling", "--player-read", FAKE, player};
    if (!another.empty()) args.push_back(another);
    return args;
}

Expected every_game_faults(const std::string& player, const std::string& fault) {
    return {1, "match: 2 împărțiri, sămânța 1", containing(player + ": 2 × " + fault)};
}

const Expected PLAYED_WELL = {0, "match: 2 împărțiri, sămânța 1", containing("medie")};

std::vector<Case> match_cases() {
    return {
        {"help", {}, {"--help"}, "", {0, "", exactly(hostile::help_of("match"))}},
        {"deals_zero", {}, {"--deals", "0"}, "", match_refused("valoare invalidă pentru --deals (1..1000000): 0")},
        {"deals_not_a_number",
         {},
         {"--deals", "2x"},
         "",
         match_refused("valoare invalidă pentru --deals (1..1000000): 2x")},
        {"deals_bytes_above_127",
         {},
         {"--deals", "\xc3\xa9"},
         "",
         match_refused("valoare invalidă pentru --deals (1..1000000): \xc3\xa9")},
        {"jobs_zero", {}, {"--jobs", "0"}, "", match_refused("valoare invalidă pentru --jobs (1..256): 0")},
        {"timeout_zero",
         {},
         {"--timeout-ms", "0"},
         "",
         match_refused("valoare invalidă pentru --timeout-ms (1..3600000): 0")},
        {"seed_beyond_64_bits",
         {},
         {"--seed", "18446744073709551616"},
         "",
         match_refused("valoare invalidă pentru --seed (0..18446744073709551615): 18446744073709551616")},
        {"seed_of_twenty_digits",
         {},
         {"--deals", "1", "--seed", "18446744073709551615", "--no-ceiling", SUIT},
         "",
         {0, "match: 1 împărțire, sămânța 18446744073709551615", containing("medie")}},
        {"unknown_option", {}, {"--bogus"}, "", match_refused("opțiune necunoscută: --bogus")},
        {"shard_not_a_part",
         {},
         {"--shard", "2"},
         "",
         match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 2")},
        {"shard_zero",
         {},
         {"--shard", "0/4"},
         "",
         match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 0/4")},
        {"shard_beyond_its_count",
         {},
         {"--shard", "5/4"},
         "",
         match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 5/4")},
        {"csv_and_resume",
         {},
         {"--csv", "a.csv", "--resume", "b.csv"},
         "",
         match_refused("--resume FIȘIER scrie chiar în FIȘIER: fără --csv")},
        {"resume_of_a_file_that_is_no_match_csv",
         {file("m.csv", "deal,score\n1,12\n")},
         {"--resume", "m.csv"},
         "",
         match_refused("m.csv: nu este un CSV scris de match (primul rând nu este antetul lui)")},
        {"merge_of_a_file_that_is_no_match_csv",
         {file("m.csv", "deal,score\n1,12\n")},
         {"--merge", "m.csv"},
         "",
         match_refused("m.csv: nu este un CSV scris de match (primul rând nu este antetul lui)")},
        {"merge_without_files", {}, {"--merge"}, "", match_refused("--merge are nevoie de cel puțin un CSV")},
        {"merge_of_a_match_given_too",
         {file("m.csv", "")},
         {"--merge", "--seed", "3", "m.csv"},
         "",
         match_refused("--merge ia meciul din CSV-uri")},
        {"option_without_value", {}, {"--csv"}, "", match_refused("lipsește valoarea pentru --csv")},

        // Named by their absolute paths.
        {"player_missing", {}, short_match("./nope"), "", {2, "/nope: nu este un program", exactly("")}},
        {"player_is_a_directory", {directory("d")}, short_match("./d"), "", {2, "/d: nu este un program", exactly("")}},
        {"player_not_executable",
         {file("p.txt", "")},
         short_match("./p.txt"),
         "",
         {2, "/p.txt: nu poate fi pornit: Permission denied", exactly("")}},
        {"player_not_on_the_path",
         {},
         short_match("no-such-player"),
         "",
         match_refused("no-such-player: nu poate fi pornit: No such file or directory")},
        {"records_is_a_file",
         {file("r.txt", "")},
         {"--records", "r.txt", "--deals", "1", "--no-ceiling", SUIT},
         "",
         match_refused("r.txt: Not a directory")},
        // Outputs are checked before the first of a million deals: these runs end at once.
        {"csv_into_a_directory",
         {directory("out")},
         {"--csv", "out", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         "",
         match_refused("out: nu se poate scrie: Is a directory")},
        {"svg_into_a_directory",
         {directory("out")},
         {"--svg", "out", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         "",
         match_refused("out: nu se poate scrie: Is a directory")},
        {"records_in_a_locked_folder",
         {hostile::locked("ro")},
         {"--records", "ro/r", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         "",
         match_refused("ro/r: Permission denied")},
        {"records_folder_locked",
         {hostile::locked("r")},
         {"--records", "r", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         "",
         match_refused("r: nu se poate scrie: Permission denied")},
        {"output_to_a_full_device",
         {},
         short_match(SUIT),
         "",
         {2, "match: nu se poate scrie ieșirea standard: No space left on device", exactly("")},
         true},
        // The CSV is begun before the first game: it cannot be, and nothing half-written stays.
        {"csv_beyond_the_file_size_limit",
         {},
         {"--csv", "m.csv", "--deals", "2", "--seed", "1", "--no-ceiling", SUIT},
         "",
         match_refused("m.csv: nu se poate scrie: File too large"),
         false,
         hostile::FILE_SIZE_LIMIT_ZERO},
        // Every player has a label of its own: in the tables, and in the records' names.
        {"two_players_of_one_file_name",
         {directory("a"), directory("b"), script("a/suit-player", "exec " + SUIT + "\n"),
          script("b/suit-player", "exec " + SUIT + "\n")},
         {"--records", "r", "--deals", "1", "--seed", "1", "--no-ceiling", "--player-read", SUIT, "a/suit-player",
          "b/suit-player"},
         "",
         {0,
          "match: 1 împărțire",
          containing("suit-player-2"),
          {"r", "r/deal-0001-suit-player-2.dat", "r/deal-0001-suit-player.dat"}}},
        {"player_named_like_the_ceiling",
         {script("ceilscore", "exec " + SUIT + "\n")},
         {"--records", "r", "--deals", "1", "--seed", "1", "--player-read", SUIT, "./ceilscore"},
         "",
         {0,
          "match: 1 împărțire",
          containing("ceilscore-2"),
          {"r", "r/deal-0001-ceilscore-2.dat", "r/deal-0001-ceilscore.dat"}}},

        {"answers_bytes_above_127",
         {script("p.sh", ANSWERS_ABOVE_127)},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "raspuns-invalid")},
        {"answers_an_endless_line",
         {script("p.sh", ENDLESS_LINE)},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "raspuns-invalid")},
        {"player_killed", {script("p.sh", KILLED)}, short_match("./p.sh"), "", every_game_faults("p.sh", "oprit")},
        {"player_hangs",
         {script("p.sh", "exec " + FAKE + " hang 2\n")},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "timp-depasit")},

        {"player_kills_its_group",
         {script("p.sh", "exec " + FAKE + " kill-group\n")},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "stare-nenula")},
        {"player_leaves_a_descendant",
         {script("p.sh", "exec " + FAKE + " +child good\n")},
         short_match("./p.sh"),
         "",
         PLAYED_WELL},
        {"player_hangs_beside_a_descendant",
         {script("p.sh", "exec " + FAKE + " +child hang 1\n")},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "timp-depasit")},
        {"player_floods_standard_error",
         {script("p.sh", "exec " + FAKE + " flood\n")},
         short_match("./p.sh"),
         "",
         every_game_faults("p.sh", "timp-depasit")},
        {"player_removes_the_scratch_root",
         {script("p.sh", "rm -rf \"$(cd .. && pwd)\"\nexec " + FAKE + "\n")},
         short_match("./p.sh"),
         "",
         PLAYED_WELL},
        {"player_leaves_an_unremovable_directory",
         {script("p.sh", "mkdir -p locked/in && chmod 0 locked\nexec " + FAKE + "\n")},
         short_match("./p.sh"),
         "",
         PLAYED_WELL,
         false,
         "",
         "",
         true},

        // A player named and given arguments: the name is what the tables and the records show.
        {"named_player_with_arguments",
         {},
         {"--records", "r", "--deals", "1", "--seed", "1", "--no-ceiling", "quick=" + FAKE + " reversed"},
         "",
         {0, "match: 1 împărțire", containing("\nquick "), {"r", "r/deal-0001-quick.dat"}}},
        {"name_given_twice",
         {},
         short_match("a=" + SUIT, "a=" + FAKE),
         "",
         match_refused("numele „a” este dat de două ori")},
        {"name_of_the_ceiling",
         {},
         short_match("ceilscore=" + SUIT),
         "",
         match_refused("numele „ceilscore” este al plafonului")},
        {"name_without_a_command", {}, short_match("x= "), "", match_refused("jucătorul „x= ” nu are o comandă")},

        {"sigchld_ignored", {}, short_match(SUIT), "", PLAYED_WELL, false, hostile::SIGCHLD_IGNORED},
        // Two games at once run out of descriptors: the match's failure, not the player's.
        {"too_few_file_descriptors",
         {},
         {"--deals", "6", "--seed", "1", "--jobs", "2", "--timeout-ms", "1000", "--no-ceiling", SUIT},
         "",
         {2, "Too many open files", exactly("")},
         false,
         hostile::few_files(12)},
        {"tmpdir_missing",
         {},
         short_match(SUIT),
         "",
         match_refused("/nonexistent/tmp: nu se poate crea un director temporar: No such file or directory"),
         false,
         "",
         "/nonexistent/tmp"},
        // Relative: the ceiling's deck file must still be found from its own working directory.
        {"tmpdir_relative", {}, {"--deals", "2", "--seed", "1", "--jobs", "1", SUIT}, "", PLAYED_WELL, false, "", "."},

        // Cheaters, as for the referee; others play beside them, unharmed.
        attack("cheater_kills_the_other_game", {},
               {"--deals", "2", "--seed", "1", "--jobs", "2", "--no-ceiling", "victim=" + FAKE + " slow",
                "cheat=" + FAKE + " cheat kill slow"},
               PLAYED_WELL),
        attack("cheater_reads_the_seed_in_our_command_line", {}, short_match("cheat=" + FAKE + " cheat cmdline"),
               PLAYED_WELL),
        attack("cheater_reads_the_csv_of_the_deals_done", {},
               {"--deals", "3", "--seed", "1", "--jobs", "1", "--no-ceiling", "--csv", "m.csv",
                "cheat=" + FAKE + " cheat read ={dir}/m.csv"},
               {0, "match: 3 împărțiri", containing("medie"), {"m.csv"}}),
        attack("cheater_reads_the_ceiling_record_of_its_deal", {},
               {"--deals", "1", "--seed", "1", "--jobs", "2", "--records", "r",
                "cheat=" + FAKE + " cheat read ={dir}/r/deal-0001-ceilscore.dat"},
               {0, "match: 1 împărțire", containing("medie"), {"r", "r/deal-0001-ceilscore.dat", "r/deal-0001-cheat.dat"}}),
        attack("cheater_signals_the_match", {}, short_match("cheat=" + FAKE + " cheat signal"), PLAYED_WELL),
        attack("cheater_leaves_a_sleeper_out_of_its_session", {}, short_match("cheat=" + FAKE + " cheat escape"),
               PLAYED_WELL),
        attack("cheater_forks_without_end", {},
               {"--deals", "2", "--seed", "1", "--jobs", "2", "--timeout-ms", "1000", "--no-ceiling",
                "victim=" + FAKE + " slow", "bomb=" + FAKE + " cheat fork-bomb"},
               {1, "match: 2 împărțiri", containing_but_not("bomb: 2 × timp-depasit", "victim: ")}),
        // Outputs go where no player can read, nor find by a name it was given.
        attack("csv_where_a_player_reads", {directory("shared")},
               {"--player-read", "shared", "--csv", "shared/m.csv", "--deals", "1", "--no-ceiling", SUIT},
               match_refused("shared/m.csv: un jucător l-ar putea citi")),
        attack("records_where_a_player_is_pointed", {directory("r")},
               {"--records", "r", "--deals", "1", "--no-ceiling", "p=" + FAKE + " cheat read {dir}/r/x"},
               match_refused("r: un jucător l-ar putea citi")),
    };
}

class Referee : public ::testing::TestWithParam<Case> {};
class Match : public ::testing::TestWithParam<Case> {};

TEST_P(Referee, HasItsExactOutcome) { hostile::expect_outcome("referee", GetParam()); }
TEST_P(Match, HasItsExactOutcome) { hostile::expect_outcome("match", GetParam()); }

INSTANTIATE_TEST_SUITE_P(BadInput, Referee, ::testing::ValuesIn(referee_cases()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, Match, ::testing::ValuesIn(match_cases()), hostile::case_name);

}  // namespace
