#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/tools/all_hands.h"
#include "referee/shuffle.h"
#include "tests/support/support.h"
#include "tests/tools/plain_search.h"
#include "tools/ceilscore/search.h"

namespace {

using testing_support::bin;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::write_file;

const std::string ASCENDING = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\n";
const std::string DECK_212 = "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 20 12 4 10\n";

// Column 0: 10-A of diamonds, 1: 9-K mixed, 2: aces and nines, 3: 9-K of spades.
const std::string RECORD_212 =
    "0\n212\n8 100 4 10 2 2 8 100 \n"
    "1 1 0\n4 2 1\n5 2 2\n3 3 3\n"
    "1 3 3\n3 2 1\n5 3 2\n5 1 0\n"
    "1 2 1\n4 3 3\n3 1 0\n4 0 2\n"
    "2 0 1\n0 0 2\n2 1 0\n2 3 3\n"
    "0 3 3\n4 1 0\n0 2 1\n0 1 2\n";

RunResult ceilscore_on(const std::string& deck_text) {
    TempDir dir;
    write_file(dir.file("deck.txt"), deck_text);
    return testing_support::run({bin("ceilscore"), dir.file("deck.txt")});
}

game::Deck deck_of(const std::string& codes) {
    std::istringstream in(codes);
    game::Deck deck{};
    for (game::Card& card : deck) {
        int code = 0;
        in >> code;
        card = game::card_of_code(code);
    }
    return deck;
}

TEST(Ceilscore, AscendingDeckGivesFourStraightFlushes) {
    std::string expected = "0\n400\n8 100 8 100 8 100 8 100 \n";
    for (int k = 0; k < game::DEALT; ++k) {
        const int rank = k / 4, suit = k % 4;  // every card lies in the column of its suit
        expected += std::to_string(rank) + " " + std::to_string(suit) + " " + std::to_string(suit) + "\n";
    }
    const RunResult r = ceilscore_on(ASCENDING);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);
}

TEST(Ceilscore, PrintsTheBestBoardOfADeal) {
    const RunResult r = ceilscore_on(DECK_212);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, RECORD_212);
}

TEST(Ceilscore, ReadsTheDeckFromStandardInputForADash) {
    const RunResult r = testing_support::run({bin("ceilscore"), "-"}, DECK_212);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, RECORD_212);
}

TEST(Ceilscore, KeepsTheFirstOfTwoBestBoards) {
    const game::GameRecord best = ceilscore::best_record(deck_of(DECK_212));
    ASSERT_EQ(best.total, 212);
    const std::array<int, 4> round4 = {3, 0, 1, 2};  // perm row 18
    for (int j = 0; j < 4; ++j) EXPECT_EQ(best.cards[16 + j].column, round4[j]) << "card " << 16 + j;

    // Row 19 puts the last two cards the other way round and scores as much.
    game::Deal later = best.cards;
    std::swap(later[18].column, later[19].column);
    EXPECT_EQ(game::scored_record(later).total, 212);
}

// The match runner calls the search from several threads at once: each call
// must give the record of its own deck, as it does alone.
TEST(Ceilscore, SearchesRunningAtOnceKeepToTheirOwnDecks) {
    std::vector<game::Deck> decks = {deck_of(DECK_212), deck_of(ASCENDING)};
    for (std::uint64_t seed = 1; decks.size() < 6; ++seed) decks.push_back(referee::shuffled_deck(seed));
    std::vector<game::GameRecord> alone, together(decks.size());
    for (const game::Deck& deck : decks) alone.push_back(ceilscore::best_record(deck));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < decks.size(); ++i) {
        threads.emplace_back([&, i] { together[i] = ceilscore::best_record(decks[i]); });
    }
    for (std::thread& thread : threads) thread.join();
    for (std::size_t i = 0; i < decks.size(); ++i) {
        EXPECT_EQ(game::format_record(together[i]), game::format_record(alone[i])) << "deck " << i;
    }
}

