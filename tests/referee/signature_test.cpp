// Every shipped player on a fixed set of deals. The totals below are the
// players' signature: any change to a player's choices moves one of them.
// A change that is meant updates the numbers in the same commit and says why.
#include <gtest/gtest.h>

#include <unistd.h>

#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/programs.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;

// The fields of each row of match's CSV, its header left out.
std::vector<std::vector<std::string>> csv_rows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);  // header
    while (std::getline(lines, line)) {
        std::vector<std::string>& fields = rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    }
    return rows;
}

TEST(Signature, TotalScoresOverTwoHundredFixedDeals) {
#if defined(GAME_SANITIZED)
    // The signature is about choices, which the sanitizers do not change; the
    // players run under them in their own tests and in the fuzzing replays.
    GTEST_SKIP() << "a thousand instrumented games would add a minute to the sanitizer build's tests";
#endif
    TempDir dir;
    const RunResult r = run({bin("match"), "--deals", "200", "--seed", "2026", "--no-ceiling", "--csv", "m.csv"}, "",
                            dir.path(), 240000);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    std::map<std::string, int> totals, games;
    for (const std::vector<std::string>& fields : csv_rows(read_file(dir.file("m.csv")))) {
        ASSERT_EQ(fields[3], "ok") << fields[0] << " " << fields[2];
        totals[fields[2]] += std::stoi(fields[4]);
        ++games[fields[2]];
    }
    const std::map<std::string, int> signature = {{"zarvel-002", 6186}, {"ev-player", 8946},
                                                  {"ev-player-anchored", 8214}, {"tally-player", 6472},
                                                  {"suit-player", 5406}, {"sim-player", 9143}};
    EXPECT_EQ(totals, signature);
    for (const auto& [player, count] : games) EXPECT_EQ(count, 200) << player;
}

// Without players a match plays those the build made, in the build's order
// (its tables and CSV follow it), each the program built beside match.
TEST(Signature, MatchWithoutPlayersPlaysEveryShippedPlayerInOrder) {
    TempDir dir;
    const RunResult r =
        run({bin("match"), "--deals", "1", "--seed", "3", "--no-ceiling", "--quiet", "--csv", "m.csv"}, "", dir.path());
    ASSERT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> played;
    for (const std::vector<std::string>& fields : csv_rows(read_file(dir.file("m.csv")))) played.push_back(fields[2]);
    EXPECT_EQ(played, std::vector<std::string>(std::begin(game::PLAYERS), std::end(game::PLAYERS)));
    for (const std::string& player : played) EXPECT_EQ(::access(bin(player).c_str(), X_OK), 0) << bin(player);
}

class ShippedPlayer : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedPlayer, PassesEveryProtocolCheck) {
    TempDir dir;  // zarvel-002 writes its practice deck where it runs
    const RunResult r = run({bin("referee"), "--check", "--seed", "99", bin(GetParam())}, "", dir.path());
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    std::istringstream lines(r.out);
    std::string how, deal;
    std::getline(lines, how);
    std::getline(lines, deal);
    EXPECT_TRUE(how.starts_with("Jucătorul rulează ca într-un meci: ")) << how;
    EXPECT_EQ(deal, "Împărțirea: sămânța 99 (se reia cu --seed 99)");
    int checks = 0;
    for (std::string line; std::getline(lines, line); ++checks) {
        EXPECT_NE(line.find(": Reușit"), std::string::npos) << line;
    }
    EXPECT_EQ(checks, 6);
}

INSTANTIATE_TEST_SUITE_P(All, ShippedPlayer, ::testing::ValuesIn(game::PLAYERS),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

TEST(RefereeCheck, NamesEachFailedCheckWithItsReason) {
    TempDir dir;
    const RunResult r =
        run({bin("referee"), "--check", "--timeout-ms", "300", testing_support::helper("fake-player"), "stderr"}, "",
            dir.path());
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.out.find("4. nimic pe ieșirea de erori într-un joc normal: Eșuat: a scris pe ieșirea de erori: "
                         "„thinking about"),
              std::string::npos)
        << r.out;
    const RunResult late =
        run({bin("referee"), "--check", "--timeout-ms", "300", testing_support::helper("fake-player"), "linger"}, "",
            dir.path());
    EXPECT_EQ(late.exit_code, 1);
    EXPECT_NE(late.out.find("3. după al 20-lea răspuns se oprește cu starea 0, fără alt text: Eșuat: Jucătorul nu "
                            "s-a oprit în 300 ms"),
              std::string::npos)
        << late.out;
    EXPECT_NE(late.out.find("1. primul rând dă fiecărei coloane o carte: Reușit"), std::string::npos);
}

TEST(RefereeCheck, AnotherLegalFirstRoundIsANoteAndTheDealIsTold) {
    TempDir dir;
    const RunResult r =
        run({bin("referee"), "--check", testing_support::helper("fake-player"), "reversed"}, "", dir.path());
    EXPECT_EQ(r.exit_code, 0) << r.out;
    EXPECT_NE(r.out.find("1. primul rând dă fiecărei coloane o carte: Notă: răspunsurile 4, 3, 2, 1,"),
              std::string::npos)
        << r.out;
    // No seed given: a fresh one, told so that the deal can be played again.
    EXPECT_NE(r.out.find("\nÎmpărțirea: sămânța "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(se reia cu --seed "), std::string::npos) << r.out;
}

}  // namespace
