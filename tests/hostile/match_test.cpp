// The match runner on hostile options, files and players, cheaters among
// them: it leaves nothing in TMPDIR, whatever goes wrong.
#include <gtest/gtest.h>

#include "tests/hostile/match_csv_cases.h"
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

// Refused before any game: status 2, and nothing on standard output.
Expected match_refused(const std::string& message) { return {.exit_code = 2, .error = "match: " + message}; }

// A short match of these players, who may run the fake player.
std::vector<std::string> short_match(const std::string& player, const std::string& another = "") {
    std::vector<std::string> args = {"--deals", "2", "--seed", "1", "--jobs", "1", "--timeout-ms", "1000",
                                     "--no-ceiling", "--player-read", FAKE, player};
    if (!another.empty()) args.push_back(another);
    return args;
}

std::vector<std::string> with_options(std::vector<std::string> args, std::initializer_list<std::string> more) {
    args.insert(args.begin(), more);
    return args;
}

// A player that faults on the first deal stops the match there, with the cause.
Expected first_deal_faults(const std::string& player, const std::string& fault) {
    return {.exit_code = 1,
            .error = "match: meciul s-a oprit după prima împărțire",
            .out = containing(player + ": 1 × " + fault)};
}

const std::string NAME_REFUSED =
    "valoare invalidă pentru numele jucătorului (1..200 octeți de text UTF-8 tipăribil, fără „/”): ";
const Expected PLAYED_WELL = {.error = "match: 2 împărțiri, sămânța 1", .out = containing("medie")};
const Expected FULL_DEVICE = {.exit_code = 2,
                              .error = "match: nu se poate scrie ieșirea standard: No space left on device"};
const Expected ONE_DEAL_OF_THE_LARGEST_SEED = {.error = "match: 1 împărțire, sămânța 18446744073709551615",
                                               .out = containing("medie")};

// Help, version, the forms options take, and the usage errors they make.
std::vector<Case> usage_cases() {
    return {
        {.name = "help", .args = {"--help"}, .expect = {.out = exactly(hostile::help_of("match"))}},
        {.name = "version", .args = {"--version"}, .expect = hostile::version_of("match")},
        {.name = "help_to_a_full_device", .args = {"--help"}, .expect = FULL_DEVICE, .output_to_full_device = true},
        {.name = "usage_error_in_one_line", .args = {"--deals", "0"},
         .expect = hostile::usage_error("match", "valoare invalidă pentru --deals (1..1000000): 0")},
        {.name = "unknown_option_in_one_line", .args = {SUIT, "--bogus=3"},
         .expect = hostile::usage_error("match", "opțiune necunoscută: --bogus=3")},
        {.name = "values_after_an_equals_sign", .args = {"--deals=2", "--seed=1", "--jobs=1", "--no-ceiling", SUIT},
         .expect = PLAYED_WELL},
        {.name = "largest_seed", .args = {"--seed", "18446744073709551615", "--deals", "1", "--no-ceiling", SUIT},
         .expect = ONE_DEAL_OF_THE_LARGEST_SEED},
        {.name = "largest_seed_in_hex", .args = {"--seed", "0xffffffffffffffff", "--deals", "1", "--no-ceiling", SUIT},
         .expect = ONE_DEAL_OF_THE_LARGEST_SEED},
        {.name = "quiet_csv_on_standard_output",
         .args = {"--quiet", "--csv", "-", "--deals", "2", "--seed", "1", "--no-ceiling", SUIT},
         .expect = {.out = containing_but_not("deal,deck_seed,player,status,score", "medie")}},
        {.name = "merge_with_a_sandbox_option", .args = {"--merge", "--sandbox=off", "m.csv"},
         .expect = hostile::usage_error("match", "--merge ia meciul din CSV-uri și nu joacă nimic: fără --sandbox")},
        {.name = "merge_with_jobs", .args = {"--merge", "--jobs", "2", "m.csv"},
         .expect = hostile::usage_error("match", "--merge ia meciul din CSV-uri și nu joacă nimic: fără --jobs")},
        {.name = "resume_from_standard_output", .args = {"--resume", "-", SUIT},
         .expect = match_refused("--resume are nevoie de un fișier, nu de ieșirea standard")},
    };
}

