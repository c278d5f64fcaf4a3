#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::write_file;

// One table cell: colour, label padded to two characters, suit symbol.
std::string cell(const std::string& colour, const std::string& label, const std::string& icon) {
    return "\033[" + colour + "m" + label + icon + "\033[0m ";
}

// The colour tests set NO_COLOR themselves: one from the caller's
// environment must not reach the others.
const bool NO_COLOR_CLEARED = ::unsetenv("NO_COLOR") == 0;

// Runs record-view in a directory whose game.dat holds `record`.
RunResult view(const std::string& record) {
    TempDir dir;
    write_file(dir.file("game.dat"), record);
    return testing_support::run({bin("record-view")}, "", dir.path());
}

// Column indices out of deal order in every round, and points and total
// that disagree with the cards: all shown as written.
const std::string SCRAMBLED =
    "0\n999\n0 77 1 1 8 2 3 5 \n"
    "5 3 2\n0 0 0\n1 1 3\n2 2 1\n"
    "3 3 1\n4 0 3\n0 1 0\n1 2 2\n"
    "2 0 0\n3 1 1\n4 2 2\n5 0 3\n"
    "0 2 3\n1 3 2\n2 1 1\n3 0 0\n"
    "4 1 2\n5 1 3\n0 3 1\n1 0 0\n";

const std::string SCRAMBLED_SHOWN =
    cell("30", " 9", "♣") + cell("31", " J", "♥") + cell("30", " A", "♠") + cell("31", "10", "♦") + "\n" +
    cell("31", " 9", "♦") + cell("30", " Q", "♠") + cell("31", "10", "♥") + cell("30", " K", "♣") + "\n" +
    cell("30", " J", "♣") + cell("31", " Q", "♦") + cell("31", " K", "♥") + cell("30", " A", "♣") + "\n" +
    cell("30", " Q", "♣") + cell("31", " J", "♦") + cell("30", "10", "♠") + cell("31", " 9", "♥") + "\n" +
    cell("30", "10", "♣") + cell("30", " 9", "♠") + cell("31", " K", "♦") + cell("31", " A", "♦") + "\n" +
    "Coloana 1: nimic (77 puncte)\n"
    "Coloana 2: o pereche (1 puncte)\n"
    "Coloana 3: chintă de culoare (2 puncte)\n"
    "Coloana 4: trei bucăți (5 puncte)\n"
    "Scor total: 999\n";

// The record with its line `number` (counted from 1) replaced.
std::string with_line(int number, const std::string& replacement) {
    std::vector<std::string> lines;
    std::string text = SCRAMBLED;
    for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
        lines.push_back(text.substr(0, end));
    }
    lines.at(number - 1) = replacement;
    std::string record;
    for (const std::string& line : lines) record += line + "\n";
    return record;
}

TEST(RecordView, ShowsCeilscoresRecordOfTheAscendingDeck) {
    const std::string ascending = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\n";
    TempDir dir;
    write_file(dir.file("deck.txt"), ascending);
    const RunResult best = testing_support::run({bin("ceilscore"), dir.file("deck.txt")});
    ASSERT_EQ(best.exit_code, 0) << best.err;

    std::string expected;
    for (const char* label : {" 9", "10", " J", " Q", " K"}) {
        expected +=
            cell("30", label, "♣") + cell("31", label, "♦") + cell("31", label, "♥") + cell("30", label, "♠") + "\n";
    }
    for (const char* column : {"1", "2", "3", "4"}) {
        expected += std::string("Coloana ") + column + ": chintă de culoare (100 puncte)\n";
    }
    expected += "Scor total: 400\n";

    const RunResult r = view(best.out);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);

    // The same deal from deck to table through one pipeline.
    const RunResult piped =
        testing_support::run({"/bin/sh", "-c", "\"$0\" - | \"$1\" -", bin("ceilscore"), bin("record-view")}, ascending);
    EXPECT_EQ(piped.exit_code, 0);
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(piped.out, expected);
}

