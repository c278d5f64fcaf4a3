// The card model shared by every program: ranks, suits, card tokens, hand
// categories with their points and names, and the board score.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace game {

constexpr int RANKS = 6;       // 9, 10, J, Q, K, A
constexpr int SUITS = 4;       // C, D, H, S
constexpr int DECK_SIZE = 24;
constexpr int DEALT = 20;      // the last four cards of a deck are never dealt
constexpr int COLUMNS = 4;
constexpr int ROUNDS = 5;
constexpr int HAND_SIZE = 5;
constexpr int CATEGORIES = 9;

// rank index 0..5 (9 to A), suit index 0..3 (C, D, H, S)
struct Card {
    int rank = 0;
    int suit = 0;
    friend bool operator==(const Card&, const Card&) = default;
};

inline constexpr std::array<const char*, RANKS> RANK_TEXT = {"9", "10", "J", "Q", "K", "A"};
inline constexpr std::array<char, SUITS> SUIT_LETTERS = {'C', 'D', 'H', 'S'};

// Display tables of the record viewer.
inline constexpr std::array<const char*, RANKS> RANK_NAMES = {"9", "10", "J", "Q", "K", "A"};
inline constexpr std::array<const char*, SUITS> SUIT_ICONS = {"\u2663", "\u2666", "\u2665", "\u2660"};
inline constexpr std::array<int, SUITS> SUIT_COLORS = {30, 31, 31, 30};

inline constexpr std::array<int, CATEGORIES> CATEGORY_POINTS = {0, 1, 2, 5, 10, 20, 30, 50, 100};
inline constexpr std::array<const char*, CATEGORIES> CATEGORY_NAMES_EN = {
    "nothing", "one pair", "two pairs", "three of a kind", "straight",
    "full house", "four of a kind", "flush", "straight flush"};
inline constexpr std::array<const char*, CATEGORIES> CATEGORY_NAMES_RO = {
    "nimic", "o pereche", "două perechi", "trei bucăți", "chintă",
    "ful", "careu", "culoare", "chintă de culoare"};

// "9C", "10H", "AS": rank text immediately followed by the suit letter.
std::string token_of(Card card);
// Strict inverse of token_of: upper case only, nothing before or after.
std::optional<Card> parse_token(std::string_view token);

// Deck-file code: rank index * 4 + suit index.
constexpr int code_of(Card card) { return card.rank * SUITS + card.suit; }
constexpr Card card_of_code(int code) { return Card{code / SUITS, code % SUITS}; }

// The reference category rule (0 nothing .. 8 straight flush) of five cards.
int category(std::span<const Card, HAND_SIZE> hand);

// Sum of the points of the four columns' categories.
int board_score(std::span<const int, COLUMNS> categories);

}  // namespace game
