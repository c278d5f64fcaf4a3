// A match larger than one run: played as shards through GNU parallel and
// merged, killed and resumed, and the CSVs that merging must refuse.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "common/process.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::without_times;

const std::vector<std::string> MATCH = {"--seed", "15", "suit-player", "tally-player"};

std::vector<std::string> match_of(int deals, std::vector<std::string> more) {
    std::vector<std::string> args = {bin("match"), "--deals", std::to_string(deals)};
    args.insert(args.end(), MATCH.begin(), MATCH.end());
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Shards, FourShardsThroughGnuParallelMergeIntoTheWholeMatch) {
    TempDir dir;
    const RunResult whole = run(match_of(60, {"--csv", "whole.csv", "--json", "whole.json"}), "", dir.path(), 120000);
    ASSERT_EQ(whole.exit_code, 0) << whole.err;
    // Each shard on a core of this machine, as the README shows it.
    std::vector<std::string> shards = {"parallel", "--will-cite", "--halt", "now,fail=1"};
    const std::vector<std::string> one = match_of(60, {"--shard", "{}/4", "--csv", "shard-{}.csv"});
    shards.insert(shards.end(), one.begin(), one.end());
    shards.insert(shards.end(), {":::", "1", "2", "3", "4"});
    const RunResult parts = run(shards, "", dir.path(), 120000);
    ASSERT_EQ(parts.exit_code, 0) << parts.err;
    const RunResult merged =
        run({bin("match"), "--merge", "shard-1.csv", "shard-2.csv", "shard-3.csv", "shard-4.csv", "--csv", "merged.csv",
             "--json", "merged.json"},
            "", dir.path());
    ASSERT_EQ(merged.exit_code, 0) << merged.err;
    EXPECT_EQ(without_times(read_file(dir.file("merged.csv"))), without_times(read_file(dir.file("whole.csv"))));
    EXPECT_EQ(testing_support::results_without_times(merged.out), testing_support::results_without_times(whole.out));
    // The isolation is known of a match played here, not of CSVs joined.
    const auto settings_of = [&](const char* name) { return nlohmann::json::parse(read_file(dir.file(name)))["settings"]; };
    EXPECT_EQ(settings_of("whole.json")["sandbox"]["mode"], "auto");
    EXPECT_TRUE(settings_of("merged.json")["sandbox"].is_null());
    // Each shard played its own quarter: deal i in shard i mod 4 + 1.
    const auto rows = testing_support::csv_rows(read_file(dir.file("shard-3.csv")));
    ASSERT_EQ(rows.size(), 1u + 15 * 2);
    for (std::size_t r = 1; r < rows.size(); ++r) EXPECT_EQ((std::stoi(rows[r][0]) - 1) % 4, 2) << rows[r][0];
}

// Enough for the kill to come well before the end, not more: the sanitizer
// build plays them ten times slower.
constexpr int DEALS_KILLED = 100;

TEST(Shards, AMatchKilledPartWayIsResumedIntoTheWholeMatch) {
    TempDir dir;
    const RunResult whole = run(match_of(DEALS_KILLED, {"--csv", "whole.csv"}), "", dir.path(), 120000);
    ASSERT_EQ(whole.exit_code, 0) << whole.err;

    proc::Process killed;
    std::string error;
    ASSERT_EQ(killed.start(match_of(DEALS_KILLED, {"--jobs", "1", "--csv", "m.csv"}),
                           proc::SpawnOptions{dir.path(), true}, error),
              proc::Started::yes)
        << error;
    // Killed at once, with no warning, once a few deals are in its CSV.
    const proc::Deadline deadline(20000);
    while (testing_support::csv_rows(read_file(dir.file("m.csv"))).size() < 21 && deadline.remaining_ms() > 0) {
        ::usleep(2000);
    }
    ASSERT_EQ(::kill(killed.pid(), SIGKILL), 0);
    ASSERT_EQ(killed.wait_exit(proc::Deadline(5000)), proc::Wait::exited);
    const std::size_t kept = testing_support::csv_rows(read_file(dir.file("m.csv"))).size();
    ASSERT_LT(kept, 1u + DEALS_KILLED * 2) << "killed too late to show anything";
    // A line torn by the kill is dropped and its deal played again.
    {
        std::FILE* file = std::fopen(dir.file("m.csv").c_str(), "a");
        std::fputs("99,12,suit-pl", file);
        std::fclose(file);
    }
    // The CSV alone says which match it is, and who plays it.
    const RunResult resumed = run({bin("match"), "--resume", "m.csv"}, "", dir.path(), 120000);
    ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
    EXPECT_NE(resumed.err.find("m.csv: ultima împărțire, neîncheiată, se joacă din nou"), std::string::npos)
        << resumed.err;
    EXPECT_EQ(without_times(read_file(dir.file("m.csv"))), without_times(read_file(dir.file("whole.csv"))));
    EXPECT_EQ(testing_support::results_without_times(resumed.out), testing_support::results_without_times(whole.out));
}

