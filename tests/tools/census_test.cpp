#include <gtest/gtest.h>

#include "tests/tools/all_hands.h"
#include "tools/census/eval_hand.h"
#include "tests/support/support.h"

namespace {

TEST(HandCensus, PrintsTheCountsOfEveryCategory) {
    const testing_support::RunResult r = testing_support::run({testing_support::bin("hand-census")});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "42504 hands\n"
              "4080 nothing (multiplier 5.65)\n"
              "23040 one pair (multiplier 1.00)\n"
              "8640 two pairs (multiplier 2.67)\n"
              "3840 three of a kind (multiplier 6.00)\n"
              "2040 straight (multiplier 11.29)\n"
              "720 full house (multiplier 32.00)\n"
              "120 four of a kind (multiplier 192.00)\n"
              "16 flush (multiplier 1440.00)\n"
              "8 straight flush (multiplier 2880.00)\n");
}

TEST(HandCensus, OutputThatCannotBeWrittenIsAFailure) {
    const testing_support::RunResult r =
        testing_support::run({"/bin/sh", "-c", "exec \"$0\" >/dev/full", testing_support::bin("hand-census")});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.err, "hand-census: cannot write the output\n");
}

// The census hands its evaluator sorted hands; other orders must come out
// sorted and scored the same.
TEST(CensusEvalHand, SortsAndAgreesWithTheCommonRuleOnEveryHand) {
    constexpr int ORDERS[][5] = {{0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}, {2, 3, 4, 0, 1}};
    for (const tools_test::Hand& hand : tools_test::all_hands()) {
        const int expected = game::category(hand);
        for (const auto& order : ORDERS) {
            census::card h[5];
            for (int i = 0; i < 5; ++i) h[i] = {hand[order[i]].rank, hand[order[i]].suit};
            ASSERT_EQ(census::evalHand(h), expected) << tools_test::text_of(hand) << "from position " << order[0];
            for (int i = 0; i < 5; ++i) {
                ASSERT_TRUE(h[i].rank == hand[i].rank && h[i].suit == hand[i].suit)
                    << tools_test::text_of(hand) << "from position " << order[0] << ", card " << i;
            }
        }
    }
}

}  // namespace
