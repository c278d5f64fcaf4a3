// The referee program as users run it: options, deck files, records, exit statuses.
#include <gtest/gtest.h>

#include "common/record.h"
#include "referee/cli.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::write_file;

RunResult referee(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), bin("referee"));
    return run(args, "", dir.path());
}

TEST(RefereeProgram, PlaysAGameAndWritesTheRecord) {
    TempDir dir;
    const RunResult r = referee(dir, {"--seed", "11", testing_support::helper("fake-player")});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    ASSERT_TRUE(read) << read.error();
    const game::GameRecord& record = *read;
    EXPECT_EQ(r.out, "Scor total: " + std::to_string(record.total) + "\n");
    EXPECT_EQ(r.err, "");  // a given seed is not reported
}

TEST(RefereeProgram, ReportsAFreshSeedThatReplaysTheGame) {
    TempDir dir;
    const RunResult first =
        referee(dir, {"--save-deck", "a.txt", "--record", "a.dat", testing_support::helper("fake-player")});
    ASSERT_EQ(first.exit_code, 0) << first.err;
    const std::string prefix = "referee: sămânța ";
    ASSERT_EQ(first.err.rfind(prefix, 0), 0u) << first.err;
    const std::string seed = first.err.substr(prefix.size(), first.err.find(' ', prefix.size()) - prefix.size());
    const RunResult again = referee(
        dir, {"--seed", seed, "--save-deck", "b.txt", "--record", "b.dat", testing_support::helper("fake-player")});
    ASSERT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(read_file(dir.file("a.txt")), read_file(dir.file("b.txt")));
    EXPECT_EQ(read_file(dir.file("a.dat")), read_file(dir.file("b.dat")));
}

TEST(RefereeProgram, SavedDeckPlaysTheSameGame) {
    TempDir dir;
    ASSERT_EQ(referee(dir, {"--seed", "5", "--save-deck", "d.txt", "--record", "1.dat", bin("suit-player")}).exit_code,
              0);
    ASSERT_EQ(referee(dir, {"--deck", "d.txt", "--record", "2.dat", bin("suit-player")}).exit_code, 0);
    EXPECT_EQ(read_file(dir.file("1.dat")), read_file(dir.file("2.dat")));
}