// A match interrupted by Ctrl-C once its CSV holds `lines` lines (the header
// included), a while after: its exit status, standard output and error.
struct Interrupted {
    int code = 0;
    std::string out, err;
};

Interrupted interrupted(const TempDir& dir, const std::vector<std::string>& args, std::size_t lines) {
    proc::Process runner;
    std::string error;
    EXPECT_EQ(runner.start(args, proc::SpawnOptions{dir.path(), true}, error), proc::Started::yes) << error;
    const proc::Deadline deadline(20000);
    while (testing_support::csv_rows(read_file(dir.file("m.csv"))).size() < lines && deadline.remaining_ms() > 0) {
        ::usleep(2000);
    }
    ::usleep(200000);
    EXPECT_EQ(::kill(runner.pid(), SIGINT), 0);
    Interrupted stopped;
    while (runner.read(stopped.out, proc::Deadline(5000)) == proc::Wait::data) {
    }
    EXPECT_EQ(runner.wait_exit(proc::Deadline(5000)), proc::Wait::exited);
    stopped.code = runner.exit().code;
    stopped.err = runner.errors().text();
    return stopped;
}

TEST(Shards, AnInterruptShowsTheDealsFinishedSoFar) {
    TempDir dir;
    // The player hangs on the first deal that starts with a heart; the deals before it are finished.
    const std::string hangs = "h=" + testing_support::helper("fake-player") + " heart-hangs";
    const Interrupted stopped = interrupted(dir,
                                            {bin("match"), "--deals", "40", "--seed", "15", "--jobs", "1",
                                             "--timeout-ms", "3600000", "--csv", "m.csv", hangs, "suit-player"},
                                            3);
    EXPECT_EQ(stopped.code, 130);
    const std::size_t finished = (testing_support::csv_rows(read_file(dir.file("m.csv"))).size() - 1) / 2;
    ASSERT_GT(finished, 0u);
    const std::string standings =
        "Jucătorii, după scorul mediu pe " + std::to_string(finished) + " din 40 de împărțiri:";
    EXPECT_NE(stopped.out.find(standings), std::string::npos) << stopped.out;
    EXPECT_NE(stopped.err.find("întrerupt; se continuă cu: match --resume m.csv\n"), std::string::npos) << stopped.err;
}

// Before its first deal is finished, the CSV holds its header alone and names
// no match: there is nothing to resume, and the match says to start again.
TEST(Shards, AMatchInterruptedBeforeItsFirstDealIsStartedAgain) {
    TempDir dir;
    const std::string hangs = "h=" + testing_support::helper("fake-player") + " hang 1";
    const Interrupted stopped = interrupted(
        dir, {bin("match"), "--deals", "2", "--seed", "15", "--timeout-ms", "3600000", "--csv", "m.csv", hangs}, 1);
    EXPECT_EQ(stopped.code, 130);
    EXPECT_NE(stopped.err.find("întrerupt; nicio împărțire nu s-a încheiat: meciul se pornește din nou, cu aceeași "
                               "comandă\n"),
              std::string::npos)
        << stopped.err;
    const RunResult resumed = run({bin("match"), "--resume", "m.csv"}, "", dir.path());
    EXPECT_EQ(resumed.exit_code, 2);
    EXPECT_EQ(resumed.err, "match: m.csv, rândul 2: lipsește: fără niciun rând, fișierul nu spune ce meci este\n");
}

// A stopped match is resumed from its CSV, with its players named again in any
// order or not at all; players that are not the file's are refused.
TEST(Shards, AResumedMatchTakesItsPlayersFromItsCsv) {
    TempDir dir;
    ASSERT_EQ(run(match_of(6, {"--csv", "whole.csv", "--quiet"}), "", dir.path()).exit_code, 0);
    const std::string whole = read_file(dir.file("whole.csv"));
    std::size_t end = 0;
    for (int line = 0; line < 5; ++line) end = whole.find('\n', end) + 1;
    const std::string stopped = whole.substr(0, end);  // the header and the first two deals
    const struct {
        std::vector<std::string> players;
        int exit_code;
        const char* error;
    } rows[] = {
        {{"tally-player", "suit-player"}, 0, ""},
        {{"suit-player", "tally-player=/bin/true"}, 2, "m.csv: jucătorul tally-player are în fișier altă comandă"},
        {{"suit-player", "ev-player"}, 2, "m.csv este al altui meci: jucătorii suit-player, tally-player"},
    };
    for (const auto& row : rows) {
        testing_support::write_file(dir.file("m.csv"), stopped);
        std::vector<std::string> resume = {bin("match"), "--resume", "m.csv", "--quiet"};
        resume.insert(resume.end(), row.players.begin(), row.players.end());
        const RunResult resumed = run(resume, "", dir.path());
        EXPECT_EQ(resumed.exit_code, row.exit_code) << resumed.err;
        if (row.exit_code == 0) {
            EXPECT_EQ(without_times(read_file(dir.file("m.csv"))), without_times(whole));
        } else {
            EXPECT_EQ(resumed.err, std::string("match: ") + row.error + "\n");
            EXPECT_EQ(read_file(dir.file("m.csv")), stopped) << "a refused resume leaves the file as it was";
        }
    }
}

