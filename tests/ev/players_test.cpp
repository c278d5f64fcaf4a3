// Both expected-value players as programs, and sim-player, which reads its
// cards as they do: through the real referee, and on bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "players/ev/measures.h"
#include "common/record.h"
#include "tests/support/support.h"
#include "players/ev/unseen.h"

namespace {

using testing_support::bin;
using testing_support::lines;
using testing_support::run;
using testing_support::split;

const std::vector<std::string> DEAL = {"QH", "9S", "AD", "10C", "KH", "JH", "9H", "QS", "10H", "AH",
                                       "KS", "JC", "9D", "KD", "QC", "AS", "JD", "10S", "AC", "KC"};

// A deal on which the two players part at card 5 (see PlayersPartWays).
const std::vector<std::string> PARTING_DEAL = {"JD", "9H",  "JS",  "10D", "KD", "QC", "JH", "10H", "AH", "9C",
                                               "10S", "10C", "QH", "9D",  "QD", "KH", "KC", "9S",  "AC", "JC"};

// The columns (0..3) a player gave the 20 cards of a refereed game.
std::vector<int> refereedAnswers(const std::string& program, const std::vector<std::string>& referee_args) {
    testing_support::TempDir dir;
    std::vector<std::string> argv = {bin("referee")};
    argv.insert(argv.end(), referee_args.begin(), referee_args.end());
    argv.insert(argv.end(), {"--record", dir.file("game.dat"), bin(program)});
    const auto result = run(argv, "", dir.path());
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    EXPECT_TRUE(read) << read.error();
    const game::GameRecord record = read ? *read : game::GameRecord{};
    EXPECT_EQ(result.out, "Scor total: " + std::to_string(record.total) + "\n");
    std::vector<int> answers;
    for (const game::Placement& placement : record.cards) answers.push_back(placement.column);
    return answers;
}

std::vector<int> refereedAnswers(const std::string& program, const std::vector<std::string>& deal,
                                 testing_support::TempDir& dir) {
    testing_support::write_file(dir.file("deck.txt"), testing_support::deck_text(deal));
    return refereedAnswers(program, {"--deck", dir.file("deck.txt")});
}

class EvPlayer : public ::testing::TestWithParam<std::string> {
protected:
    const std::string program = GetParam();