TEST(RefereeProgram, PlayerFaultWritesTheErrorFormAndExitsOne) {
    TempDir dir;
    const RunResult r = referee(dir, {"--seed", "3", testing_support::helper("fake-player"), "answer", "6", "9\n"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    const std::string message = "Răspuns invalid la cartea 6";
    EXPECT_NE(r.err.find("referee: " + message), std::string::npos) << r.err;
    const std::string record = read_file(dir.file("game.dat"));
    EXPECT_EQ(record.rfind("1\n" + message, 0), 0u) << record;
}

TEST(RefereeProgram, PlayersStandardErrorPassesThrough) {
    TempDir dir;
    const RunResult r = referee(dir, {"--seed", "3", testing_support::helper("fake-player"), "stderr"});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.err.find("thinking about"), std::string::npos);
}

TEST(RefereeProgram, TimeoutBoundsEachAnswer) {
    TempDir dir;
    const RunResult r =
        referee(dir, {"--seed", "3", "--timeout-ms", "200", testing_support::helper("fake-player"), "hang", "2"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("Niciun răspuns în 200 ms la cartea 2"), std::string::npos) << r.err;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string error_part;
};

class RefereeUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(RefereeUsage, ExitsTwoWithoutWritingARecord) {
    TempDir dir;
    write_file(dir.file("short.txt"), "1 2 3");
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args) {
        if (a == "PLAYER") a = testing_support::helper("fake-player");
    }
    const RunResult r = referee(dir, args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
    EXPECT_EQ(read_file(dir.file("game.dat")), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefereeUsage,
    ::testing::Values(
        UsageCase{"no_player", {}, "lipsește jucătorul"},
        UsageCase{"unknown_option", {"--fast", "PLAYER"}, "opțiune necunoscută: --fast"},
        UsageCase{"missing_value", {"--seed"}, "lipsește valoarea pentru --seed"},
        UsageCase{"seed_not_a_number", {"--seed", "x1", "PLAYER"}, "sămânță invalidă: x1"},
        UsageCase{"zero_timeout", {"--timeout-ms", "0", "PLAYER"}, "durată invalidă"},
        UsageCase{"deck_and_seed", {"--deck", "short.txt", "--seed", "1", "PLAYER"}, "nu merg împreună"},
        UsageCase{"short_deck", {"--deck", "short.txt", "PLAYER"}, "short.txt: are doar 3 numere"},
        UsageCase{"missing_deck", {"--deck", "none.txt", "PLAYER"}, "none.txt: nu se poate deschide"},
        UsageCase{"player_missing", {"--seed", "1", "./no-such-player"}, "/no-such-player: nu poate fi pornit"},
        UsageCase{"sandbox_mode_unknown", {"--sandbox", "strict", "PLAYER"},
                  "valoare invalidă pentru --sandbox (auto, require sau off): strict"},
        UsageCase{"player_memory_not_a_number", {"--player-memory", "1G", "PLAYER"},
                  "valoare invalidă pentru --player-memory (0..1073741824): 1G"},
        UsageCase{"player_read_missing", {"--player-read", "no/such/data", "PLAYER"}, "--player-read: nu există"},
        UsageCase{"unwritable_deck", {"--seed", "1", "--save-deck", "no/dir/d.txt", "PLAYER"}, "nu se poate scrie"}),
    [](const auto& info) { return info.param.name; });

TEST(RefereeProgram, RecordThatCannotBeWrittenIsAnError) {
    TempDir dir;
    const RunResult r =
        referee(dir, {"--seed", "1", "--record", "no/dir/game.dat", testing_support::helper("fake-player")});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("no/dir/game.dat: nu se poate scrie"), std::string::npos) << r.err;
}

// Numbers on the command lines of the referee and match: decimal or 0x hex,
// the whole 64-bit range, nothing around them.
struct NumberCase {
    const char* text;
    std::uint64_t min, max;
    bool taken;
    std::uint64_t value = 0;
};

TEST(NumberIn, TakesWholeNumbersInRangeOnly) {
    const NumberCase cases[] = {
        {.text = "0", .min = 0, .max = UINT64_MAX, .taken = true, .value = 0},
        {.text = "18446744073709551615", .min = 0, .max = UINT64_MAX, .taken = true, .value = UINT64_MAX},
        {.text = "0xFFFFFFFFFFFFFFFF", .min = 0, .max = UINT64_MAX, .taken = true, .value = UINT64_MAX},
        {.text = "0x1f", .min = 0, .max = 100, .taken = true, .value = 31},
        {.text = "18446744073709551616", .min = 0, .max = UINT64_MAX, .taken = false},
        {.text = "0x10000000000000000", .min = 0, .max = UINT64_MAX, .taken = false},
        {.text = "0x", .min = 0, .max = 10, .taken = false},
        {.text = "0x1g", .min = 0, .max = 100, .taken = false},
        {.text = "", .min = 0, .max = 10, .taken = false},
        {.text = "-1", .min = 0, .max = 10, .taken = false},
        {.text = "+1", .min = 0, .max = 10, .taken = false},
        {.text = " 1", .min = 0, .max = 10, .taken = false},
        {.text = "11", .min = 0, .max = 10, .taken = false},
        {.text = "0", .min = 1, .max = 10, .taken = false},
    };
    for (const NumberCase& c : cases) {
        const auto parsed = cli::number_in("--n", c.text, c.min, c.max);
        ASSERT_EQ(static_cast<bool>(parsed), c.taken) << c.text;
        if (c.taken) {
            EXPECT_EQ(*parsed, c.value) << c.text;
        } else {
            EXPECT_EQ(parsed.error(), "valoare invalidă pentru --n (" + std::to_string(c.min) + ".." +
                                          std::to_string(c.max) + "): " + c.text);
        }
    }
}

}  // namespace
