// The tools on hostile files, arguments and output: ceilscore's deck file,
// record-view's game record, play's lines, and the arguments of all four. A
// tool writes no file unasked, reads nothing past the end of what it needs,
// and reports a failed write of its output as a failure, status 2. --help or -h,
// and --version, anywhere answer for themselves; an unknown option is a
// usage error of one line and a hint, status 2 (ceilscore's: 1).
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/version.h"
#include "tests/hostile/hostile.h"

namespace {

using hostile::Case;
using hostile::clean_lines;
using hostile::containing;
using hostile::containing_but_not;
using hostile::directory;
using hostile::endless;
using hostile::exactly;
using hostile::Expected;
using hostile::file;
using hostile::huge;
using hostile::link;
using hostile::unreadable;

const std::string DECK = hostile::ascending_deck();
const std::string RECORD = hostile::ascending_record();
using hostile::MEGABYTE;
using hostile::Text;
const std::string USAGE = "Sintaxă: ceilscore <fișier>\n";

// The text with its first occurrence of `from` replaced.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

Expected fails(int status, const std::string& message) { return {status, message, exactly("")}; }
Expected shows(const hostile::Output& out) { return {0, "", out}; }
Expected usage_error(const std::string& program, const std::string& message, int status = 2) {
    return fails(status, program + ": " + message + "\nÎncercați „" + program + " --help”.\n");
}
Expected version_of(const char* program) { return shows(exactly(game::version_line(program))); }
Expected cannot_write(const std::string& program, const std::string& what) {
    return fails(2, program + ": nu se poate scrie " + what + "\n");
}

// ---- ceilscore: the deck file named by its one argument, or standard input for "-"

Expected deck_fault(const std::string& message) { return fails(2, "ceilscore: deck.txt: " + message); }

const Case CEILSCORE_CLEAN = {"clean", {file("deck.txt", DECK)}, {"deck.txt"}};

std::vector<Case> ceilscore_cases() {
    const std::vector<std::string> deck_arg = {"deck.txt"};
    // 0..22, then "2": the file cut inside the last code, "23".
    const std::string cut = DECK.substr(0, DECK.size() - 2);
    return {
        {"no_argument", {}, {}, "", fails(1, USAGE)},
        {"two_arguments", {file("deck.txt", DECK)}, {"deck.txt", "deck.txt"}, "", fails(1, USAGE)},
        {"help", {}, {"--help"}, "", shows(exactly(hostile::help_of("ceilscore")))},
        {"short_help_after_the_file", {file("deck.txt", DECK)}, {"deck.txt", "-h"}, "",
         shows(exactly(hostile::help_of("ceilscore")))},
        {"unknown_option", {file("deck.txt", DECK)}, {"--bogus", "deck.txt"}, "",
         usage_error("ceilscore", "opțiune necunoscută: --bogus", 1)},
        {.name = "version", .args = {"--version"}, .expect = version_of("ceilscore")},
        {.name = "help_to_a_full_device", .args = {"--help"}, .expect = cannot_write("ceilscore", "ajutorul"),
         .output_to_full_device = true},
        {"file_named_like_an_option", {file("-h", DECK)}, {"--", "-h"}, "", shows(exactly(RECORD))},
        {"bad_deck_on_standard_input", {}, {"-"}, cut,
         fails(2, "ceilscore: intrarea standard: numărul 24 din 24: codul 2 se repetă")},
        {"missing_file", {}, deck_arg, "", deck_fault("nu se poate deschide: No such file or directory")},
        {"deck_is_a_directory", {directory("deck.txt")}, deck_arg, "", deck_fault("nu se poate citi: Is a directory")},
        {"unreadable", {unreadable("deck.txt", DECK)}, deck_arg, "",
         deck_fault("nu se poate deschide: Permission denied")},
        {"behind_a_file", {file("deck.txt", DECK)}, {"deck.txt/deck.txt"}, "",
         fails(2, "ceilscore: deck.txt/deck.txt: nu se poate deschide: Not a directory")},
        {"symlink_loop", {link("deck.txt", "deck.txt")}, deck_arg, "",
         deck_fault("nu se poate deschide: Too many levels of symbolic links")},
        {"empty", {file("deck.txt", "")}, deck_arg, "",
         deck_fault("are doar 0 numere, un pachet are 24 de coduri de cărți")},
        {"only_blanks", {file("deck.txt", " \n\t\r\n")}, deck_arg, "", deck_fault("are doar 0 numere")},
        {"fewer_than_24", {file("deck.txt", DECK.substr(0, DECK.rfind(' ')))}, deck_arg, "",
         deck_fault("are doar 23 numere")},
        {"truncated_mid_number", {file("deck.txt", cut)}, deck_arg, "",
         deck_fault("numărul 24 din 24: codul 2 se repetă (apare și ca numărul 3)")},
        {"huge", {huge("deck.txt", DECK, 40)}, deck_arg, "", shows(exactly(RECORD))},
        {"endless_after_the_24th", {endless("deck.txt", DECK)}, deck_arg, "", shows(exactly(RECORD))},
        {"megabyte_line", {file("deck.txt", Text("", ' ', 3 * MEGABYTE, DECK))}, deck_arg, "", shows(exactly(RECORD))},
        {"bytes_above_127", {file("deck.txt", replaced(DECK, "4 ", "\xc3\xa9 "))}, deck_arg, "",
         deck_fault("numărul 5 din 24 nu este un număr întreg: „\\xc3\\xa9”")},
        {"nul_byte", {file("deck.txt", replaced(DECK, "4 ", std::string("\0 ", 2)))}, deck_arg, "",
         deck_fault("numărul 5 din 24 nu este un număr întreg: „\\x00”")},
        {"number_followed_by_text", {file("deck.txt", replaced(DECK, "4 ", "4x "))}, deck_arg, "",
         deck_fault("numărul 6 din 24 nu este un număr întreg: „x”")},
        {"negative_code", {file("deck.txt", "-1 " + DECK)}, deck_arg, "",
         deck_fault("numărul 1 din 24: codul -1 nu este între 0 și 23")},
        {"code_beyond_every_integer", {file("deck.txt", "99999999999999999999999 " + DECK)}, deck_arg, "",
         deck_fault("numărul 1 din 24: codul 99999999999999999999999 nu este între 0 și 23")},
        {"output_to_a_full_device", {file("deck.txt", DECK)}, deck_arg, "",
         fails(2, "ceilscore: nu se poate scrie rezultatul"), true},
    };
}

// ---- record-view: the file game.dat in its working directory, the file named, or standard input for "-"

Expected record_fault(const std::string& message) { return fails(2, "record-view: game.dat: " + message); }

const Case VIEW_CLEAN = {"clean", {file("game.dat", RECORD)}};

std::vector<Case> record_view_cases() {
    auto record = [](const std::string& content) { return std::vector<hostile::Entry>{file("game.dat", content)}; };
    return {
        {"missing", {}, {}, "", record_fault("nu se poate deschide: No such file or directory")},
        {"record_is_a_directory", {directory("game.dat")}, {}, "", record_fault("nu se poate citi: Is a directory")},
        {"unreadable", {unreadable("game.dat", RECORD)}, {}, "",
         record_fault("nu se poate deschide: Permission denied")},
        {"behind_a_file", {file("plain", RECORD), link("game.dat", "plain/game.dat")}, {}, "",
         record_fault("nu se poate deschide: Not a directory")},
        {"empty", record(""), {}, "", record_fault("înregistrarea se termină înainte de starea jocului")},
        {"truncated_mid_number", record("0\n40"), {}, "",
         record_fault("înregistrarea se termină înainte de categoria coloanei 1")},
        {"truncated_in_the_cards", record(RECORD.substr(0, RECORD.size() - 3)), {}, "",
         record_fault("înregistrarea se termină înainte de coloana la cartea 20")},
        {"status_without_message", record("1\n"), {}, "", record_fault("starea 1 nu este urmată de un mesaj")},
        {"status_beyond_every_integer", record("99999999999999 mesaj\n"), {}, "",
         record_fault("starea jocului este prea mare: 99999999999999")},
        {"huge", {huge("game.dat", RECORD, 40)}, {}, "", shows(clean_lines(10))},
        {"endless_after_the_record", {endless("game.dat", RECORD)}, {}, "", shows(clean_lines(10))},
        {"endless_after_the_message", {endless("game.dat", "3 mesaj\n")}, {}, "", shows(exactly("mesaj\n\n"))},
        {"megabyte_line", {file("game.dat", Text("0\n", ' ', 3 * MEGABYTE, RECORD.substr(2)))}, {}, "",
         shows(clean_lines(10))},
        // Only the first 999 bytes of a message are shown.
        {"megabyte_message", {file("game.dat", Text("2\n", 'x', 3 * MEGABYTE, "\n"))}, {}, "",
         shows(exactly(std::string(999, 'x') + "\n"))},
        {"bytes_above_127_in_the_message", record("3 \xc3\xa9\xff mesaj\n"), {}, "",
         shows(exactly("\xc3\xa9\xff mesaj\n\n"))},
        // The message is shown unchanged, whatever its bytes.
        {"nul_byte_in_the_message", record(std::string("1\nab\0cd\n", 8)), {}, "",
         shows(exactly(std::string("ab\0cd\n\n", 7)))},
        {"bytes_above_127_in_a_number", record("0\n\xc3\xa9\n"), {}, "",
         record_fault("în loc de scorul total este „\\xc3\\xa9”")},
        {"nul_byte_in_a_number", record(std::string("0\n\0\n", 4)), {}, "",
         record_fault("în loc de scorul total este „\\x00”")},
        {"rank_out_of_range", record(replaced(RECORD, "\n0 0 0\n", "\n6 0 0\n")), {}, "",
         record_fault("cartea 1: rangul 6 nu este între 0 și 5")},
        {"negative_suit", record(replaced(RECORD, "\n0 0 0\n", "\n0 -1 0\n")), {}, "",
         record_fault("cartea 1: culoarea -1 nu este între 0 și 3")},
        {"category_out_of_range", record(replaced(RECORD, "8 100 ", "9 100 ")), {}, "",
         record_fault("coloana 1: categoria 9 nu este între 0 și 8")},
        {"column_named_six_times", record(replaced(RECORD, "\n0 1 1\n", "\n0 1 0\n")), {}, "",
         record_fault("cartea 17: coloana cu indicele 0 apare de mai mult de cinci ori")},
        {"help", record(RECORD), {"--help"}, "", shows(exactly(hostile::help_of("record-view")))},
        {.name = "version_after_the_file", .setup = record(RECORD), .args = {"game.dat", "--version"},
         .expect = version_of("record-view")},
        {.name = "version_to_a_full_device", .args = {"--version"}, .expect = cannot_write("record-view", "versiunea"),
         .output_to_full_device = true},
        {.name = "help_to_a_full_device", .args = {"-h"}, .expect = cannot_write("record-view", "ajutorul"),
         .output_to_full_device = true},
        {"short_help", record(RECORD), {"-h"}, "", shows(exactly(hostile::help_of("record-view")))},
        {"unknown_option", record(RECORD), {"--bogus"}, "", usage_error("record-view", "opțiune necunoscută: --bogus")},
        {"two_arguments", record(RECORD), {"game.dat", "-"}, RECORD, usage_error("record-view", "argument în plus: -")},
        {"named_file_before_game_dat", {file("game.dat", "3 alt joc\n"), file("deal.dat", RECORD)}, {"deal.dat"}, "",
         shows(clean_lines(10))},
        {"named_file_missing", record(RECORD), {"deal.dat"}, "",
         fails(2, "record-view: deal.dat: nu se poate deschide: No such file or directory")},
        {"standard_input_truncated", record(RECORD), {"-"}, "0\n40",
         fails(2, "record-view: intrarea standard: înregistrarea se termină înainte de categoria coloanei 1")},
        {"output_to_a_full_device", record(RECORD), {}, "", fails(2, "record-view: nu se poate scrie afișarea"), true},
    };
}

// ---- record-view's colours: always by default, none where NO_COLOR asks, --color over both

const std::string NO_COLOR = "NO_COLOR=1 exec \"$@\"";
// The rows set NO_COLOR themselves: one from the caller's environment must not reach the others.
const bool NO_COLOR_CLEARED = ::unsetenv("NO_COLOR") == 0;

// The ascending deal's record shown without colour: the cells keep their width.
std::string plain_view() {
    std::string text;
    for (const char* label : {" 9", "10", " J", " Q", " K"}) {
        for (const char* icon : {"♣", "♦", "♥", "♠"}) text += std::string(label) + icon + " ";
        text += "\n";
    }
    for (const char* column : {"1", "2", "3", "4"}) {
        text += std::string("Coloana ") + column + ": chintă de culoare (100 puncte)\n";
    }
    return text + "Scor total: 400\n";
}

std::vector<Case> record_view_colour_cases() {
    const std::vector<hostile::Entry> record = {file("game.dat", RECORD)};
    const Expected coloured = shows(clean_lines(10));
    const Expected plain = shows(exactly(plain_view()));
    return {
        {.name = "always", .setup = record, .args = {"--color", "always"}, .expect = coloured},
        {.name = "never", .setup = record, .args = {"--color", "never"}, .expect = plain},
        {.name = "never_in_one_argument", .setup = record, .args = {"--color=never"}, .expect = plain},
        {.name = "auto_into_a_pipe", .setup = record, .args = {"--color", "auto"}, .expect = plain},
        {.name = "no_color", .setup = record, .expect = plain, .shell = NO_COLOR},
        {.name = "empty_no_color", .setup = record, .expect = coloured, .shell = "NO_COLOR= exec \"$@\""},
        {.name = "always_over_no_color", .setup = record, .args = {"--color=always"}, .expect = coloured,
         .shell = NO_COLOR},
        {.name = "last_one_counts", .setup = record, .args = {"--color=always", "--color", "never"}, .expect = plain},
        {.name = "unknown_mode", .setup = record, .args = {"--color", "blue"},
         .expect = usage_error("record-view", "opțiunea --color primește always, never sau auto, nu „blue”")},
        {.name = "mode_missing", .setup = record, .args = {"--color"},
         .expect = usage_error("record-view", "opțiunea --color cere o valoare")},
    };
}

// ---- hand-census: no input at all; its output never changes

const std::string CENSUS =
    "42504 hands\n"
    "4080 nothing (multiplier 5.65)\n"
    "23040 one pair (multiplier 1.00)\n"
    "8640 two pairs (multiplier 2.67)\n"
    "3840 three of a kind (multiplier 6.00)\n"
    "2040 straight (multiplier 11.29)\n"
    "720 full house (multiplier 32.00)\n"
    "120 four of a kind (multiplier 192.00)\n"
    "16 flush (multiplier 1440.00)\n"
    "8 straight flush (multiplier 2880.00)\n";

const std::vector<Case> HAND_CENSUS = {
    {"no_arguments", {}, {}, "", shows(exactly(CENSUS))},
    {"help", {}, {"--help"}, "", shows(exactly(hostile::help_of("hand-census")))},
    {"short_help", {}, {"-h"}, "", shows(exactly(hostile::help_of("hand-census")))},
    {"unknown_option", {}, {"--bogus"}, "", usage_error("hand-census", "opțiune necunoscută: --bogus")},
    {"an_argument", {}, {"\xc3\xa9"}, "", usage_error("hand-census", "argument în plus: \xc3\xa9")},
    {"help_to_a_full_device", {}, {"--help"}, "", cannot_write("hand-census", "ajutorul"), true},
    {"input_is_not_read", {}, {}, Text("", '\xff', 3 * MEGABYTE, std::string("\0", 1)), shows(exactly(CENSUS))},
    {"output_to_a_full_device", {}, {}, "", fails(2, "hand-census: cannot write the output"), true},
    {.name = "version", .args = {"--version"}, .expect = version_of("hand-census")},
    {.name = "option_that_takes_no_value", .args = {"--help=yes"},
     .expect = usage_error("hand-census", "opțiunea --help nu primește o valoare")},
};

// ---- play: its command line, and the lines --plain reads

// A whole game on seed 7, placed 1, 2, 3, 4 in every round: 7 points.
const std::string ROUNDS_IN_ORDER = [] {
    std::string lines;
    for (int card = 0; card < 20; ++card) lines += std::to_string(card % 4 + 1) + "\n";
    return lines;
}();
const std::vector<std::string> PLAIN_SEVEN = {"--plain", "--seed", "7"};

std::vector<Case> play_cases() {
    const std::string ended = "play: intrarea s-a încheiat înainte de sfârșitul jocului\n";
    const std::string hint = "Răspundeți cu o coloană 1-4, u (anulează), t (tabla) sau q (ieșire)";
    std::vector<std::string> recorded = PLAIN_SEVEN;
    recorded.insert(recorded.end(), {"--record", "game.dat"});
    return {
        {.name = "help", .args = {"--help"}, .expect = shows(exactly(hostile::help_of("play")))},
        {.name = "version", .args = {"--plain", "--version"}, .expect = version_of("play")},
        {.name = "unknown_option", .args = {"--colour"},
         .expect = usage_error("play", "opțiune necunoscută: --colour")},
        {.name = "an_argument", .args = {"--plain", "7"}, .expect = usage_error("play", "argument în plus: 7")},
        {.name = "seed_and_daily", .args = {"--daily", "--seed", "7"},
         .expect = usage_error("play", "--seed și --daily nu merg împreună")},
        {.name = "seed_beyond_64_bits", .args = {"--seed", "18446744073709551616"},
         .expect = usage_error("play", "sămânță invalidă: 18446744073709551616")},
        {.name = "record_without_a_name", .args = {"--plain", "--record", ""},
         .expect = usage_error("play", "--record are nevoie de un nume de fișier")},
        {.name = "record_in_a_missing_folder", .args = {"--plain", "--record", "missing/game.dat"},
         .expect = fails(2, "play: missing/game.dat: nu se poate scrie: No such file or directory\n")},
        {.name = "no_terminal_without_plain", .args = {"--seed", "7"},
         .expect = fails(2, "play: intrarea și ieșirea standard nu sunt un terminal; --plain joacă pe rânduri de "
                            "text\n")},
        {.name = "input_ends_in_a_game", .args = PLAIN_SEVEN, .input = "1\n2\n",
         .expect = {1, ended, containing("Cartea 3 din 20, runda 1: Q♦; coloane deschise: 3, 4\n")}},
        // A line may end in CR LF, or not at all at the end of the input.
        {.name = "quit_asks_first", .args = PLAIN_SEVEN, .input = "q\r\n \nq\nd",
         .expect = {0, "", containing_but_not("(d/n)\nIeșiți din joc? (d/n)\n", "Scor total")}},
        {.name = "lines_that_are_no_command", .args = PLAIN_SEVEN, .input = "5\n0\n12\nx\n" + ROUNDS_IN_ORDER,
         .expect = {0, "", containing(hint + "\n" + hint + "\n" + hint + "\n" + hint + "\nCartea 2 din 20")}},
        {.name = "megabyte_line", .args = PLAIN_SEVEN, .input = Text("", '1', 3 * MEGABYTE, "\n" + ROUNDS_IN_ORDER),
         .expect = {0, "", containing(hint + "\nCartea 2 din 20")}},
        {.name = "board_on_request", .args = PLAIN_SEVEN, .input = "1\nt\n",
         .expect = {1, ended, containing("Coloana 1: J♥ (nimic, 0 puncte)\nColoana 2: nicio carte\n")}},
        {.name = "record_of_the_game", .args = recorded, .input = ROUNDS_IN_ORDER,
         .expect = {.out = containing("Scor total: 7\n"), .made = {"game.dat"},
                    .record_head = "0\n7\n1 1 0 0 3 5 1 1 \n"}},
        {.name = "a_new_game_on_a_fresh_seed", .args = PLAIN_SEVEN, .input = ROUNDS_IN_ORDER + "n\nq\nd\n",
         .expect = {0, "", containing("n: joc nou; q: ieșire\nJoc nou, sămânța ")}},
        {.name = "output_to_a_full_device", .args = PLAIN_SEVEN, .input = ROUNDS_IN_ORDER,
         .expect = fails(2, "play: nu se poate scrie pe ieșirea standard\n"), .output_to_full_device = true},
    };
}

class Ceilscore : public ::testing::TestWithParam<Case> {};
class RecordView : public ::testing::TestWithParam<Case> {};
class RecordViewColour : public ::testing::TestWithParam<Case> {};
class HandCensus : public ::testing::TestWithParam<Case> {};
class Play : public ::testing::TestWithParam<Case> {};

TEST_P(Ceilscore, HasItsExactOutcome) { hostile::expect_outcome("ceilscore", GetParam(), CEILSCORE_CLEAN); }
TEST_P(RecordView, HasItsExactOutcome) { hostile::expect_outcome("record-view", GetParam(), VIEW_CLEAN); }
TEST_P(RecordViewColour, HasItsExactOutcome) {
    ASSERT_TRUE(NO_COLOR_CLEARED);
    hostile::expect_outcome("record-view", GetParam(), VIEW_CLEAN);
}
TEST_P(HandCensus, HasItsExactOutcome) { hostile::expect_outcome("hand-census", GetParam()); }
TEST_P(Play, HasItsExactOutcome) { hostile::expect_outcome("play", GetParam()); }

INSTANTIATE_TEST_SUITE_P(BadInput, Ceilscore, ::testing::ValuesIn(ceilscore_cases()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, RecordView, ::testing::ValuesIn(record_view_cases()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(Modes, RecordViewColour, ::testing::ValuesIn(record_view_colour_cases()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, HandCensus, ::testing::ValuesIn(HAND_CENSUS), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, Play, ::testing::ValuesIn(play_cases()), hostile::case_name);

}  // namespace