// Option values out of their range, and options that do not go together.
std::vector<Case> option_value_cases() {
    return {
        {.name = "deals_zero", .args = {"--deals", "0"},
         .expect = match_refused("valoare invalidă pentru --deals (1..1000000): 0")},
        {.name = "deals_not_a_number", .args = {"--deals", "2x"},
         .expect = match_refused("valoare invalidă pentru --deals (1..1000000): 2x")},
        {.name = "deals_bytes_above_127", .args = {"--deals", "\xc3\xa9"},
         .expect = match_refused("valoare invalidă pentru --deals (1..1000000): \xc3\xa9")},
        {.name = "jobs_zero", .args = {"--jobs", "0"},
         .expect = match_refused("valoare invalidă pentru --jobs (1..256): 0")},
        {.name = "decide_with_a_shard", .args = {"--decide", "--shard", "1/2"},
         .expect = hostile::usage_error(
             "match", "--decide hotărăște pe împărțirile în ordine, de la prima: nu merge cu --shard")},
        {.name = "decide_with_one_player", .args = {"--decide", SUIT},
         .expect = hostile::usage_error("match", "--decide compară jucători: dați cel puțin doi")},
        {.name = "alpha_without_decide", .args = {"--alpha", "0.1"},
         .expect = hostile::usage_error("match", "--alpha merge doar cu --decide")},
        {.name = "alpha_of_one", .args = {"--decide", "--alpha", "1"},
         .expect = hostile::usage_error("match", "valoare invalidă pentru --alpha: 1")},
        {.name = "margin_below_zero", .args = {"--decide", "--margin", "-1"},
         .expect = hostile::usage_error("match", "valoare invalidă pentru --margin: -1")},
        {.name = "merge_that_decides", .args = {"--merge", "--decide", "m.csv"},
         .expect = hostile::usage_error("match", "--merge ia meciul din CSV-uri și nu joacă nimic: fără --decide")},
        {.name = "timeout_zero", .args = {"--timeout-ms", "0"},
         .expect = match_refused("valoare invalidă pentru --timeout-ms (1..3600000): 0")},
        {.name = "seed_beyond_64_bits", .args = {"--seed", "18446744073709551616"},
         .expect = match_refused("valoare invalidă pentru --seed (0..18446744073709551615): 18446744073709551616")},
        {.name = "seed_of_twenty_digits",
         .args = {"--deals", "1", "--seed", "18446744073709551615", "--no-ceiling", SUIT},
         .expect = ONE_DEAL_OF_THE_LARGEST_SEED},
        {.name = "unknown_option", .args = {"--bogus"}, .expect = match_refused("opțiune necunoscută: --bogus")},
        {.name = "shard_not_a_part", .args = {"--shard", "2"},
         .expect = match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 2")},
        {.name = "shard_zero", .args = {"--shard", "0/4"},
         .expect = match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 0/4")},
        {.name = "shard_beyond_its_count", .args = {"--shard", "5/4"},
         .expect = match_refused("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): 5/4")},
        {.name = "csv_and_resume", .args = {"--csv", "a.csv", "--resume", "b.csv"},
         .expect = match_refused("--resume FIȘIER scrie chiar în FIȘIER: fără --csv")},
        {.name = "resume_of_a_file_that_is_no_match_csv", .setup = {file("m.csv", "deal,score\n1,12\n")},
         .args = {"--resume", "m.csv"},
         .expect = match_refused("m.csv, rândul 1: nu este antetul unui CSV scris de match")},
        {.name = "merge_of_a_file_that_is_no_match_csv", .setup = {file("m.csv", "deal,score\n1,12\n")},
         .args = {"--merge", "m.csv"},
         .expect = match_refused("m.csv, rândul 1: nu este antetul unui CSV scris de match")},
        {.name = "merge_without_files", .args = {"--merge"},
         .expect = match_refused("--merge are nevoie de cel puțin un CSV")},
        {.name = "merge_of_a_match_given_too", .setup = {file("m.csv", "")},
         .args = {"--merge", "--seed", "3", "m.csv"},
         .expect = match_refused("--merge ia meciul din CSV-uri")},
        {.name = "option_without_value", .args = {"--csv"}, .expect = match_refused("lipsește valoarea pentru --csv")},
    };
}

// Players that cannot be started, named by their absolute paths; told as the referee tells them.
std::vector<Case> unstartable_player_cases() {
    return {
        {.name = "player_missing", .args = short_match("./nope"),
         .expect = {.exit_code = 2, .error = "/nope: nu poate fi pornit: nu există\n"}},
        {.name = "player_is_a_directory", .setup = {directory("d")}, .args = short_match("./d"),
         .expect = {.exit_code = 2, .error = "/d: nu poate fi pornit: este un director\n"}},
        {.name = "player_not_executable", .setup = {file("p.txt", "")}, .args = short_match("./p.txt"),
         .expect = {.exit_code = 2,
                    .error = "/p.txt: nu poate fi pornit: nu are dreptul de execuție: dați chmod +x /"}},
        {.name = "player_not_on_the_path", .args = short_match("no-such-player"),
         .expect = match_refused("no-such-player: nu poate fi pornit: nu se găsește în PATH\n")},
        {.name = "player_found_only_in_the_current_folder", .setup = {script("loop.sh", hostile::PLAY_ON)},
         .args = short_match("loop.sh"),
         .expect = match_refused("loop.sh: nu poate fi pornit: nu este în PATH; cel din directorul curent se dă ca "
                                 "./loop.sh\n")},
        {.name = "script_without_its_first_line", .setup = {hostile::program("p.py", "import sys\n")},
         .args = short_match("./p.py"),
         .expect = {.exit_code = 2,
                    .error = "/p.py: nu poate fi pornit: nu este un program compilat și nu începe cu „#!”: adăugați-i "
                             "ca prim rând „#!/usr/bin/env python3” sau porniți-l prin interpretor: python3 /"}},
    };
}

// Outputs where they cannot be written, and the records' names, one for each player.
std::vector<Case> output_cases() {
    return {
        {.name = "records_is_a_file", .setup = {file("r.txt", "")},
         .args = {"--records", "r.txt", "--deals", "1", "--no-ceiling", SUIT},
         .expect = match_refused("r.txt: Not a directory")},
        // Outputs are checked before the first of a million deals: these runs end at once.
        {.name = "csv_into_a_directory", .setup = {directory("out")},
         .args = {"--csv", "out", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         .expect = match_refused("out: nu se poate scrie: Is a directory")},
        {.name = "svg_into_a_directory", .setup = {directory("out")},
         .args = {"--svg", "out", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         .expect = match_refused("out: nu se poate scrie: Is a directory")},
        {.name = "records_in_a_locked_folder", .setup = {hostile::locked("ro")},
         .args = {"--records", "ro/r", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         .expect = match_refused("ro/r: Permission denied")},
        {.name = "records_folder_locked", .setup = {hostile::locked("r")},
         .args = {"--records", "r", "--deals", "1000000", "--seed", "1", "--no-ceiling", SUIT},
         .expect = match_refused("r: nu se poate scrie: Permission denied")},
        {.name = "output_to_a_full_device", .args = short_match(SUIT), .expect = FULL_DEVICE,
         .output_to_full_device = true},
        // The CSV is begun before the first game: it cannot be, and nothing half-written stays.
        {.name = "csv_beyond_the_file_size_limit",
         .args = {"--csv", "m.csv", "--deals", "2", "--seed", "1", "--no-ceiling", SUIT},
         .expect = match_refused("m.csv: nu se poate scrie: File too large"), .shell = hostile::FILE_SIZE_LIMIT_ZERO},
        // Every player has a label of its own: in the tables, and in the records' names.
        {.name = "two_players_of_one_file_name",
         .setup = {directory("a"), directory("b"), script("a/suit-player", "exec " + SUIT + "\n"),
                   script("b/suit-player", "exec " + SUIT + "\n")},
         .args = {"--records", "r", "--deals", "1", "--seed", "1", "--no-ceiling", "--player-read", SUIT,
                  "a/suit-player", "b/suit-player"},
         .expect = {.error = "match: 1 împărțire", .out = containing("suit-player-2"),
                    .made = {"r", "r/deal-0001-suit-player-2.dat", "r/deal-0001-suit-player.dat"}}},
        {.name = "player_named_like_the_ceiling", .setup = {script("ceilscore", "exec " + SUIT + "\n")},
         .args = {"--records", "r", "--deals", "1", "--seed", "1", "--player-read", SUIT, "./ceilscore"},
         .expect = {.error = "match: 1 împărțire", .out = containing("ceilscore-2"),
                    .made = {"r", "r/deal-0001-ceilscore-2.dat", "r/deal-0001-ceilscore.dat"}}},
    };
}

// Players that fault in every game, or leave something running or lying behind them.
std::vector<Case> faulty_player_cases() {
    return {
        {.name = "answers_bytes_above_127", .setup = {script("p.sh", ANSWERS_ABOVE_127)}, .args = short_match("./p.sh"),
         .expect = first_deal_faults("p.sh", "raspuns-invalid")},
        {.name = "answers_an_endless_line", .setup = {script("p.sh", ENDLESS_LINE)}, .args = short_match("./p.sh"),
         .expect = first_deal_faults("p.sh", "raspuns-invalid")},
        {.name = "player_killed", .setup = {script("p.sh", KILLED)}, .args = short_match("./p.sh"),
         .expect = first_deal_faults("p.sh", "oprit")},
        // The CSV's message of a fault ends with what the player said last on its standard error.
        {.name = "python_player_dies_of_an_exception",
         .setup = {hostile::program("p.py", "#!/usr/bin/python3\nimport sys\nsys.stdin.readline()\n1/0\n")},
         .args = {"--quiet", "--csv", "-", "--deals", "1", "--seed", "1", "--no-ceiling", "./p.py"},
         .expect = {.exit_code = 1,
                    .error = "match: meciul s-a oprit după prima împărțire",
                    .out = containing(" ⏎ ZeroDivisionError: division by zero\"")}},
        {.name = "player_hangs", .setup = {script("p.sh", "exec " + FAKE + " hang 2\n")}, .args = short_match("./p.sh"),
         .expect = first_deal_faults("p.sh", "timp-depasit")},
        // The first mistake of every author: a match of 200 deals stops after the first card's wait.
        {.name = "player_never_flushes",
         .args = {"--deals", "200", "--seed", "1", "--timeout-ms", "1000", "--no-ceiling", "--player-read", FAKE,
                  FAKE + " no-flush"},
         .expect = {.exit_code = 1,
                    .error = "print(..., flush=True) sau sys.stdout.flush() în Python)\n    se reia cu: referee --seed ",
                    .out = containing("pe 1 din 200 de împărțiri")}},
        {.name = "player_killed_in_a_match_that_keeps_going", .setup = {script("p.sh", KILLED)},
         .args = with_options(short_match("./p.sh"), {"--keep-going"}),
         .expect = {.exit_code = 1, .error = "match: 2 împărțiri", .out = containing("p.sh: 2 × oprit\n")}},
        {.name = "player_stopped_after_faults_in_a_row", .setup = {script("p.sh", KILLED)},
         .args = with_options(short_match("./p.sh", SUIT), {"--keep-going", "--max-faults", "1"}),
         .expect = {.exit_code = 1, .error = "match: 2 împărțiri",
                    .out = containing("p.sh: 1 × oprit; oprit după greșeli la rând, 1 joc nejucat\n")}},

        {.name = "player_kills_its_group", .setup = {script("p.sh", "exec " + FAKE + " kill-group\n")},
         .args = short_match("./p.sh"), .expect = first_deal_faults("p.sh", "stare-nenula")},
        {.name = "player_leaves_a_descendant", .setup = {script("p.sh", "exec " + FAKE + " +child good\n")},
         .args = short_match("./p.sh"), .expect = PLAYED_WELL},
        {.name = "player_hangs_beside_a_descendant", .setup = {script("p.sh", "exec " + FAKE + " +child hang 1\n")},
         .args = short_match("./p.sh"), .expect = first_deal_faults("p.sh", "timp-depasit")},
        {.name = "player_floods_standard_error", .setup = {script("p.sh", "exec " + FAKE + " flood\n")},
         .args = short_match("./p.sh"), .expect = first_deal_faults("p.sh", "timp-depasit")},
        // Its arguments are made absolute: the game runs in a folder of its own.
        {.name = "player_given_a_relative_path", .setup = {directory("mine"), file("mine/p.py", hostile::PYTHON_PLAYER)},
         .args = short_match("mine=/usr/bin/python3 mine/p.py"), .expect = PLAYED_WELL},
        {.name = "player_removes_the_scratch_root",
         .setup = {script("p.sh", "rm -rf \"$(cd .. && pwd)\"\nexec " + FAKE + "\n")}, .args = short_match("./p.sh"),
         .expect = PLAYED_WELL},
        {.name = "player_leaves_an_unremovable_directory",
         .setup = {script("p.sh", "mkdir -p locked/in && chmod 0 locked\nexec " + FAKE + "\n")},
         .args = short_match("./p.sh"), .expect = PLAYED_WELL, .unprivileged = true},
    };
}

// A player named and given arguments: the name is what the tables and the records show.
std::vector<Case> named_player_cases() {
    return {
        {.name = "named_player_with_arguments",
         .args = {"--records", "r", "--deals", "1", "--seed", "1", "--no-ceiling", "quick=" + FAKE + " reversed"},
         .expect = {.error = "match: 1 împărțire", .out = containing("\nquick "),
                    .made = {"r", "r/deal-0001-quick.dat"}}},
        {.name = "name_given_twice", .args = short_match("a=" + SUIT, "a=" + FAKE),
         .expect = match_refused("numele „a” este dat de două ori")},
        {.name = "name_of_the_ceiling", .args = short_match("ceilscore=" + SUIT),
         .expect = match_refused("numele „ceilscore” este al plafonului")},
        {.name = "name_without_a_command", .args = short_match("x= "),
         .expect = match_refused("jucătorul „x= ” nu are o comandă")},
        // Names as a CSV must hold them: the same rule reads them back.
        {.name = "name_longer_than_a_record_file_takes", .args = short_match(std::string(201, 'n') + "=" + SUIT),
         .expect = hostile::usage_error("match", NAME_REFUSED + std::string(40, 'n') + "…")},
        {.name = "name_of_a_file_name_not_utf8", .setup = {script("p\xff.sh", "exec " + FAKE + "\n")},
         .args = short_match("./p\xff.sh"),
         .expect = hostile::usage_error("match", NAME_REFUSED + "p\\xff.sh (dați-i un nume: NUME=COMANDĂ)")},
        {.name = "command_with_a_control_byte", .args = short_match("./p \x1b[2J"),
         .expect = hostile::usage_error("match", "jucătorul „./p \\x1b[2J” are un caracter de control")},
        {.name = "more_players_than_a_match_takes", .args = std::vector<std::string>(65, SUIT),
         .expect = hostile::usage_error("match", "un meci are cel mult 64 de jucători, nu 65")},
    };
}

// What we inherit: an ignored SIGCHLD, few descriptors, a TMPDIR missing or relative.
std::vector<Case> inherited_cases() {
    return {
        {.name = "sigchld_ignored", .args = short_match(SUIT), .expect = PLAYED_WELL,
         .shell = hostile::SIGCHLD_IGNORED},
        // Two games at once run out of descriptors: the match's failure, not the player's.
        {.name = "too_few_file_descriptors",
         .args = {"--deals", "6", "--seed", "1", "--jobs", "2", "--timeout-ms", "1000", "--no-ceiling", SUIT},
         .expect = {.exit_code = 2, .error = "Too many open files"}, .shell = hostile::few_files(12)},
        {.name = "tmpdir_missing", .args = short_match(SUIT),
         .expect = match_refused("/nonexistent/tmp: nu se poate crea un director temporar: No such file or directory"),
         .tmpdir = "/nonexistent/tmp"},
        // Relative: the ceiling's deck file must still be found from its own working directory.
        {.name = "tmpdir_relative", .args = {"--deals", "2", "--seed", "1", "--jobs", "1", SUIT}, .expect = PLAYED_WELL,
         .tmpdir = "."},
    };
}

// Cheaters, as for the referee; others play beside them, unharmed.
std::vector<Case> attack_cases() {
    return {
        attack("cheater_kills_the_other_game", {},
               {"--deals", "2", "--seed", "1", "--jobs", "2", "--no-ceiling", "victim=" + FAKE + " slow",
                "cheat=" + FAKE + " cheat kill slow"},
               PLAYED_WELL),
        attack("cheater_reads_the_seed_in_our_command_line", {}, short_match("cheat=" + FAKE + " cheat cmdline"),
               PLAYED_WELL),
        attack("cheater_reads_the_csv_of_the_deals_done", {},
               {"--deals", "3", "--seed", "1", "--jobs", "1", "--no-ceiling", "--csv", "m.csv",
                "cheat=" + FAKE + " cheat read ={dir}/m.csv"},
               {.error = "match: 3 împărțiri", .out = containing("medie"), .made = {"m.csv"}}),
        attack("cheater_reads_the_ceiling_record_of_its_deal", {},
               {"--deals", "1", "--seed", "1", "--jobs", "2", "--records", "r",
                "cheat=" + FAKE + " cheat read ={dir}/r/deal-0001-ceilscore.dat"},
               {.error = "match: 1 împărțire", .out = containing("medie"),
                .made = {"r", "r/deal-0001-ceilscore.dat", "r/deal-0001-cheat.dat"}}),
        attack("cheater_signals_the_match", {}, short_match("cheat=" + FAKE + " cheat signal"), PLAYED_WELL),
        attack("cheater_leaves_a_sleeper_out_of_its_session", {}, short_match("cheat=" + FAKE + " cheat escape"),
               PLAYED_WELL),
        attack("cheater_forks_without_end", {},
               {"--deals", "2", "--seed", "1", "--jobs", "2", "--timeout-ms", "1000", "--no-ceiling", "--keep-going",
                "victim=" + FAKE + " slow", "bomb=" + FAKE + " cheat fork-bomb"},
               {.exit_code = 1, .error = "match: 2 împărțiri",
                .out = containing_but_not("bomb: 2 × timp-depasit", "victim: ")}),
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

INSTANTIATE_TEST_SUITE_P(BadInput, Match,
                         ::testing::ValuesIn(hostile::joined({usage_cases(), option_value_cases(),
                                                              unstartable_player_cases(), output_cases(),
                                                              faulty_player_cases(), named_player_cases(),
                                                              inherited_cases(), attack_cases(),
                                                              hostile::match_csv_cases()})),
                         hostile::case_name);

}  // namespace
