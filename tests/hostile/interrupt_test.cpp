// An interrupt while a player hangs: the runner passes it on to the games in
// flight and leaves at once, whatever the answer timeout, with nothing left
// running and nothing left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <algorithm>
#include <filesystem>

#include "common/process.h"
#include "tests/hostile/hostile.h"

namespace {

using testing_support::bin;
using testing_support::TempDir;

struct InterruptCase {
    const char* name;
    std::vector<std::string> args;  // the runner and its arguments, the player hanging at its first card
    int signal;
    std::size_t in_flight;  // games that hang at once
};

const std::string HANGING = testing_support::helper("fake-player");
const std::string HOUR = "3600000";

class Interrupt : public ::testing::TestWithParam<InterruptCase> {};

// Hanging fake players below us, and their descendants.
std::size_t hanging_players() {
    const std::vector<std::string> processes = testing_support::live_descendants();
    return static_cast<std::size_t>(std::count_if(processes.begin(), processes.end(), [](const std::string& process) {
        return process.find(HANGING + " +child hang") != std::string::npos;
    }));
}

TEST_P(Interrupt, StopsEveryGameAndLeavesAtOnce) {
    const InterruptCase& c = GetParam();
    TempDir dir, tmp;
    testing_support::write_file(dir.file("p.sh"), "#!/bin/sh\nexec " + HANGING + " +child hang 1\n");
    std::filesystem::permissions(dir.file("p.sh"), std::filesystem::perms::owner_all);
    std::vector<std::string> argv = {"env", "TMPDIR=" + tmp.path(), bin(c.args[0]), "--player-read", HANGING};
    argv.insert(argv.end(), c.args.begin() + 1, c.args.end());

    testing_support::adopt_orphans();
    proc::Process runner;
    std::string error;
    ASSERT_EQ(runner.start(argv, proc::SpawnOptions{dir.path(), true}, error), proc::Started::yes) << error;
    // Once a player has started its descendant (two hanging processes), its game is in flight.
    const proc::Deadline started(20000);
    while (hanging_players() < 2 * c.in_flight && started.remaining_ms() > 0) ::usleep(5000);
    ASSERT_GE(hanging_players(), 2 * c.in_flight) << "no game started";

    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(runner.pid(), c.signal), 0);
    ASSERT_EQ(runner.wait_exit(proc::Deadline(5000)), proc::Wait::exited);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();

    EXPECT_LT(seconds, 1.0);
    EXPECT_FALSE(runner.exit().signalled);
    EXPECT_EQ(runner.exit().code, 128 + c.signal) << runner.errors().text();
    EXPECT_NE(runner.errors().text().find("întrerupt"), std::string::npos) << runner.errors().text();
    EXPECT_EQ(testing_support::leftovers_after(1000), std::vector<std::string>{}) << "processes outlived the run";
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path())) << "the runner left files in TMPDIR";
    EXPECT_EQ(testing_support::entries_of(dir.path()), std::vector<std::string>{"p.sh"})
        << "no record of an interrupted game";
}

INSTANTIATE_TEST_SUITE_P(
    HungGame, Interrupt,
    ::testing::Values(
        InterruptCase{"referee_sigint", {"referee", "--timeout-ms", HOUR, "./p.sh"}, SIGINT, 1},
        InterruptCase{"referee_sighup", {"referee", "--timeout-ms", HOUR, "./p.sh"}, SIGHUP, 1},
        InterruptCase{"check_sigterm", {"referee", "--check", "--timeout-ms", HOUR, "./p.sh"}, SIGTERM, 1},
        InterruptCase{"match_sigint",
                      {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh", "./p.sh"},
                      SIGINT,
                      2},
        InterruptCase{"match_sigterm",
                      {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh", "./p.sh"},
                      SIGTERM,
                      2},
        InterruptCase{"match_sighup",
                      {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh", "./p.sh"},
                      SIGHUP,
                      2}),
    [](const auto& info) { return info.param.name; });

}  // namespace
