// The match runner on hostile options, files and players, cheaters among
// them: it leaves nothing in TMPDIR, whatever goes wrong.
#include <gtest/gtest.h>

#include "tests/hostile/program_players.h"

namespace {

using hostile::ANSWERS_ABOVE_127;
using hostile::Case;
using hostile::ENDLESS_LINE;
using hostile::Expected;
using hostile::FAKE;
using hostile::KILLED;
using hostile::SUIT;
using hostile::attack;
using hostile::containing;
using hostile::containing_but_not;
using hostile::directory;
using hostile::exactly;
using hostile::file;
using hostile::script;
using testing_support::bin;

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
const Expected FULL_DEVICE = {2, "match: nu se poate scrie ieșirea standard: No space left on device", exactly("")};

std::vector<Case> match_cases() {
    return {
        {"help", {}, {"--help"}, "", {0, "", exactly(hostile::help_of("match"))}},
        {"version", {}, {"--version"}, "", hostile::version_of("match")},
        {"help_to_a_full_device", {}, {"--help"}, "", FULL_DEVICE, true},
        {"usage_error_in_one_line", {}, {"--deals", "0"}, "",
         hostile::usage_error("match", "valoare invalidă pentru --deals (1..1000000): 0")},
        {"unknown_option_in_one_line", {}, {SUIT, "--bogus=3"}, "",
         hostile::usage_error("match", "opțiune necunoscută: --bogus=3")},
        {"values_after_an_equals_sign", {}, {"--deals=2", "--seed=1", "--jobs=1", "--no-ceiling", SUIT}, "",
         PLAYED_WELL},
        {"largest_seed", {}, {"--seed", "18446744073709551615", "--deals", "1", "--no-ceiling", SUIT}, "",
         {0, "match: 1 împărțire, sămânța 18446744073709551615", containing("medie")}},
        {"largest_seed_in_hex", {}, {"--seed", "0xffffffffffffffff", "--deals", "1", "--no-ceiling", SUIT}, "",
         {0, "match: 1 împărțire, sămânța 18446744073709551615", containing("medie")}},
        {"quiet_csv_on_standard_output", {}, {"--quiet", "--csv", "-", "--deals", "2", "--seed", "1", "--no-ceiling", SUIT},
         "", {0, "", containing_but_not("deal,deck_seed,player,status,score", "medie")}},
        {"merge_with_a_sandbox_option", {}, {"--merge", "--sandbox=off", "m.csv"}, "",
         hostile::usage_error("match", "--merge ia meciul din CSV-uri: fără --seed, --deals, --shard, --no-ceiling, "
                                       "--resume, --records, izolare")},
        {"resume_from_standard_output", {}, {"--resume", "-", SUIT}, "",
         match_refused("--resume are nevoie de un fișier, nu de ieșirea standard")},
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


class Match : public ::testing::TestWithParam<Case> {};

TEST_P(Match, HasItsExactOutcome) { hostile::expect_outcome("match", GetParam()); }

INSTANTIATE_TEST_SUITE_P(BadInput, Match, ::testing::ValuesIn(match_cases()), hostile::case_name);

}  // namespace
