#include <gtest/gtest.h>

#include "common/record.h"
#include "tests/support/support.h"
#include "players/tally/tally.h"

namespace {

using testing_support::bin;
using testing_support::join;
using testing_support::lines;
using testing_support::run;
using testing_support::RunResult;
using testing_support::split;
using testing_support::TempDir;
using testing_support::write_file;

const std::vector<std::string> WORKED_DEAL = {"9C", "9D", "9H", "KC", "QC", "QD", "QH", "AC", "9S", "QS",
                                              "KD", "KH", "AD", "AH", "AS", "KS", "10C", "10D", "10H", "10S"};
const char* WORKED_ANSWERS = "1 2 3 4 1 2 3 4 4 3 1 2 4 1 2 3 1 2 3 4";

std::string answers_to(const std::vector<std::string>& tokens) {
    const RunResult r = run({bin("tally-player")}, lines(tokens));
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return join(split(r.out));
}

TEST(TallyPlayer, WorkedDealThroughTheReferee) {
    TempDir dir;
    write_file(dir.file("deck.txt"), testing_support::deck_text(WORKED_DEAL));
    const RunResult r = run({bin("referee"), "--deck", "deck.txt", bin("tally-player")}, "", dir.path());
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    ASSERT_TRUE(read) << read.error();
    const game::GameRecord& record = *read;
    std::vector<std::string> columns;
    for (const game::Placement& p : record.cards) columns.push_back(std::to_string(p.column + 1));
    // 9S: tie in 1-3, three nines out -> 4, outside the tie. QS: tie, three queens -> 3.
    // KD: tie, one king -> the lowest, 1. AD: unique (AC in 4). AS at level 4: tie in 2, 3 -> 2.
    EXPECT_EQ(join(columns), WORKED_ANSWERS);
    // Columns: 9C QC KD AH 10C | 9D QD KH AS 10D | 9H QH QS KS 10H | KC AC 9S AD 10S
    EXPECT_EQ(record.categories, (std::array<int, 4>{0, 0, 1, 1}));
    EXPECT_EQ(r.out, "Scor total: 2\n");
}

TEST(TallyPlayer, UniqueBestInTheThirdRoundIsNeverOverridden) {
    // 9S tallies 2, 1, 0, 0 with three nines on the board: it stays in column 1.
    // 10D ties with one ten out and KH ties at level 5: both take the lowest tied column.
    EXPECT_EQ(answers_to({"9C", "KC", "QC", "AC", "9D", "9H", "JD", "JS", "9S", "10C", "10D", "10H", "QD", "QH",
                          "QS", "KD", "KH", "KS", "AD", "AH"}),
              "1 2 3 4 1 2 3 4 1 2 3 4 3 1 2 4 2 4 1 3");
}

struct Tie {
    const char* name;
    std::vector<std::string> deal;
    const char* answers;
};

class TallyPlayerTie : public ::testing::TestWithParam<Tie> {};

TEST_P(TallyPlayerTie, GoesToTheLowestTiedColumnOutsideTheThirdRound) {
    // The tied card's rank is three times on the board, in columns 1 to 3.
    EXPECT_EQ(answers_to(GetParam().deal), GetParam().answers);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, TallyPlayerTie,
    ::testing::Values(Tie{"level_2",
                          {"9C", "9D", "9H", "KC", "9S", "QC", "QD", "QH", "JC", "JD",
                           "JH", "JS", "AC", "AD", "AH", "AS", "KD", "KH", "KS", "10C"},
                          "1 2 3 4 1 2 3 4 1 2 3 4 1 2 3 4 4 1 2 3"},
                      Tie{"level_4",
                          {"KC", "KD", "KH", "9C", "9D", "QC", "QD", "QH", "JC", "JD",
                           "JH", "JS", "KS", "AC", "AD", "AH", "10C", "10D", "10H", "10S"},
                          "1 2 3 4 4 1 2 3 1 2 3 4 1 2 3 4 1 2 3 4"},
                      Tie{"level_5",
                          {"KC", "KD", "KH", "9C", "9D", "QC", "QD", "QH", "JC", "JD",
                           "JH", "JS", "AC", "AD", "AH", "AS", "KS", "10C", "10D", "10H"},
                          "1 2 3 4 4 1 2 3 1 2 3 4 1 2 3 4 1 2 3 4"}),
    [](const auto& info) { return info.param.name; });

TEST(TallyPlayer, TenIsKnownByItsFirstCharacter) {
    // 10S matches the 10H of column 3, the only column holding its rank.
    const std::vector<std::string> answers = split(answers_to({"9C", "9D", "10H", "9S", "10S", "9H", "JC", "JD",
                                                               "JH", "JS", "QC", "QD", "QH", "QS", "KC", "KD",
                                                               "KH", "KS", "AC", "AD"}));
    ASSERT_EQ(answers.size(), 20u);
    EXPECT_EQ(answers[4], "3");
}

TEST(TallyPlayer, UnknownCardsArePlacedAndGatherByTheirCommonCode) {
    // Two different unknown tokens both read as rank code 0; the second joins the first.
    const std::vector<std::string> answers = split(answers_to({"9C", "JD", "\xff\xfe", "AS", "ZZ", "9D", "JH", "AH",
                                                               "10C", "10D", "10H", "10S", "QC", "QD", "QH", "QS",
                                                               "KC", "KD", "KH", "KS"}));
    ASSERT_EQ(answers.size(), 20u);
    EXPECT_EQ(answers[4], "3");
}

TEST(TallyCards, SuitIsTheThirdCharacterOfATenAndTheSecondOtherwise) {
    tally::initi();
    const struct {
        const char* token;
        int rank, suit;
    } cards[] = {{"10H", 10, 3}, {"10S", 10, 4}, {"9D", 9, 2}, {"JC", 12, 1}, {"QS", 13, 4},
                 {"KH", 14, 3},  {"AD", 15, 2},  {"1", 10, 0}, {"1H", 10, 0}, {"9", 9, 0}};
    for (const auto& card : cards) {
        tally::decode_card(card.token);
        EXPECT_EQ(tally::carte, card.rank) << card.token;
        EXPECT_EQ(tally::simbol, card.suit) << card.token;
    }
}

TEST(TallyCards, EveryUnlistedByteReadsAsUnknown) {
    tally::initi();
    const std::string ranks = "91JQKA", suits = "CDHS";
    const int rank_codes[] = {9, 10, 12, 13, 14, 15};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::size_t rank = ranks.find(byte), suit = suits.find(byte);
        tally::decode_card(std::string{byte, 'C', 'C'});
        EXPECT_EQ(tally::carte, rank == std::string::npos ? 0 : rank_codes[rank]) << b;
        tally::decode_card(std::string{'9', byte});
        EXPECT_EQ(tally::simbol, suit == std::string::npos ? 0 : static_cast<int>(suit) + 1) << b;
    }
}

