// An interrupt while a player hangs: the runner passes it on to the games in
// flight and leaves at once, whatever the answer timeout, with nothing left
// running and nothing left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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
    std::size_t in_flight;  // players started before the games hang (match also starts each once to check it)
};

const std::string HANGING = testing_support::helper("fake-player");
const std::string HOUR = "3600000";

class Interrupt : public ::testing::TestWithParam<InterruptCase> {};

TEST_P(Interrupt, StopsEveryGameAndLeavesAtOnce) {
    const InterruptCase& c = GetParam();
    TempDir dir, tmp, watch;
    testing_support::write_file(dir.file("p.sh"), "#!/bin/sh\nexec " + HANGING + " +child hang 1\n");
    std::filesystem::permissions(dir.file("p.sh"), std::filesystem::perms::owner_all);
    std::vector<std::string> argv = {"env", "TMPDIR=" + tmp.path(), "GAME_TEST_PID_FILE=" + watch.file("pids"),
                                     bin(c.args[0])};
    argv.insert(argv.end(), c.args.begin() + 1, c.args.end());

    proc::Process runner;
    std::string error;
    ASSERT_EQ(runner.start(argv, proc::SpawnOptions{dir.path(), true}, error), proc::Started::yes) << error;
    // Once a player has started its descendant, a game is in flight.
    const proc::Deadline started(20000);
    while (testing_support::pids_in(watch.file("pids")).size() < c.in_flight && started.remaining_ms() > 0) {
        ::usleep(5000);
    }
    ASSERT_GE(testing_support::pids_in(watch.file("pids")).size(), c.in_flight) << "no game started";

    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(runner.pid(), c.signal), 0);
    ASSERT_EQ(runner.wait_exit(proc::Deadline(5000)), proc::Wait::exited);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();

    EXPECT_LT(seconds, 1.0);
    EXPECT_FALSE(runner.exit().signalled);
    EXPECT_EQ(runner.exit().code, 128 + c.signal) << runner.errors().text();
    EXPECT_NE(runner.errors().text().find("întrerupt"), std::string::npos) << runner.errors().text();
    for (int pid : testing_support::pids_in(watch.file("pids"))) {
        EXPECT_TRUE(testing_support::gone_within(pid, 1000)) << "a player's descendant " << pid << " outlived the run";
    }
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
        InterruptCase{
            "match_sigint", {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh"}, SIGINT, 2},
        InterruptCase{
            "match_sigterm", {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh"}, SIGTERM, 2},
        InterruptCase{
            "match_sighup", {"match", "--deals", "4", "--jobs", "2", "--timeout-ms", HOUR, "./p.sh"}, SIGHUP, 2}),
    [](const auto& info) { return info.param.name; });

}  // namespace
