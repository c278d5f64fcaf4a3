// --decide: the confidence sequence's error rate holds under continuous
// watching, where a t-interval looked at after every deal does not; the
// decisions do not depend on the order deals finish in; and a match stops
// once every pair is decided, and is resumed to the same decisions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>

#include "match/decider.h"
#include "match/stats.h"
#include "tests/support/support.h"

namespace {

using match::ConfidenceSequence;
using match::Verdict;
using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;

// The per-deal differences ev-player − tally-player of a real match.
std::vector<double> real_differences(int deals) {
    const RunResult played = run({bin("match"), "--deals", std::to_string(deals), "--seed", "2", "--no-ceiling",
                                  "--quiet", "--csv", "-", "ev-player", "tally-player"},
                                 "", "", 120000);
    EXPECT_EQ(played.exit_code, 0) << played.err;
    const auto rows = testing_support::csv_rows(played.out);
    std::vector<double> differences;
    for (std::size_t r = 1; r + 1 < rows.size(); r += 2) {
        differences.push_back(std::stod(rows[r].at(4)) - std::stod(rows[r + 1].at(4)));
    }
    return differences;
}

struct FalseDecisions {
    int sequence = 0;  // the anytime-valid sequence left out 0 at some deal
    int t_interval = 0;  // the 95% t-interval, looked at after every deal, left out 0 at some deal
};

// Replications of a match of up to `deals` deals whose differences are drawn
// from `differences` centred to mean 0: every decision is a false one.
FalseDecisions simulate(const std::vector<double>& differences, int replications, int deals, double alpha) {
    double mean = 0;
    for (double d : differences) mean += d / static_cast<double>(differences.size());
    FalseDecisions found;
    for (int r = 0; r < replications; ++r) {
        std::mt19937_64 random(static_cast<std::uint64_t>(r) + 1);
        std::uniform_int_distribution<std::size_t> pick(0, differences.size() - 1);
        ConfidenceSequence sequence(alpha);
        double sum = 0, squares = 0;
        bool sequence_decided = false, t_decided = false;
        for (int t = 1; t <= deals && !(sequence_decided && t_decided); ++t) {
            const double d = differences[pick(random)] - mean;
            sequence.add(d);
            sequence_decided = sequence_decided || match::verdict_of(sequence, 0) != Verdict::undecided;
            sum += d;
            squares += d * d;
            if (t < 2 || t_decided) continue;
            const double m = sum / t, variance = (squares - t * m * m) / (t - 1);
            t_decided = std::abs(m) > match::t95(t - 1) * std::sqrt(variance / t);
        }
        found.sequence += sequence_decided;
        found.t_interval += t_decided;
    }
    return found;
}

TEST(Decide, TheErrorRateHoldsUnderContinuousWatchingWhereATIntervalsDoesNot) {
#ifdef GAME_SANITIZED
    // The figures are the release build's; this checks that the code runs clean.
    constexpr int REPLICATIONS = 50, REAL_DEALS = 30;
#else
    constexpr int REPLICATIONS = 2000, REAL_DEALS = 100;
#endif
    constexpr int DEALS = 10000;
    constexpr double ALPHA = 0.05;
    const std::vector<double> differences = real_differences(REAL_DEALS);
    ASSERT_EQ(differences.size(), static_cast<std::size_t>(REAL_DEALS));
    const FalseDecisions found = simulate(differences, REPLICATIONS, DEALS, ALPHA);
    const double rate = static_cast<double>(found.sequence) / REPLICATIONS;
    const double naive = static_cast<double>(found.t_interval) / REPLICATIONS;
    const double error = std::sqrt(ALPHA * (1 - ALPHA) / REPLICATIONS);  // Monte Carlo standard error at the bound
    std::cout << "[ figures  ] " << REPLICATIONS << " null matches of up to " << DEALS
              << " deals: false decisions " << rate << " with the confidence sequence, " << naive
              << " stopping at the first 95% t-interval without 0 (Monte Carlo error " << error << ")\n";
    EXPECT_LE(rate, ALPHA);
    EXPECT_GT(naive, 3 * ALPHA) << "watching a fixed-size interval should inflate the error";
}

// Constant differences: the sequence always holds the mean, narrows, and decides.
TEST(Decide, TheSequenceHoldsAConstantMeanAndNarrowsUntilItDecides) {
    const struct {
        double difference;
        Verdict verdict;
    } rows[] = {{10, Verdict::a_better}, {-25, Verdict::b_better}, {0, Verdict::undecided}};
    for (const auto& row : rows) {
        ConfidenceSequence sequence(0.05);
        double width = 800;
        for (int t = 0; t < 3000; ++t) {
            sequence.add(row.difference);
            ASSERT_LE(sequence.lower(), row.difference) << t;
            ASSERT_GE(sequence.upper(), row.difference) << t;
            ASSERT_LE(sequence.upper() - sequence.lower(), width) << t;
            width = sequence.upper() - sequence.lower();
        }
        EXPECT_EQ(match::verdict_of(sequence, 0), row.verdict) << row.difference;
    }
    ConfidenceSequence tied(0.05);
    for (int t = 0; t < 3000; ++t) tied.add(t % 2 ? 1 : -1);
    EXPECT_EQ(match::verdict_of(tied, 5), Verdict::equal);
}

// Deals finished in any order are taken in deal order: the same decisions.
TEST(Decide, DecisionsDoNotDependOnTheOrderDealsFinishIn) {
    match::MatchConfig config;
    config.players = {{"a", {}}, {"b", {}}, {"c", {}}};
    config.decide.emplace();
    std::vector<match::DealOutcome> deals(600);
    std::mt19937_64 random(7);
    for (int d = 0; d < 600; ++d) {
        deals[d].index = d;
        deals[d].games.resize(3);
        for (int p = 0; p < 3; ++p) deals[d].games[p].score = static_cast<int>(random() % 60) + 40 * (2 - p);
    }
    const auto in_order = match::decisions_of(config, deals);
    std::shuffle(deals.begin(), deals.end(), random);
    const auto shuffled = match::decisions_of(config, deals);
    ASSERT_EQ(in_order.size(), 3u);
    for (std::size_t p = 0; p < in_order.size(); ++p) {
        EXPECT_EQ(in_order[p].decision.verdict, shuffled[p].decision.verdict);
        EXPECT_EQ(in_order[p].decision.deals, shuffled[p].decision.deals);
        EXPECT_EQ(in_order[p].sequence.lower(), shuffled[p].sequence.lower());
    }
    EXPECT_EQ(in_order[0].decision.verdict, Verdict::a_better);
}

nlohmann::json decided(const std::string& json) { return nlohmann::json::parse(json)["decisions"]; }

// A match stops once its pair is decided, its CSV whole; resumed from a part
// of that CSV, it comes to the same decision at the same deal.
TEST(Decide, AMatchStopsWhenDecidedAndIsResumedToTheSameDecision) {
    const TempDir dir;
    // A generous alpha decides sooner: 60 deals here.
    const std::vector<std::string> match = {bin("match"), "--decide", "--alpha", "0.5", "--seed", "1", "--no-ceiling",
                                            "--quiet", "--json", "-", "ev-player",
                                            "low=" + testing_support::helper("fake-player")};
    std::vector<std::string> whole = match;
    whole.insert(whole.end(), {"--csv", "m.csv"});
    const RunResult first = run(whole, "", dir.path(), 120000);
    ASSERT_EQ(first.exit_code, 0) << first.err;
    const nlohmann::json decision = decided(first.out).at(0);
    EXPECT_EQ(decision["verdict"], "a");
    const int at = decision["deals"];
    const auto rows = testing_support::csv_rows(read_file(dir.file("m.csv")));
    const int played = static_cast<int>(rows.size() - 1) / 2;
    EXPECT_GE(played, at);
    EXPECT_LT(played, at + 3) << "deals begun after the decision: one a job at most";
    // The header and the first 20 deals, then resumed.
    std::string part;
    for (std::size_t r = 0; r <= 40; ++r) {
        for (std::size_t f = 0; f < rows[r].size(); ++f) part += (f ? "," : "") + rows[r][f];
        part += "\n";
    }
    testing_support::write_file(dir.file("part.csv"), part);
    const RunResult resumed = run(
        {bin("match"), "--resume", "part.csv", "--decide", "--alpha", "0.5", "--quiet", "--json", "-"}, "", dir.path(),
        120000);
    ASSERT_EQ(resumed.exit_code, 0) << resumed.err;
    EXPECT_EQ(decided(resumed.out).at(0)["deals"], at);
    EXPECT_EQ(decided(resumed.out).at(0)["verdict"], "a");
}

}  // namespace
