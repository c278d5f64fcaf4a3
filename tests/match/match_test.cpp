// The match program end to end, with players that are fast and predictable.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/resource.h>

#include "common/record.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;

using testing_support::csv_rows;
using testing_support::without_times;

// The fake player in `mode`, as a program of its own called `name` in the directory.
// The fake player in a mode, named.
std::string fake_player(const std::string& name, const std::string& mode) {
    return name + "=" + testing_support::helper("fake-player") + " " + mode;
}

RunResult match(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), bin("match"));
    return run(args, "", dir.path(), 120000);
}

TEST(Match, SameSeedSameResultsWhateverTheJobs) {
    TempDir dir;
    const std::vector<std::string> common = {"--deals", "12", "--seed", "31", "--no-ceiling", "suit-player",
                                             testing_support::helper("fake-player")};
    auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), common.begin(), common.end());
        return extra;
    };
    const RunResult one = match(dir, with({"--jobs", "1", "--csv", "one.csv"}));
    const RunResult two = match(dir, with({"--jobs", "2", "--csv", "two.csv"}));
    const RunResult three = match(dir, with({"--jobs", "3", "--csv", "three.csv"}));
    ASSERT_EQ(one.exit_code, 0) << one.err;
    ASSERT_EQ(two.exit_code, 0) << two.err;
    const std::string reference = without_times(read_file(dir.file("one.csv")));
    EXPECT_EQ(csv_rows(reference).size(), 1u + 12 * 2);
    EXPECT_EQ(without_times(read_file(dir.file("two.csv"))), reference);
    EXPECT_EQ(without_times(read_file(dir.file("three.csv"))), reference);
}

// A fresh seed is told on standard output above the tables, with the command
// that plays the same match again: a saved output is enough to replay it.
TEST(Match, StandardOutputHoldsTheSeedAndTheCommandThatReplaysTheMatch) {
    TempDir dir;
    const RunResult first = match(dir, {"--deals", "3", "--no-ceiling", "--csv", "first.csv", "suit-player",
                                        "odd=" + bin("tally-player")});
    ASSERT_EQ(first.exit_code, 0) << first.err;
    std::istringstream lines(first.out);
    std::string seed_line, replay_line;
    std::getline(lines, seed_line);
    std::getline(lines, replay_line);
    const std::string seed = csv_rows(read_file(dir.file("first.csv")))[1][12];
    EXPECT_EQ(seed_line, "Sămânța meciului: " + seed);
    const std::string replay = "Se reia cu: ";
    ASSERT_TRUE(replay_line.starts_with(replay + "match --seed " + seed + " ")) << replay_line;
    const RunResult again = run({"/bin/sh", "-c", "PATH=" + std::string(GAME_BIN_DIR) + ":$PATH " +
                                                      replay_line.substr(replay.size()) + " --csv again.csv --quiet"},
                                "", dir.path(), 120000);
    ASSERT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(without_times(read_file(dir.file("again.csv"))), without_times(read_file(dir.file("first.csv"))));
}

TEST(Match, EveryGameScoresAsTheRefereeAloneScoresItsDeal) {
    TempDir dir;
    ASSERT_EQ(match(dir, {"--deals", "5", "--seed", "8", "--no-ceiling", "--csv", "m.csv", "suit-player"}).exit_code,
              0);
    const auto rows = csv_rows(read_file(dir.file("m.csv")));
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const RunResult alone = run({bin("referee"), "--seed", rows[r][1], bin("suit-player")}, "", dir.path());
        EXPECT_EQ(alone.out, "Scor total: " + rows[r][4] + "\n") << "deal " << rows[r][0];
    }
}

