// The game's logic as both faces of play share it: the round rule, undo
// within the round, what a column scores if the game ended now, the day's
// seed, and the end report's numbers and lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/play/deal.h"
#include "tools/play/game.h"
#include "tools/play/report.h"

namespace {

using namespace std::chrono;

std::vector<game::Card> cards(const std::vector<std::string>& tokens) {
    std::vector<game::Card> parsed;
    for (const std::string& token : tokens) parsed.push_back(*game::parse_token(token));
    return parsed;
}

// The codes 0..23 in order: placed 1, 2, 3, 4 in every round, each column
// is a straight flush (the ceiling of that deal, 400).
play::Game ascending_game() {
    game::Deck deck;
    for (int code = 0; code < game::DECK_SIZE; ++code) deck[code] = game::card_of_code(code);
    return play::new_game(deck);
}

void place_all(play::Game& g, const std::vector<int>& columns) {
    for (int column : columns) ASSERT_TRUE(play::place(g, column)) << "column " << column;
}

struct Hand {
    const char* name;
    std::vector<std::string> tokens;
    int category;
};

class SoFar : public ::testing::TestWithParam<Hand> {};

TEST_P(SoFar, ScoresWhatTheHandHolds) {
    EXPECT_EQ(play::category_so_far(cards(GetParam().tokens)), GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, SoFar,
    ::testing::Values(Hand{"empty", {}, 0}, Hand{"one_card", {"AS"}, 0}, Hand{"pair", {"9C", "9D"}, 1},
                      Hand{"pair_among_others", {"9C", "KD", "9H", "AS"}, 1},
                      Hand{"two_pairs", {"9C", "KD", "9H", "KS"}, 2}, Hand{"three", {"QC", "QD", "QH"}, 3},
                      // A full house needs its fifth card.
                      Hand{"three_and_one", {"QC", "QD", "QH", "9S"}, 3}, Hand{"four", {"AC", "AD", "AH", "AS"}, 6},
                      // Four to a straight flush are no straight, no flush, yet.
                      Hand{"four_to_a_straight_flush", {"9H", "10H", "JH", "QH"}, 0},
                      Hand{"five_straight_flush", {"9H", "10H", "JH", "QH", "KH"}, 8},
                      Hand{"five_full_house", {"QC", "QD", "QH", "10S", "10H"}, 5},
                      Hand{"five_straight", {"10C", "JD", "QH", "KS", "AH"}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Round, AColumnClosesForTheRestOfItsRound) {
    play::Game g = ascending_game();
    place_all(g, {2});
    EXPECT_EQ(play::open_columns(g), (std::vector<int>{0, 1, 3}));
    const game::Status refused = play::place(g, 2);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), "Coloana 3 a primit deja o carte în runda 1");
    EXPECT_EQ(play::cards_placed(g), 1);
    place_all(g, {0, 3, 1});
    EXPECT_EQ(play::round_of(g), 1);
    EXPECT_EQ(play::open_columns(g), (std::vector<int>{0, 1, 2, 3}));
    place_all(g, {1});
    EXPECT_EQ(play::place(g, 1).error(), "Coloana 2 a primit deja o carte în runda 2");
}

TEST(Undo, TakesBackTheRoundsCardsOnly) {
    play::Game g = ascending_game();
    EXPECT_EQ(play::undo(g).error(), "Nimic de anulat");
    place_all(g, {0, 1, 2, 3, 3, 2});
    ASSERT_TRUE(play::undo(g));
    EXPECT_EQ(play::cards_placed(g), 5);
    EXPECT_EQ(play::card_to_place(g), g.deck[5]);
    EXPECT_TRUE(play::is_open(g, 2));
    ASSERT_TRUE(play::undo(g));
    // The round's first card was its last to take back: round 1 stays as it was played.
    EXPECT_EQ(play::undo(g).error(), "Nimic de anulat: runda 2 abia a început");
    EXPECT_EQ(g.columns, (std::vector<int>{0, 1, 2, 3}));
}

TEST(Game, EndsAfterTwentyCardsAsItsRecord) {
    play::Game g = ascending_game();
    for (int round = 0; round < game::ROUNDS; ++round) place_all(g, {0, 1, 2, 3});
    EXPECT_TRUE(play::finished(g));
    EXPECT_TRUE(play::open_columns(g).empty());
    EXPECT_EQ(play::place(g, 0).error(), "Jocul s-a încheiat");
    EXPECT_EQ(play::undo(g).error(), "Jocul s-a încheiat");
    EXPECT_EQ(play::total_so_far(g), 400);
    const game::GameRecord record = play::record_of(g);
    EXPECT_EQ(record.total, 400);
    EXPECT_EQ(record.categories, (std::array<int, 4>{8, 8, 8, 8}));
    EXPECT_EQ(record.cards[5].column, 1);
    EXPECT_EQ(record.cards[5].card, game::card_of_code(5));
}

TEST(Game, TotalSoFarAddsEveryColumnsHand) {
    // The cards named first, the rest of the deck after them.
    game::Deck deck;
    const std::vector<game::Card> first =
        cards({"9C", "9D", "9H", "JC", "9S", "KC", "KD", "JD", "KH", "KS", "10C", "10D"});
    std::copy(first.begin(), first.end(), deck.begin());
    int next = static_cast<int>(first.size());
    for (int code = 0; code < game::DECK_SIZE; ++code) {
        if (std::find(first.begin(), first.end(), game::card_of_code(code)) == first.end()) {
            deck[next++] = game::card_of_code(code);
        }
    }
    play::Game g = play::new_game(deck);
    place_all(g, {0, 1, 2, 3});
    EXPECT_EQ(play::total_so_far(g), 0);
    place_all(g, {0, 1, 2, 3});  // 9C 9S, 9D KC, 9H KD, JC JD
    EXPECT_EQ(play::total_so_far(g), 2);
    place_all(g, {1, 2, 0, 3});  // 9D KC KH and 9H KD KS pair their kings; 10C and 10D pair nothing
    EXPECT_EQ(play::total_so_far(g), 4);
}

TEST(Daily, TheSeedIsTheUtcDate) {
    const sys_days day = 2025y / January / 14;
    EXPECT_EQ(play::todays_deal(day).seed, 20250114u);
    EXPECT_EQ(play::todays_deal(day + 23h + 59min).day, "2025-01-14");
    EXPECT_EQ(play::todays_deal(day + 24h).seed, 20250115u);
    EXPECT_EQ(play::todays_deal(sys_days{2024y / February / 29}).day, "2024-02-29");
    EXPECT_EQ(play::deal_title(play::todays_deal(day)), "împărțirea zilei 2025-01-14 (sămânța 20250114)");
}

TEST(Report, ShareIsRoundedDownSoThatOnlyTheCeilingIsAHundred) {
    EXPECT_EQ(play::share_of_ceiling(57, 124), 45);
    EXPECT_EQ(play::share_of_ceiling(123, 124), 99);
    EXPECT_EQ(play::share_of_ceiling(124, 124), 100);
    EXPECT_EQ(play::share_of_ceiling(0, 0), 100);
}

TEST(Report, PointsAreCountedInRomanian) {
    EXPECT_EQ(play::points_text(0), "0 puncte");
    EXPECT_EQ(play::points_text(1), "1 punct");
    EXPECT_EQ(play::points_text(19), "19 puncte");
    EXPECT_EQ(play::points_text(20), "20 de puncte");
    EXPECT_EQ(play::points_text(101), "101 puncte");
}

play::EndReport report_of_ascending() {
    play::Game g = ascending_game();
    for (int round = 0; round < game::ROUNDS; ++round) place_all(g, {0, 1, 2, 3});
    play::EndReport report;
    report.deal = play::DealChoice{7, ""};
    report.mine = play::record_of(g);
    report.ceiling = report.mine;
    report.rivals = {{"a", true, 400, ""}, {"b", false, 0, "timp-depasit"}, {"c", true, 55, ""}};
    return report;
}

TEST(Report, ThePlaceCountsOnlyThoseWhoScoredMore) {
    play::EndReport report = report_of_ascending();
    EXPECT_EQ(play::place_of(report), 1);  // a tie with "a"
    EXPECT_EQ(play::scored_count(report), 3);
    report.mine.total = 54;
    EXPECT_EQ(play::place_of(report), 3);
}

TEST(Report, PlainLinesTellTheBoardsThePlayersAndTheReplay) {
    const std::vector<std::string> lines = play::report_lines(report_of_ascending());
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("Scor total: 400"));
    EXPECT_TRUE(has("  Coloana 2: 9♦ 10♦ J♦ Q♦ K♦ — chintă de culoare (100 de puncte)"));
    EXPECT_TRUE(has("Plafonul, cea mai bună așezare a aceleiași împărțiri: 400 de puncte"));
    EXPECT_TRUE(has("Ați atins 100% din plafon."));
    EXPECT_TRUE(has("  b: greșeală (timp-depasit)"));
    EXPECT_TRUE(has("  c: 55 de puncte"));
    EXPECT_TRUE(has("Locul vostru: 1 din 3."));
    EXPECT_TRUE(has("Se reia cu: play --seed 7 (același pachet ca referee --seed 7)"));
}

}  // namespace