// A record named on the command line, or given on standard input, shows as
// game.dat of the current directory would, in either form.
TEST(RecordView, ShowsAFileOrStandardInputAsItShowsGameDat) {
    for (const std::string& record : {SCRAMBLED, std::string("1\nJucătorul a răspuns 7 la cartea 3\n")}) {
        TempDir dir;
        write_file(dir.file("deal.dat"), record);
        const RunResult named = testing_support::run({bin("record-view"), dir.file("deal.dat")});
        const RunResult piped = testing_support::run({bin("record-view"), "-"}, record);
        const RunResult by_default = view(record);
        ASSERT_EQ(by_default.exit_code, 0) << by_default.err;
        EXPECT_EQ(named.exit_code, 0) << named.err;
        EXPECT_EQ(piped.exit_code, 0) << piped.err;
        EXPECT_EQ(named.out, by_default.out);
        EXPECT_EQ(piped.out, by_default.out);
    }
}

TEST(RecordView, PlacesCardsByTheirColumnIndexAndShowsPointsAsWritten) {
    const RunResult r = view(SCRAMBLED);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, SCRAMBLED_SHOWN);
}

TEST(RecordView, OnlyTheOrderOfTheIntegersCounts) {
    std::string respread = "0\n\n   ";
    for (const std::string& number : testing_support::split(SCRAMBLED.substr(1))) respread += number + " \t\r\n";
    const RunResult r = view(respread + "what follows the last card is not read\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, SCRAMBLED_SHOWN);
}

struct ErrorForm {
    const char* name;
    std::string record;
    std::string shown;
};

class RecordViewErrorForm : public ::testing::TestWithParam<ErrorForm> {};

TEST_P(RecordViewErrorForm, ShowsOnlyTheMessage) {
    const RunResult r = view(GetParam().record);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordViewErrorForm,
    ::testing::Values(
        ErrorForm{"MessageLine", "1\nJucătorul a răspuns 7 la cartea 3\n0\n400\n",
                  "Jucătorul a răspuns 7 la cartea 3\n\n"},
        ErrorForm{"BlankLinesAndIndentSkipped", "2\n\n\n   mesaj indentat\n", "mesaj indentat\n\n"},
        ErrorForm{"MessageOnTheStatusLine", "3 pe aceeași linie\nrest\n", "pe aceeași linie\n\n"},
        ErrorForm{"NegativeStatusAndNoFinalLineFeed", "-1\nfără sfârșit de linie", "fără sfârșit de linie\n"},
        ErrorForm{"LongestMessageWithItsLineFeed", "4\n" + std::string(998, 'x') + "\nrest\n",
                  std::string(998, 'x') + "\n\n"},
        ErrorForm{"LongerMessageCutAt999Bytes", "4\n" + std::string(1200, 'x') + "\n", std::string(999, 'x') + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadRecord {
    const char* name;
    std::string record;
    std::string error_part;
};

class RecordViewBadRecord : public ::testing::TestWithParam<BadRecord> {};

TEST_P(RecordViewBadRecord, IsReportedWithoutATable) {
    const RunResult r = view(GetParam().record);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("record-view: game.dat: ")) << r.err;
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordViewBadRecord,
    ::testing::Values(
        BadRecord{"StatusNotANumber", "zero\n", "în loc de starea jocului este „zero”"},
        BadRecord{"StatusWithoutMessage", "5\n  \n\n", "starea 5 nu este urmată de un mesaj"},
        BadRecord{"TotalNotANumber", with_line(2, "total"), "în loc de scorul total este „total”"},
        BadRecord{"CategoryTooLarge", with_line(3, "9 77 1 1 8 2 3 5"), "coloana 1: categoria 9 nu este între 0 și 8"},
        BadRecord{"CategoryNegative", with_line(3, "0 77 1 1 8 2 -1 5"),
                  "coloana 4: categoria -1 nu este între 0 și 8"},
        BadRecord{"RankTooLarge", with_line(4, "6 3 2"), "cartea 1: rangul 6 nu este între 0 și 5"},
        BadRecord{"SuitTooLarge", with_line(23, "1 4 0"), "cartea 20: culoarea 4 nu este între 0 și 3"},
        BadRecord{"ColumnTooLarge", with_line(10, "0 1 4"), "cartea 7: coloana 4 nu este între 0 și 3"},
        BadRecord{"ColumnNegative", with_line(10, "0 1 -1"), "cartea 7: coloana -1 nu este între 0 și 3"},
        BadRecord{"ColumnNamedSixTimes", with_line(4, "5 3 0"),
                  "cartea 20: coloana cu indicele 0 apare de mai mult de cinci ori"},
        BadRecord{"LastColumnMissing", SCRAMBLED.substr(0, SCRAMBLED.size() - 2), "înainte de coloana la cartea 20"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordView, MissingOrUnreadableRecord) {
    TempDir dir;
    const RunResult missing = testing_support::run({bin("record-view")}, "", dir.path());
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_TRUE(missing.err.starts_with("record-view: game.dat: nu se poate deschide")) << missing.err;

    std::filesystem::create_directory(dir.file("game.dat"));
    const RunResult directory = testing_support::run({bin("record-view")}, "", dir.path());
    EXPECT_EQ(directory.exit_code, 2);
    EXPECT_EQ(directory.out, "");
    EXPECT_TRUE(directory.err.starts_with("record-view: game.dat: nu se poate citi")) << directory.err;
}

TEST(RecordView, OutputThatCannotBeWrittenIsAFailure) {
    TempDir dir;
    write_file(dir.file("game.dat"), SCRAMBLED);
    const RunResult r =
        testing_support::run({"/bin/sh", "-c", "exec \"$0\" >/dev/full", bin("record-view")}, "", dir.path());
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.err, "record-view: nu se poate scrie afișarea\n");
}

// What a terminal of 80 x 24 shows, colours as escapes, once the shell
// command has run in `dir`; nothing when tmux is missing. Each call has a
// tmux server of its own (one that is still ending would refuse a session),
// its socket in a directory that goes with it.
std::optional<std::string> on_a_terminal(const std::string& command, const std::string& dir) {
    if (testing_support::run({"/bin/sh", "-c", "command -v tmux"}).exit_code != 0) return std::nullopt;
    const TempDir server;
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"tmux", "-f", "/dev/null", "-S", server.file("socket")});
        return testing_support::run(args);
    };
    const RunResult started = with({"new-session", "-d", "-x", "80", "-y", "24", "-c", dir, command + "; sleep 60"});
    EXPECT_EQ(started.exit_code, 0) << started.err;
    if (started.exit_code != 0) return "";
    std::string shown;
    for (int tries = 0; tries < 100 && shown.find("Scor total") == std::string::npos; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        shown = with({"capture-pane", "-p", "-e"}).out;
    }
    (void)with({"kill-server"});
    return shown;
}

TEST(RecordView, AutoColoursOnATerminalWhereNoColorMakesItPlain) {
    ASSERT_TRUE(NO_COLOR_CLEARED);
    TempDir dir;
    write_file(dir.file("game.dat"), SCRAMBLED);
    const std::string program = "'" + bin("record-view") + "'";
    const std::optional<std::string> coloured = on_a_terminal(program + " --color auto", dir.path());
    if (!coloured) GTEST_SKIP() << "tmux is missing: record-view is not tried on a terminal";
    EXPECT_NE(coloured->find("\033[30m 9♣"), std::string::npos) << *coloured;
    EXPECT_NE(coloured->find("\033[31m J♥"), std::string::npos) << *coloured;
    EXPECT_NE(coloured->find("Scor total: 999"), std::string::npos) << *coloured;

    const std::optional<std::string> plain = on_a_terminal("NO_COLOR=1 " + program, dir.path());
    EXPECT_NE(plain->find(" 9♣  J♥  A♠ 10♦\n"), std::string::npos) << *plain;
    EXPECT_EQ(plain->find("\033["), std::string::npos) << *plain;
}

}  // namespace