// The CSVs of shards 1 and 2 of 3 of a small match, and of another match.
struct Parts {
    TempDir dir;
    Parts() {
        for (const char* shard : {"1", "2"}) {
            const RunResult r = run(match_of(9, {"--shard", std::string(shard) + "/3", "--csv",
                                                 std::string("s") + shard + ".csv"}),
                                    "", dir.path());
            EXPECT_EQ(r.exit_code, 0) << r.err;
        }
        const RunResult other = run({bin("match"), "--deals", "9", "--seed", "16", "--quiet", "--shard", "3/3", "--csv",
                                     "other.csv", "suit-player", "tally-player"},
                                    "", dir.path());
        EXPECT_EQ(other.exit_code, 0) << other.err;
    }
    RunResult merge(std::vector<std::string> files) const {
        files.insert(files.begin(), {bin("match"), "--merge"});
        return run(files, "", dir.path());
    }
};

TEST(Shards, MergeRefusesWhatIsNotOneWholeMatch) {
    const Parts parts;
    const struct {
        std::vector<std::string> files;
        std::string error;
    } refused[] = {
        {{"s1.csv", "s2.csv"}, "match: lipsesc 3 împărțiri: 3, 6, 9 (--allow-missing arată ce este)"},
        {{"s1.csv", "s2.csv", "s1.csv"}, "match: s1.csv, rândul 2: împărțirea 1 este și în s1.csv, rândul 2\n"},
        {{"s1.csv", "s2.csv", "other.csv"}, "match: other.csv, rândul 2: este din alt meci decât s1.csv: sămânța 16"},
        {{"s1.csv", "missing.csv"}, "match: missing.csv: nu se poate deschide: No such file or directory"},
    };
    for (const auto& c : refused) {
        const RunResult r = parts.merge(c.files);
        EXPECT_EQ(r.exit_code, 2) << c.error;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.error, 0), 0u) << r.err;
    }
    const RunResult partial = parts.merge({"--allow-missing", "s1.csv", "s2.csv"});
    EXPECT_EQ(partial.exit_code, 0) << partial.err;
    EXPECT_NE(partial.err.find("lipsesc 3 împărțiri: 3, 6, 9"), std::string::npos) << partial.err;
    EXPECT_NE(partial.out.find("pe 6 din 9 împărțiri"), std::string::npos) << partial.out;
}

TEST(Shards, ResumeRefusesTheFileOfAnotherMatchAndLeavesIt) {
    const Parts parts;
    const std::string before = read_file(parts.dir.file("s1.csv"));
    for (const std::vector<std::string>& other : {std::vector<std::string>{"--seed", "99"},
                                                  std::vector<std::string>{"--deals", "10"},
                                                  std::vector<std::string>{"--shard", "2/3"}}) {
        std::vector<std::string> args = {bin("match"), "--resume", "s1.csv", "suit-player", "tally-player"};
        args.insert(args.end(), other.begin(), other.end());
        const RunResult r = run(args, "", parts.dir.path());
        EXPECT_EQ(r.exit_code, 2) << other[0];
        EXPECT_EQ(r.err.rfind("match: s1.csv este al altui meci: ", 0), 0u) << r.err;
    }
    const RunResult players = run({bin("match"), "--resume", "s1.csv", "suit-player"}, "", parts.dir.path());
    EXPECT_EQ(players.err, "match: s1.csv este al altui meci: jucătorii suit-player, tally-player\n");
    EXPECT_EQ(read_file(parts.dir.file("s1.csv")), before);
}

TEST(Shards, ATornLastLineIsDroppedAndItsDealMissing) {
    const Parts parts;
    const std::string text = read_file(parts.dir.file("s2.csv"));
    testing_support::write_file(parts.dir.file("torn.csv"), text.substr(0, text.size() - 20));
    const RunResult r = parts.merge({"--allow-missing", "s1.csv", "torn.csv"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.err.find("torn.csv: o împărțire neîncheiată a fost lăsată deoparte"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("lipsesc 4 împărțiri: 3, 6, 8–9"), std::string::npos) << r.err;
}

}  // namespace
