// The programs' costs as exact instruction counts: callgrind runs each
// whole process once (scripts/instructions.sh, as `make bench` shows them)
// and each count must stay within its target. Counts of the sanitizer build
// mean nothing, and without valgrind there are none.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "tests/support/support.h"

namespace {

constexpr const char* DEALS = "10";

const struct {
    const char* line;
    long long limit;
} TARGETS[] = {
    {"ceilscore, fixed deck", 8'000'000},
    {"suit-player, mean game of seeded deals 1-10", 200'000},
    {"tally-player, mean game of seeded deals 1-10", 200'000},
    {"zarvel-002, mean game of seeded deals 1-10", 8'000'000},
    {"ev-player, mean game of seeded deals 1-10", 4'000'000},
    {"ev-player-anchored, mean game of seeded deals 1-10", 4'000'000},
    {"sim-player, mean game of seeded deals 1-10", 9'000'000},
};

// Each line of the script's table: its label, then the count.
std::map<std::string, long long> counts_of(const std::string& table) {
    std::map<std::string, long long> counts;
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t last_blank = line.find_last_of(' ');
        const std::size_t label_end = line.find_last_not_of(' ', last_blank);
        if (line.starts_with("==") || last_blank == std::string::npos || label_end == std::string::npos) continue;
        counts[line.substr(0, label_end + 1)] = std::stoll(line.substr(last_blank + 1));
    }
    return counts;
}

TEST(Instructions, WholeRunsStayWithinTheirTargets) {
#if defined(GAME_SANITIZED)
    GTEST_SKIP() << "instruction counts of the sanitizer build mean nothing";
#endif
    const testing_support::RunResult r = testing_support::run(
        {std::string(GAME_SOURCE_DIR) + "/scripts/instructions.sh", std::string(GAME_BIN_DIR) + "/..", DEALS}, "", "",
        120000);
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    if (r.out.starts_with("valgrind is not installed")) GTEST_SKIP() << r.out;
    const std::map<std::string, long long> counts = counts_of(r.out);
    for (const auto& target : TARGETS) {
        const auto count = counts.find(target.line);
        ASSERT_NE(count, counts.end()) << target.line << " missing in\n" << r.out;
        EXPECT_GT(count->second, 0) << target.line;
        EXPECT_LE(count->second, target.limit) << target.line;
    }
}

}  // namespace