TEST(Match, CeilingOfEveryDealIsAtLeastEveryScore) {
    TempDir dir;
    const RunResult r = match(dir, {"--deals", "4", "--seed", "6", "--csv", "m.csv", "--records", "records",
                                    "suit-player", "tally-player"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const auto rows = csv_rows(read_file(dir.file("m.csv")));
    ASSERT_EQ(rows.size(), 9u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_FALSE(rows[i][9].empty());
        EXPECT_GE(std::stoi(rows[i][9]), std::stoi(rows[i][4])) << "deal " << rows[i][0];
    }
    // The ceiling's record is kept beside the players' and agrees with the CSV.
    const game::Result<game::GameRecord> ceiling = game::read_record(dir.file("records/deal-0001-ceilscore.dat"));
    ASSERT_TRUE(ceiling) << ceiling.error();
    EXPECT_EQ(std::to_string(ceiling->total), rows[1][9]);
    EXPECT_NE(r.out.find("plafon (ceilscore)"), std::string::npos);
}

TEST(Match, PlayerThatFaultsOnSomeDeals) {
    TempDir dir;
    const std::string wrapper = fake_player("hearts.sh", "heart-faults");
    const RunResult r = match(dir, {"--deals", "24", "--seed", "2", "--no-ceiling", "--csv", "m.csv", "--records",
                                    "records", wrapper, "suit-player"});
    EXPECT_EQ(r.exit_code, 1) << r.err;
    int hearts = 0, faults = 0;
    for (const auto& row : csv_rows(read_file(dir.file("m.csv")))) {
        if (row[2] != "hearts.sh") continue;
        faults += row[3] == "raspuns-invalid";
        EXPECT_EQ(row[4].empty(), row[3] != "ok");
        char name[64];
        std::snprintf(name, sizeof name, "records/deal-%04d-hearts.sh.dat", std::stoi(row[0]));
        const game::Result<game::GameRecord> record = game::read_record(dir.file(name));
        ASSERT_TRUE(record) << record.error();
        EXPECT_EQ(record->status != 0, row[3] != "ok");
        // The deal's first card is a heart exactly when the player faulted.
        const RunResult alone =
            run({bin("referee"), "--seed", row[1], "--record", "one.dat", testing_support::helper("fake-player")}, "",
                dir.path());
        const game::Result<game::GameRecord> played = game::read_record(dir.file("one.dat"));
        ASSERT_TRUE(played) << played.error();
        hearts += played->cards[0].card.suit == 2;
    }
    EXPECT_GT(faults, 0);
    EXPECT_EQ(faults, hearts);
    EXPECT_NE(r.out.find("hearts.sh: " + std::to_string(faults) + " × raspuns-invalid"), std::string::npos) << r.out;
}

TEST(Match, GamesRunInScratchDirectoriesThatAreRemoved) {
    TempDir dir, scratch;
    const std::string wrapper = fake_player("scribble.sh", "scribble");
    ::setenv("TMPDIR", scratch.path().c_str(), 1);
    const RunResult r = match(dir, {"--deals", "6", "--seed", "4", "--jobs", "2", "--no-ceiling", wrapper});
    ::unsetenv("TMPDIR");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("data.in")));
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

struct BadStart {
    const char* name;
    std::vector<std::string> args;
    std::string error_part;
};

class MatchRefuses : public ::testing::TestWithParam<BadStart> {};

TEST_P(MatchRefuses, BeforeAnyGameWithStatusTwo) {
    TempDir dir;
    testing_support::write_file(dir.file("not-a-program"), "just text");
    std::filesystem::permissions(dir.file("not-a-program"), std::filesystem::perms::owner_all);
    std::vector<std::string> args = GetParam().args;
    args.insert(args.begin(), {"--csv", "m.csv", "--no-ceiling"});
    const RunResult r = match(dir, args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("m.csv")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchRefuses,
    ::testing::Values(BadStart{"missing_player", {"./nobody"}, "nobody: nu poate fi pornit: nu există"},
                      BadStart{"directory_as_player", {"/tmp"}, "/tmp: nu poate fi pornit: este un director"},
                      BadStart{"not_executable_format", {"./not-a-program"}, "not-a-program: nu poate fi pornit"},
                      BadStart{"unknown_option", {"--fast"}, "opțiune necunoscută: --fast"},
                      BadStart{"zero_deals", {"--deals", "0"}, "valoare invalidă pentru --deals"},
                      BadStart{"jobs_not_a_number", {"--jobs", "two"}, "valoare invalidă pentru --jobs"}),
    [](const auto& info) { return info.param.name; });

// A tiny well-formedness check: every element closed in order, attributes quoted.
bool well_formed(const std::string& xml) {
    std::vector<std::string> open;
    for (std::size_t i = xml.find('<'); i != std::string::npos; i = xml.find('<', i + 1)) {
        const std::size_t end = xml.find('>', i);
        if (end == std::string::npos) return false;
        const std::string tag = xml.substr(i + 1, end - i - 1);
        if (tag.starts_with("?")) continue;
        if (std::count(tag.begin(), tag.end(), '"') % 2 != 0) return false;
        const std::string name =
            tag.substr(tag.starts_with("/") ? 1 : 0, tag.find_first_of(" />", 1) - (tag.starts_with("/") ? 1 : 0));
        if (tag.starts_with("/")) {
            if (open.empty() || open.back() != name) return false;
            open.pop_back();
        } else if (!tag.ends_with("/")) {
            open.push_back(name);
        }
    }
    return open.empty();
}

TEST(Match, SvgIsWellFormed) {
    TempDir dir;
    ASSERT_EQ(match(dir, {"--deals", "8", "--seed", "1", "--no-ceiling", "--svg", "m.svg", "suit-player",
                          testing_support::helper("fake-player")}).exit_code, 0);
    const std::string svg = read_file(dir.file("m.svg"));
    EXPECT_TRUE(well_formed(svg)) << svg;
    EXPECT_NE(svg.find(">suit-player</text>"), std::string::npos);
    EXPECT_NE(svg.find(">fake-player</text>"), std::string::npos);
    EXPECT_FALSE(well_formed("<svg><g></svg></g>"));
}

TEST(Match, AFloodOfStandardErrorCostsNoMemory) {
    TempDir dir;
    const std::string wrapper = fake_player("flood.sh", "flood");
    // After the first deal, two games at once write to their standard error as fast as they can for a
    // whole second each.
    const RunResult r = match(dir, {"--deals", "3", "--jobs", "2", "--seed", "1", "--timeout-ms", "1000",
                                    "--no-ceiling", "--keep-going", wrapper});
    EXPECT_EQ(r.exit_code, 1) << r.err;
    EXPECT_NE(r.out.find("flood.sh: 3 × timp-depasit"), std::string::npos) << r.out;
#if !defined(GAME_SANITIZED)
    // The runner is the largest of our waited-for children; kept whole, the flood would take gigabytes.
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 50 * 1024) << "peak kilobytes";
#endif
}

TEST(Match, ProgressAndTablesShowUnlessQuiet) {
    TempDir dir;
    const std::vector<std::string> args = {"--deals", "3", "--seed", "4", "--no-ceiling", "suit-player"};
    const RunResult shown = match(dir, args);
    ASSERT_EQ(shown.exit_code, 0) << shown.err;
    // Standard error is a pipe here, not a terminal: a plain line, the last one at the end.
    EXPECT_NE(shown.err.find("\n3 din 3 împărțiri (100.0%), "), std::string::npos) << shown.err;
    EXPECT_NE(shown.out.find("\nTimp: "), std::string::npos) << shown.out;
    std::vector<std::string> quiet = args;
    quiet.insert(quiet.begin(), "--quiet");
    const RunResult hidden = match(dir, quiet);
    EXPECT_EQ(hidden.exit_code, 0) << hidden.err;
    // Quiet is quiet: no progress, no announcement, no tables.
    EXPECT_EQ(hidden.err, "");
    EXPECT_EQ(hidden.out, "");
}

// An output that leads to our own standard output, by "-" or by any path, is
// written there after the tables: redirected to a file, nothing is lost.
TEST(Match, OutputsOnStandardOutputKeepEveryRowAndTheTables) {
    TempDir dir;
    const std::string played = " --deals 3 --seed 5 --no-ceiling suit-player tally-player";
    for (const std::string csv : {"/dev/stdout", "-", "/proc/self/fd/1", "out.txt"}) {
        const RunResult r = run({"sh", "-c", bin("match") + " --csv " + csv + " --json - " + played + " > out.txt"}, "",
                                dir.path(), 120000);
        ASSERT_EQ(r.exit_code, 0) << csv << ": " << r.err;
        const std::string out = read_file(dir.file("out.txt"));
        EXPECT_NE(out.find("Jucătorii, după scorul mediu pe 3 împărțiri:"), std::string::npos) << csv << ": " << out;
        const std::size_t header = out.find("deal,deck_seed,player");
        ASSERT_NE(header, std::string::npos) << csv << ": " << out;
        EXPECT_EQ(csv_rows(out.substr(header, out.find("\n{") + 1 - header)).size(), 1u + 3 * 2) << csv;
        EXPECT_NE(out.find("\"settings\""), std::string::npos) << csv;
    }
}

// The results page of a fixed match, as a person sees it in an 80-column
// terminal: sorted, marked, with a named player that faults.
TEST(Match, ResultsPageOfAFixedMatch) {
    TempDir dir;
    const RunResult r = match(dir, {"--deals", "20", "--seed", "2026", "zarvel-002", "ev-player",
                                    "ev-player-anchored", "tally-player", "suit-player",
                                    "inimi=" + testing_support::helper("fake-player") + " heart-faults"});
    EXPECT_EQ(r.exit_code, 1) << r.err;
    testing_support::expect_golden("match/tables.txt", testing_support::results_without_times(r.out));
}

}  // namespace