TEST(Ceilscore, SameBytesWhateverTheWhiteSpaceAndTheUndealtCards) {
    std::string one_per_line = "\n\n";
    std::string tabs_and_returns = "  ";
    for (const std::string& code : testing_support::split(DECK_212)) {
        one_per_line += code + "\n\n";
        tabs_and_returns += code + "\t \r\n";
    }
    const std::string undealt_reordered = "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 10 4 12 20";
    const std::string trailing_text = "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 20 12 4 10junk 99 -1\n";
    for (const std::string& text : {one_per_line, tabs_and_returns, undealt_reordered, trailing_text}) {
        const RunResult r = ceilscore_on(text);
        EXPECT_EQ(r.exit_code, 0) << text;
        EXPECT_EQ(r.out, RECORD_212) << text;
    }
}

TEST(Ceilscore, UsageErrorForAnyArgumentCountButOne) {
    TempDir dir;
    write_file(dir.file("deck.txt"), ASCENDING);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{dir.file("deck.txt"), dir.file("deck.txt")}}) {
        std::vector<std::string> argv{bin("ceilscore")};
        argv.insert(argv.end(), args.begin(), args.end());
        const RunResult r = testing_support::run(argv);
        EXPECT_EQ(r.exit_code, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Sintaxă: ceilscore <fișier>\n");
    }
}

struct BadDeck {
    const char* name;
    std::string text;
    std::string error_part;
};

class CeilscoreBadDeck : public ::testing::TestWithParam<BadDeck> {};

