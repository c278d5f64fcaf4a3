#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "common/cards.h"
#include "players/zarvel/player.h"
#include "players/zarvel/player_cards.h"
#include "common/record.h"
#include "tests/support/support.h"

namespace {

using namespace testing_support;

const std::vector<std::string> WORKED_DEAL = {"AS", "9H", "KD", "10C", "QS", "JH", "9S", "AD", "KC", "10H",
                                              "JS", "QD", "9D", "AC", "KS", "10S", "QH", "JD", "9C", "KH"};
const std::vector<std::string> WORKED_ANSWERS = {"1", "2", "3", "4", "3", "4", "2", "1", "3", "4",
                                                 "1", "2", "2", "1", "3", "4", "2", "1", "3", "4"};

// The player writes data.in where it runs: always in a scratch directory.
RunResult play(const std::string& input, const TempDir& dir) { return run({bin("zarvel-002")}, input, dir.path()); }

std::vector<std::string> first(const std::vector<std::string>& words, std::size_t n) {
    return std::vector<std::string>(words.begin(), words.begin() + n);
}

std::string stop_line(const std::string& operation, const std::string& condition) {
    return "zarvel-002: " + operation + ": check failed: " + condition + "\n";
}

// --- the round rule -------------------------------------------------------

zarvel::Board board_of_sizes(std::array<int, zarvel::COLUMNS> sizes) {
    zarvel::Board board;
    for (int j = 0; j < zarvel::COLUMNS; ++j) board[j].assign(sizes[j], zarvel::Card{9, 'C'});
    return board;
}

TEST(ZarvelPossible, OffersTheColumnsWithTheFewestCards) {
    EXPECT_EQ(zarvel::possible(board_of_sizes({0, 0, 0, 0})), (zarvel::Legal{0, 1, 2, 3}));
    EXPECT_EQ(zarvel::possible(board_of_sizes({2, 1, 2, 1})), (zarvel::Legal{1, 3}));
    EXPECT_EQ(zarvel::possible(board_of_sizes({4, 4, 3, 4})), (zarvel::Legal{2}));
    EXPECT_EQ(zarvel::possible(board_of_sizes({5, 5, 5, 4})), (zarvel::Legal{3}));
}

// --- tokens ---------------------------------------------------------------

TEST(ZarvelTokens, EveryCardOfTheDeckParsesToItsRankValueAndLetter) {
    for (int code = 0; code < game::DECK_SIZE; ++code) {
        const game::Card card = game::card_of_code(code);
        const game::Result<zarvel::Card> parsed = zarvel::transforma(game::token_of(card));
        ASSERT_TRUE(parsed) << parsed.error();
        EXPECT_EQ(parsed->rank, card.rank + 9) << game::token_of(card);
        EXPECT_EQ(parsed->suit, game::SUIT_LETTERS[card.suit]) << game::token_of(card);
    }
    EXPECT_NE(*zarvel::transforma("10H"), *zarvel::transforma("10S"));
}

// A bad token as the third card: the two answers before it stay, none for it.
TEST(ZarvelTokens, EachMalformedTokenStopsWithItsCondition) {
    const struct {
        std::string token, condition;
    } cases[] = {
        {"8C", "str[0] == '1'"},          {"1H", "str[1] == '0'"},        {"1", "str[1] == '0'"},
        {"10", "p == (int)str.size()"},   {"9", "p == (int)str.size()"},  {"9CC", "p == (int)str.size()"},
        {"10HH", "p == (int)str.size()"}, {"9h", "1 == 0"},               {"X9", "1 == 0"},
        {"jC", "1 == 0"},                 {"AX", "1 == 0"},               {"10c", "1 == 0"},
        {"Q" + std::string(40, 'S'), "p == (int)str.size()"},           {std::string(40, 'Z'), "1 == 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.token);
        TempDir dir;
        const RunResult result = play(lines({"AS", "9H", c.token, "KD"}), dir);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.out, "1\n2\n");
        EXPECT_EQ(result.err, stop_line("transforma", c.condition));
        // The game returns the same stop that the program reports.
        EXPECT_EQ("zarvel-002: " + zarvel::transforma(c.token).error() + "\n", stop_line("transforma", c.condition));
    }
}

// --- whole games ----------------------------------------------------------

TEST(ZarvelGame, WorkedDealThroughTheReferee) {
    TempDir dir;
    write_file(dir.file("deck.txt"), deck_text(WORKED_DEAL));
    const RunResult result =
        run({bin("referee"), "--deck", "deck.txt", "--record", "game.dat", bin("zarvel-002")}, "", dir.path());
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, "Scor total: 50\n");
    EXPECT_EQ(result.err, "");

    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    ASSERT_TRUE(read) << read.error();
    const game::GameRecord& record = *read;
    for (std::size_t t = 0; t < WORKED_DEAL.size(); ++t) {
        EXPECT_EQ(game::token_of(record.cards[t].card), WORKED_DEAL[t]);
        EXPECT_EQ(std::to_string(record.cards[t].column + 1), WORKED_ANSWERS[t]) << "card " << t + 1;
    }
    EXPECT_EQ(record.points, (std::array<int, game::COLUMNS>{20, 20, 5, 5}));
}

