#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <vector>

#include "common/cards.h"
#include "players/zarvel/player.h"
#include "players/zarvel/player_cards.h"
#include "players/zarvel/search.h"

namespace {

using zarvel::Card;

std::vector<Card> cards(const std::string& tokens) {
    std::istringstream in(tokens);
    std::vector<Card> result;
    for (std::string token; in >> token;) result.push_back(*zarvel::transforma(token));
    return result;
}

const std::vector<Card> WORKED_DEAL =
    cards("AS 9H KD 10C QS JH 9S AD KC 10H JS QD 9D AC KS 10S QH JD 9C KH");
const std::vector<int> WORKED_ANSWERS = {0, 1, 2, 3, 2, 3, 1, 0, 2, 3, 0, 1, 1, 0, 2, 3, 1, 0, 2, 3};

class ZarvelSearch : public testing::Test {
protected:
    void SetUp() override { zarvel::generate_available_cards(); }

    // The column that solve chooses, or -1 when it fails.
    int solved(Card card, const zarvel::Legal& legal) const {
        const game::Result<int> j = zarvel::solve(card, legal, board);
        EXPECT_TRUE(j) << j.error();
        return j ? *j : -1;
    }

    // Plays the first `turns` cards of the worked deal as the player would.
    void play_worked_deal(int turns) {
        for (int t = 0; t < turns; ++t) {
            const int j = solved(WORKED_DEAL[t], zarvel::possible(board));
            ASSERT_EQ(j, WORKED_ANSWERS[t]) << "card " << t + 1;
            board[j].push_back(WORKED_DEAL[t]);
        }
    }

    // The column with the card appended, as solve scores it.
    int total_with(int column, Card card) const {
        zarvel::Column candidate = board[column];
        candidate.push_back(card);
        return zarvel::best_possible_score(candidate);
    }

    std::set<std::pair<int, char>> pool() const {
        std::set<std::pair<int, char>> live;
        for (int i = 1; i <= zarvel::numberOfCards; ++i) {
            live.insert({zarvel::availableCards[i].rank, zarvel::availableCards[i].suit});
        }
        return live;
    }

    zarvel::Board board;
};

// An independent sum over every completion: every choice of cards from the
// pool by a selection mask, scored by the common category rule.
int brute_force_total(const std::vector<Card>& column, const std::vector<Card>& pool) {
    const std::size_t draw = zarvel::HAND_SIZE - column.size();
    std::vector<bool> chosen(pool.size(), false);
    std::fill(chosen.begin(), chosen.begin() + draw, true);
    int total = 0;
    do {
        std::array<game::Card, game::HAND_SIZE> hand;
        std::size_t n = 0;
        auto add = [&](Card card) {
            const char* letter = std::find(game::SUIT_LETTERS.begin(), game::SUIT_LETTERS.end(), card.suit);
            hand[n++] = game::Card{card.rank - 9, static_cast<int>(letter - game::SUIT_LETTERS.begin())};
        };
        for (Card card : column) add(card);
        for (std::size_t i = 0; i < pool.size(); ++i) {
            if (chosen[i]) add(pool[i]);
        }
        total += game::CATEGORY_POINTS[game::category(hand)];
    } while (std::prev_permutation(chosen.begin(), chosen.end()));
    return total;
}

TEST_F(ZarvelSearch, WorkedDealTotalsAtTheFifthCardTieToTheLowerColumn) {
    play_worked_deal(4);
    const Card qs = WORKED_DEAL[4];
    ASSERT_TRUE(zarvel::erase_card(qs));
    EXPECT_EQ(total_with(0, qs), 2381);
    EXPECT_EQ(total_with(1, qs), 2141);
    EXPECT_EQ(total_with(2, qs), 2501);
    EXPECT_EQ(total_with(3, qs), 2501);

    zarvel::generate_available_cards();
    for (int t = 0; t < 4; ++t) ASSERT_TRUE(zarvel::erase_card(WORKED_DEAL[t]));
    EXPECT_EQ(solved(qs, {0, 1, 2, 3}), 2);
}

TEST_F(ZarvelSearch, WorkedDealAtThe17thCardScoresFinishedColumns) {
    play_worked_deal(16);
    const Card qh = WORKED_DEAL[16];
    ASSERT_TRUE(zarvel::erase_card(qh));
    EXPECT_EQ(total_with(0, qh), 5);   // three aces
    EXPECT_EQ(total_with(1, qh), 20);  // full house
    EXPECT_EQ(total_with(2, qh), 20);  // full house
    EXPECT_EQ(total_with(3, qh), 5);   // three tens
}

TEST_F(ZarvelSearch, WholeWorkedDealLeavesTheUndealtCardsInThePool) {
    play_worked_deal(20);
    EXPECT_EQ(zarvel::numberOfCards, 4);
    EXPECT_EQ(pool(), (std::set<std::pair<int, char>>{{14, 'H'}, {10, 'D'}, {12, 'C'}, {11, 'C'}}));
}

// Only the finished columns count in the last round, not what others could reach.
TEST_F(ZarvelSearch, LastRoundTakesTheBestFinishedColumn) {
    board = {cards("9C 9D 9S KC"), cards("10C 10D JC JD QC"), cards("9H 10H QH AH"), cards("10S JS QS AC AD")};
    for (const auto& column : board) {
        for (Card card : column) ASSERT_TRUE(zarvel::erase_card(card));
    }
    EXPECT_EQ(solved(*zarvel::transforma("KH"), {0, 2}), 2);  // flush 50 over full house 20
}

// A card dealt before is no longer in the pool: solve chooses nothing and
// leaves the pool as it was.
TEST_F(ZarvelSearch, ACardDealtTwiceFailsItsCheck) {
    play_worked_deal(6);
    const auto before = pool();
    const game::Result<int> again = zarvel::solve(WORKED_DEAL[2], {2, 3}, board);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error(), "solve: check failed: i <= numberOfCards");
    EXPECT_EQ(pool(), before);
}

// At the first card of rounds 0 to 3 (1 to 4 cards to draw), against the
// brute force: every completion is scored, each exactly once.
TEST_F(ZarvelSearch, CompletionTotalsMatchEveryCompletionScoredByTheCategoryRule) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        zarvel::generate_available_cards();
        board = {};
        play_worked_deal(4 * round);
        const Card card = WORKED_DEAL[4 * round];
        ASSERT_TRUE(zarvel::erase_card(card));
        const std::vector<Card> live(zarvel::availableCards.begin() + 1,
                                     zarvel::availableCards.begin() + 1 + zarvel::numberOfCards);
        for (int j = 0; j < zarvel::COLUMNS; ++j) {
            std::vector<Card> candidate = board[j];
            candidate.push_back(card);
            EXPECT_EQ(zarvel::best_possible_score(candidate), brute_force_total(candidate, live)) << "column " << j + 1;
        }
    }
}

}  // namespace
