#include <gtest/gtest.h>

#include "common/record.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::lines;
using testing_support::run;
using testing_support::RunResult;
using testing_support::split;
using testing_support::TempDir;
using testing_support::write_file;

const std::vector<std::string> WORKED_DEAL = {"9C", "10D", "JC", "QH", "KC", "AS", "9D", "10C", "JH", "QC",
                                              "KD", "9S", "AD", "AH", "10S", "KS", "10H", "KH", "QS", "QD"};
const char* WORKED_ANSWERS = "1 2 3 4 1 3 2 4 3 1 2 4 2 3 4 1 1 3 4 2";

std::string answers_to(const std::vector<std::string>& tokens) {
    const RunResult r = run({bin("suit-player")}, lines(tokens));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return testing_support::join(split(r.out));
}

TEST(SuitPlayer, WorkedDealThroughTheReferee) {
    TempDir dir;
    write_file(dir.file("deck.txt"), testing_support::deck_text(WORKED_DEAL));
    const RunResult r = run({bin("referee"), "--deck", "deck.txt", bin("suit-player")}, "", dir.path());
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    ASSERT_TRUE(read) << read.error();
    const game::GameRecord& record = *read;
    std::vector<std::string> columns;
    for (const game::Placement& p : record.cards) columns.push_back(std::to_string(p.column + 1));
    EXPECT_EQ(testing_support::join(columns), WORKED_ANSWERS);
    // Columns: 9C KC QC KS 10H | 10D 9D KD AD QD | JC AS JH AH KH | QH 10C 9S 10S QS
    EXPECT_EQ(record.categories, (std::array<int, 4>{1, 7, 2, 2}));
    EXPECT_EQ(record.total, 55);
    EXPECT_EQ(r.out, "Scor total: 55\n");
}

TEST(SuitPlayer, WorkedDealAnswersTheSameWithTokensOnOneLine) {
    std::string one_line;
    for (const std::string& t : WORKED_DEAL) one_line += t + " ";
    const RunResult r = run({bin("suit-player")}, one_line);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, lines(split(WORKED_ANSWERS)));
    EXPECT_EQ(r.err, "");
}

TEST(SuitPlayer, SameSuitColumnsTakeTheirSuitLowestFirst) {
    // Columns 1 and 3 are clubs: the first club of a round goes to 1, the second to 3.
    // In round 3, KD breaks column 1 (six clubs read against three hearts), and KH
    // breaks column 3, the only free column; in round 4 the spades fill the broken ones.
    EXPECT_EQ(answers_to({"9C", "9D", "10C", "9H", "JC", "QC", "10D", "10H", "KC", "AC", "JD", "JH", "QD",
                          "KD", "QH", "KH", "AD", "AH", "9S", "10S"}),
              "1 2 3 4 1 3 2 4 1 3 2 4 2 1 4 3 2 4 1 3");
}

TEST(SuitPlayer, BrokenColumnTakesAnySuitBeforeAnotherIsBroken) {
    // AS breaks column 1 (clubs read most); in round 2 the spade-less 9H and 10S
    // find column 1 broken before any unbroken column is given up.
    EXPECT_EQ(answers_to({"9C", "9D", "10C", "9H", "AS", "JC", "10D", "10H", "KS", "QC", "JD", "JH",
                          "QS", "KC", "QD", "QH", "AC", "KD", "KH", "AD"}),
              "1 2 3 4 1 3 2 4 1 3 2 4 1 3 2 4 3 2 4 1");
}

TEST(SuitPlayer, EqualSuitCountsBreakTheLowestFreeColumn) {
    // Four suits, one card each: the spade of round 1 ... all counts equal 1 or 2; the first
    // strictly highest count wins, so equal counts keep the lowest free column.
    EXPECT_EQ(answers_to({"9C", "9D", "9H", "9S", "10S", "10C", "10D", "10H", "JC", "JD", "JH", "JS",
                          "QC", "QD", "QH", "QS", "KC", "KD", "KH", "KS"}),
              "1 2 3 4 4 1 2 3 1 2 3 4 1 2 3 4 1 2 3 4");
}

struct BadInput {
    const char* name;
    std::string input;
    int answers_before;
    std::string error_part;
};

class SuitPlayerBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(SuitPlayerBadInput, StopsWithAMessageKeepingEarlierAnswers) {
    const RunResult r = run({bin("suit-player")}, GetParam().input);
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(split(r.out).size(), static_cast<std::size_t>(GetParam().answers_before)) << r.out;
    EXPECT_EQ(r.err.rfind("suit-player: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
}

std::string first(int n) {
    return lines(std::vector<std::string>(WORKED_DEAL.begin(), WORKED_DEAL.begin() + n));
}

INSTANTIATE_TEST_SUITE_P(Cases, SuitPlayerBadInput,
                         ::testing::Values(BadInput{"empty_input", "", 0, "intrarea s-a terminat înainte de cartea 1"},
                                           BadInput{"ends_mid_game", first(13), 13, "înainte de cartea 14"},
                                           BadInput{"ends_before_last", first(19), 19, "înainte de cartea 20"},
                                           BadInput{"token_too_long", first(5) + "ABCDEFGH\n", 5,
                                                    "cartea 6: jetonul „ABCDEF...” are mai mult de 6 caractere"},
                                           BadInput{"byte_above_127", first(2) + "9\xc3\xa9\n", 2,
                                                    "cartea 3: litera de culoare din „9\\xc3\\xa9”"},
                                           BadInput{"long_line", std::string(100000, 'Q'), 0, "cartea 1: jetonul"}),
                         [](const auto& info) { return info.param.name; });

TEST(SuitPlayer, SixCharacterTokensAndUnknownLettersArePlayed) {
    // Only the last character counts; an unknown letter is a suit of its own.
    const RunResult r = run({bin("suit-player")}, lines({"xxxxxC", "9x", "9D", "9H", "9x", "NUL\x01", "10C", "10D",
                                                         "JC", "JD", "JH", "Jx", "QC", "QD", "QH", "Qx", "KC", "KD",
                                                         "KH", "Kx"}));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(split(r.out).size(), 20u);
    EXPECT_EQ(split(r.out)[4], "2");  // "9x" joins the column that "9x" opened
}

}  // namespace