TEST(ZarvelGame, AnswersTokensSeparatedByAnyWhiteSpaceAlike) {
    TempDir dir;
    const RunResult by_lines = play(lines(WORKED_DEAL), dir);
    EXPECT_EQ(by_lines.exit_code, 0);
    EXPECT_EQ(by_lines.err, "");
    EXPECT_EQ(by_lines.out, lines(WORKED_ANSWERS));

    std::string one_line = "  ";
    for (const std::string& token : WORKED_DEAL) one_line += token + (token.size() == 3 ? "\t" : " ");
    const RunResult spaced = play(one_line, dir);
    EXPECT_EQ(spaced.exit_code, 0);
    EXPECT_EQ(spaced.out, by_lines.out);
}

TEST(ZarvelGame, InputEndingEarlyGivesOneAnswerPerTokenThenStops) {
    for (std::size_t k : {0u, 1u, 4u, 13u, 19u}) {
        SCOPED_TRACE("tokens: " + std::to_string(k));
        TempDir dir;
        const RunResult result = play(lines(first(WORKED_DEAL, k)), dir);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.out, lines(first(WORKED_ANSWERS, k)));
        EXPECT_EQ(result.err, stop_line("turn loop", "cin >> str"));
    }
}

TEST(ZarvelGame, ARepeatedCardStopsBeforeItsAnswer) {
    for (std::size_t k : {1u, 6u, 19u}) {
        SCOPED_TRACE("repeated at card " + std::to_string(k + 1));
        std::vector<std::string> tokens = first(WORKED_DEAL, k);
        tokens.push_back(WORKED_DEAL[k - 1]);
        TempDir dir;
        const RunResult result = play(lines(tokens), dir);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.out, lines(first(WORKED_ANSWERS, k)));
        EXPECT_EQ(result.err, stop_line("solve", "i <= numberOfCards"));
    }
}

// --- the practice deck ----------------------------------------------------

// What the file holds for a start in the given second: the first 20 cards
// of the deck 9H 9S 9D 9C 10H ... AC, shuffled by the C library's generator.
std::string practice_deck_of_second(std::time_t second) {
    std::vector<std::string> deck;
    for (const char* rank : {"9", "10", "J", "Q", "K", "A"}) {
        for (char suit : {'H', 'S', 'D', 'C'}) deck.push_back(rank + std::string(1, suit));
    }
    std::srand(static_cast<unsigned>(second));
    for (int i = 1; i < game::DECK_SIZE; ++i) std::swap(deck[i], deck[std::rand() % (i + 1)]);
    return lines(first(deck, game::DEALT));
}

void expect_practice_deck(const std::string& text) {
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), game::DEALT);
    const std::vector<std::string> tokens = split(text);
    ASSERT_EQ(tokens.size(), static_cast<std::size_t>(game::DEALT));
    EXPECT_EQ(lines(tokens), text);  // one token a line, nothing else
    std::set<int> codes;
    for (const std::string& token : tokens) {
        const auto card = game::parse_token(token);
        ASSERT_TRUE(card) << token;
        codes.insert(game::code_of(*card));
    }
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(game::DEALT));
}

TEST(ZarvelPracticeDeck, IsTheDeckShuffledBySeedOfTheStartSecond) {
    TempDir dir;
    const std::time_t before = std::time(nullptr);
    const RunResult result = play(lines(WORKED_DEAL), dir);
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(result.exit_code, 0);
    const std::string text = read_file(dir.file("data.in"));
    expect_practice_deck(text);
    bool matched = false;
    for (std::time_t second = before; second <= after; ++second) matched |= text == practice_deck_of_second(second);
    EXPECT_TRUE(matched) << text;
}

TEST(ZarvelPracticeDeck, IsReplacedAtEveryStartAlsoWhenTheGameStops) {
    TempDir dir;
    write_file(dir.file("data.in"), "an older file that is longer than a practice deck\n" + std::string(200, 'x'));
    const RunResult result = play("AS\nXX\n", dir);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.out, "1\n");
    expect_practice_deck(read_file(dir.file("data.in")));
}

// Root may write into a read-only directory, so a directory standing where
// the file would go is the case that fails for everyone.
TEST(ZarvelPracticeDeck, AFileThatCannotBeWrittenChangesNothing) {
    TempDir blocked;
    std::filesystem::create_directory(blocked.file("data.in"));
    const RunResult result = play(lines(WORKED_DEAL), blocked);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, lines(WORKED_ANSWERS));
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(std::filesystem::is_directory(blocked.file("data.in")));
}

TEST(ZarvelPracticeDeck, AReadOnlyDirectoryChangesNothing) {
    TempDir read_only;
    testing_support::hand_to_ordinary_user({read_only.path()});
    ASSERT_EQ(::chmod(read_only.path().c_str(), 0555), 0);
    const RunResult denied =
        run(testing_support::as_ordinary_user({bin("zarvel-002")}), lines(WORKED_DEAL), read_only.path());
    EXPECT_EQ(denied.exit_code, 0);
    EXPECT_EQ(denied.out, lines(WORKED_ANSWERS));
    EXPECT_EQ(denied.err, "");
    EXPECT_FALSE(std::filesystem::exists(read_only.file("data.in")));
}

}  // namespace