TEST(TallyCards, UnknownRankCountsTheEmptySlotOfEveryFreeColumn) {
    tally::initi();
    const char* first_round[] = {"9C", "JD", "\x80H", "AS"};
    for (int k = 1; k <= 4; ++k) {
        tally::decode_card(first_round[k - 1]);
        tally::aseaza(1, k);
    }
    tally::verif_combinatii();
    tally::decode_card("KC");
    tally::aseaza(2, 2);
    tally::decode_card("XD");
    EXPECT_EQ(tally::rank_tally(1), 1);
    EXPECT_EQ(tally::rank_tally(3), 2);  // the unknown card of level 1 and the empty slot
    EXPECT_EQ(tally::rank_tally(4), 1);
    EXPECT_EQ(tally::alege_coloana(), 3);
}

struct BadInput {
    const char* name;
    std::string input;
    int answers_before;
    std::string error_part;
};

class TallyPlayerBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(TallyPlayerBadInput, StopsWithAMessageKeepingEarlierAnswers) {
    const RunResult r = run({bin("tally-player")}, GetParam().input);
    EXPECT_EQ(r.exit_code, 1);
    const std::vector<std::string> worked = split(WORKED_ANSWERS);
    EXPECT_EQ(r.out, lines({worked.begin(), worked.begin() + GetParam().answers_before}));
    EXPECT_EQ(r.err.rfind("tally-player: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
}

std::string first(int n) { return lines({WORKED_DEAL.begin(), WORKED_DEAL.begin() + n}); }

INSTANTIATE_TEST_SUITE_P(
    Cases, TallyPlayerBadInput,
    ::testing::Values(
        BadInput{"empty_input", "", 0, "intrarea s-a terminat înainte de cartea 1"},
        BadInput{"ends_mid_round", first(10), 10, "înainte de cartea 11"},
        BadInput{"ends_before_last", first(19), 19, "înainte de cartea 20"},
        BadInput{"token_too_long", first(5) + "10HX\n", 5, "cartea 6: jetonul „10H...” are mai mult de 3 caractere"},
        BadInput{"long_line", std::string(100000, 'Q'), 0, "cartea 1: jetonul „QQQ...”"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