    // Runs the player on `input` and expects a stop after `answered` answers.
    void expectStop(const std::string& input, int answered, const std::string& message) {
        const auto result = run({bin(program)}, input);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(split(result.out).size(), static_cast<std::size_t>(answered)) << result.out;
        EXPECT_EQ(result.err, program + ": " + message + "\n");
    }
};

TEST_P(EvPlayer, PlaysWholeGamesThroughTheReferee) {
    testing_support::TempDir dir;
    std::vector<std::vector<int>> games = {refereedAnswers(program, DEAL, dir)};
    for (const char* seed : {"1", "2", "3"}) games.push_back(refereedAnswers(program, {"--seed", seed}));
    for (const std::vector<int>& answers : games) {
        ASSERT_EQ(answers.size(), 20u);
        EXPECT_EQ(std::vector<int>(answers.begin(), answers.begin() + 4), (std::vector<int>{0, 1, 2, 3}));
        for (int r = 0; r < 5; ++r) {
            std::vector<int> round(answers.begin() + 4 * r, answers.begin() + 4 * r + 4);
            std::sort(round.begin(), round.end());
            EXPECT_EQ(round, (std::vector<int>{0, 1, 2, 3})) << "round " << r;
        }
    }
}

TEST_P(EvPlayer, AnswersOnlyADigitAndALineFeedAndExitsAfterTheTwentieth) {
    // A 21st token is never read: the game ends at the 20th answer.
    const auto result = run({bin(program)}, lines(DEAL) + "KC\n");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    ASSERT_EQ(result.out.size(), 40u);
    EXPECT_EQ(result.out.substr(0, 8), "1\n2\n3\n4\n");
    for (std::size_t i = 0; i < result.out.size(); i += 2) {
        EXPECT_TRUE(result.out[i] >= '1' && result.out[i] <= '4') << result.out;
        EXPECT_EQ(result.out[i + 1], '\n');
    }
}

TEST_P(EvPlayer, StopsOnAnUnknownRank) {
    expectStop("9C\n10S\nXH\n", 2, "cartea 3: jetonul „XH” nu începe cu 9, 1, J, Q, K sau A");
    expectStop("\x01" "C\n", 0, "cartea 1: jetonul „\\x01C” nu începe cu 9, 1, J, Q, K sau A");
}

TEST_P(EvPlayer, StopsOnATokenLongerThanThreeCharacters) {
    expectStop("QH 9S AD 10C KH 10HXY\n", 5, "cartea 6: jetonul „10HX...” are mai mult de 3 caractere");
}

TEST_P(EvPlayer, StopsOnACardDealtTwice) {
    // A lower-case or unknown suit letter makes a club, so 9c and 9X are 9C again.
    expectStop("9C 9S 9H 9D 10C 9c\n", 5, "cartea 6: jetonul „9c” dă din nou cartea 9C");
    expectStop("AH KH AH\n", 2, "cartea 3: jetonul „AH” dă din nou cartea AH");
    expectStop("9X 9C\n", 1, "cartea 2: jetonul „9C” dă din nou cartea 9C");
}

TEST_P(EvPlayer, StopsWhenInputEndsEarly) {
    expectStop("", 0, "intrarea s-a terminat înainte de cartea 1");
    const std::vector<std::string> twelve(DEAL.begin(), DEAL.begin() + 12);
    expectStop(lines(twelve) + "  \n", 12, "intrarea s-a terminat înainte de cartea 13");
}

TEST_P(EvPlayer, TakesATenWithoutSuitLetterAsAClub) {
    // "10" and "1" name the ten of clubs, so the ten of clubs that follows repeats it.
    expectStop("10 9C 10C\n", 2, "cartea 3: jetonul „10C” dă din nou cartea 10C");
    expectStop("1 9C 10C\n", 2, "cartea 3: jetonul „10C” dă din nou cartea 10C");
}

// sim-player reads its cards as they do.
INSTANTIATE_TEST_SUITE_P(Ev, EvPlayer, ::testing::Values("ev-player", "ev-player-anchored", "sim-player"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Expectations of a column after round 0 of the parting deal, with KD the
// fifth card: with KD (E1), without it now (E0), and as stored by the
// anchored player when the column received its first card.
struct Column {
    double withCard, without, stored;
};

Column parting(int n) {
    ev::initList();
    for (int j = 0; j < ev::COLUMNS; ++j) {
        const int c = ev::parseCard(PARTING_DEAL[j].c_str());
        ev::del(c);
        ev::place(ev::ANCHORED, j, 0, c);
    }
    const int kd = ev::parseCard("KD");
    ev::del(kd);
    int pack[ev::HAND] = {ev::packs[n][0], kd};
    ev::EV(pack, 2);
    const double withCard = ev::vavg;
    ev::EV(pack, 1);
    return {withCard, ev::vavg, ev::expectedValue[n]};
}

TEST(EvPlayersPartWays, OnAStaleStoredExpectation) {
    // Column 1 got JD when 23 cards were unseen; since then JS and 10D, which
    // pair or straighten a jack, went to other columns. Its expectation
    // without KD has fallen from the stored 2.4393 to 2.1677, so ev-player
    // sees KD raise it by 0.236 and takes column 1, while the anchored player
    // sees KD lower it by 0.036 and prefers column 3 (JS).
    const Column jd = parting(0), js = parting(2);
    EXPECT_NEAR(jd.withCard, 2.403509, 1e-6);
    EXPECT_NEAR(jd.without, 2.167699, 1e-6);
    EXPECT_NEAR(jd.stored, 2.439300, 1e-6);
    EXPECT_NEAR(js.withCard, 2.351909, 1e-6);
    EXPECT_NEAR(js.without, 2.252838, 1e-6);
    EXPECT_NEAR(js.stored, 2.297410, 1e-6);
    EXPECT_GT(jd.withCard - jd.without, js.withCard - js.without);
    EXPECT_LT(jd.withCard - jd.stored, js.withCard - js.stored);

    testing_support::TempDir dir;
    const std::vector<int> fresh = refereedAnswers("ev-player", PARTING_DEAL, dir);
    const std::vector<int> anchored = refereedAnswers("ev-player-anchored", PARTING_DEAL, dir);
    ASSERT_EQ(fresh.size(), 20u);
    ASSERT_EQ(anchored.size(), 20u);
    EXPECT_EQ(std::vector<int>(fresh.begin(), fresh.begin() + 4),
              std::vector<int>(anchored.begin(), anchored.begin() + 4));
    EXPECT_EQ(fresh[4], 0);
    EXPECT_EQ(anchored[4], 2);
}

}  // namespace