TEST_P(CeilscoreBadDeck, IsReportedAndNeverSearched) {
    const RunResult r = ceilscore_on(GetParam().text);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("ceilscore: ")) << r.err;
    EXPECT_NE(r.err.find("deck.txt"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Decks, CeilscoreBadDeck,
    ::testing::Values(
        BadDeck{"TooFew", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22\n", "are doar 23 numere"},
        BadDeck{"TextBeforeTheLast", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 as\n",
                "numărul 24 din 24 nu este un număr întreg: „as”"},
        BadDeck{"Fraction", "0 1.5 2", "numărul 3 din 24 nu este un număr întreg: „.5”"},
        BadDeck{"CodeTooLarge", "0 1 2 24", "numărul 4 din 24: codul 24 nu este între 0 și 23"},
        BadDeck{"NegativeCode", "-1", "numărul 1 din 24: codul -1 nu este între 0 și 23"},
        BadDeck{"RepeatedCode", "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 20 12 4 5",
                "numărul 24 din 24: codul 5 se repetă (apare și ca numărul 1)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Ceilscore, MissingOrUnreadableDeckFile) {
    TempDir dir;
    const RunResult missing = testing_support::run({bin("ceilscore"), dir.file("none.txt")});
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_TRUE(missing.err.starts_with("ceilscore: " + dir.file("none.txt") + ": nu se poate deschide"))
        << missing.err;

    const RunResult directory = testing_support::run({bin("ceilscore"), dir.path()});
    EXPECT_EQ(directory.exit_code, 2);
    EXPECT_EQ(directory.out, "");
    EXPECT_TRUE(directory.err.starts_with("ceilscore: " + dir.path() + ": nu se poate citi")) << directory.err;
}

TEST(Ceilscore, OutputThatCannotBeWrittenIsAFailure) {
    TempDir dir;
    write_file(dir.file("deck.txt"), ASCENDING);
    const RunResult r = testing_support::run({"/bin/sh", "-c", "exec \"$0\" deck.txt >/dev/full", bin("ceilscore")},
                                             "", dir.path());
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.err, "ceilscore: nu se poate scrie rezultatul\n");
}

// ---- the search against the plain one, which scores every board afresh

void expect_plain_search_record(const game::Deck& deck, const std::string& name) {
    EXPECT_EQ(game::format_record(ceilscore::best_record(deck)),
              game::format_record(tools_test::plain_best_record(deck)))
        << name;
}

// Every deck that a test names: the tools' decks and the players' deals
// (20 tokens, the undealt cards after them in ascending code order).
TEST(Ceilscore, SameRecordAsThePlainSearchOnEveryNamedDeck) {
    std::vector<std::string> decks = {ASCENDING, DECK_212,
                                      "5 18 22 15 7 14 23 21 6 19 13 16 8 0 9 11 3 17 2 1 10 4 12 20"};
    const std::vector<std::string> deals[] = {
        // zarvel-002's worked deal
        {"AS", "9H", "KD", "10C", "QS", "JH", "9S", "AD", "KC", "10H", "JS", "QD", "9D", "AC", "KS", "10S", "QH",
         "JD", "9C", "KH"},
        // the expected-value players' deal and the one on which they part
        {"QH", "9S", "AD", "10C", "KH", "JH", "9H", "QS", "10H", "AH", "KS", "JC", "9D", "KD", "QC", "AS", "JD",
         "10S", "AC", "KC"},
        {"JD", "9H", "JS", "10D", "KD", "QC", "JH", "10H", "AH", "9C", "10S", "10C", "QH", "9D", "QD", "KH", "KC",
         "9S", "AC", "JC"},
        // the suit player's
        {"9C", "10D", "JC", "QH", "KC", "AS", "9D", "10C", "JH", "QC", "KD", "9S", "AD", "AH", "10S", "KS", "10H",
         "KH", "QS", "QD"},
        {"9C", "9D", "10C", "9H", "JC", "QC", "10D", "10H", "KC", "AC", "JD", "JH", "QD", "KD", "QH", "KH", "AD",
         "AH", "9S", "10S"},
        {"9C", "9D", "10C", "9H", "AS", "JC", "10D", "10H", "KS", "QC", "JD", "JH", "QS", "KC", "QD", "QH", "AC",
         "KD", "KH", "AD"},
        {"9C", "9D", "9H", "9S", "10S", "10C", "10D", "10H", "JC", "JD", "JH", "JS", "QC", "QD", "QH", "QS", "KC",
         "KD", "KH", "KS"},
        // the tally player's
        {"9C", "9D", "9H", "KC", "QC", "QD", "QH", "AC", "9S", "QS", "KD", "KH", "AD", "AH", "AS", "KS", "10C",
         "10D", "10H", "10S"},
        {"9C", "KC", "QC", "AC", "9D", "9H", "JD", "JS", "9S", "10C", "10D", "10H", "QD", "QH", "QS", "KD", "KH",
         "KS", "AD", "AH"},
        {"9C", "9D", "9H", "KC", "9S", "QC", "QD", "QH", "JC", "JD", "JH", "JS", "AC", "AD", "AH", "AS", "KD", "KH",
         "KS", "10C"},
        {"KC", "KD", "KH", "9C", "9D", "QC", "QD", "QH", "JC", "JD", "JH", "JS", "KS", "AC", "AD", "AH", "10C",
         "10D", "10H", "10S"},
        {"KC", "KD", "KH", "9C", "9D", "QC", "QD", "QH", "JC", "JD", "JH", "JS", "AC", "AD", "AH", "AS", "KS", "10C",
         "10D", "10H"},
        {"9C", "9D", "10H", "9S", "10S", "9H", "JC", "JD", "JH", "JS", "QC", "QD", "QH", "QS", "KC", "KD", "KH", "KS",
         "AC", "AD"},
    };
    for (const auto& deal : deals) decks.push_back(testing_support::deck_text(deal));
    for (const std::string& deck : decks) expect_plain_search_record(deck_of(deck), deck);
}

// Seeded decks of the referee's shuffle, in four parts that run side by
// side. The sanitizer build's plain search is slow: it checks a few dozen.
#if defined(GAME_SANITIZED)
constexpr int DECKS_PER_PART = 8;
#else
constexpr int DECKS_PER_PART = 250;
#endif

class CeilscoreSeededDecks : public ::testing::TestWithParam<int> {};

TEST_P(CeilscoreSeededDecks, SameRecordAsThePlainSearch) {
    const int first_seed = GetParam() * DECKS_PER_PART + 1;
    for (int seed = first_seed; seed < first_seed + DECKS_PER_PART; ++seed) {
        expect_plain_search_record(referee::shuffled_deck(seed), "seed " + std::to_string(seed));
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, CeilscoreSeededDecks, ::testing::Range(0, 4));

TEST(CeilscoreEvalHand, AgreesWithTheCommonRuleOnEveryHand) {
    for (const tools_test::Hand& hand : tools_test::all_hands()) {
        ceilscore::card cards[5], reversed[5];
        for (int i = 0; i < 5; ++i) {
            cards[i] = {hand[i].rank, hand[i].suit};
            reversed[4 - i] = cards[i];
        }
        const int expected = game::category(hand);
        ASSERT_EQ(ceilscore::evalHand(cards), expected) << tools_test::text_of(hand);
        ASSERT_EQ(ceilscore::evalHand(reversed), expected) << tools_test::text_of(hand);
    }
}

}  // namespace
