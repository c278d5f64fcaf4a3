#include "players/zarvel/player_cards.h"

namespace zarvel {

std::string check_failed(const char* operation, const char* condition) {
    return std::string(operation) + ": check failed: " + condition;
}

namespace {

game::Failure failed(const char* condition) { return game::failure(check_failed("transforma", condition)); }

// 11..14 for J, Q, K, A; 0 for any other character.
int rank_of_letter(char c) {
    switch (c) {
        case 'J': return 11;
        case 'Q': return 12;
        case 'K': return 13;
        case 'A': return 14;
    }
    return 0;
}

bool is_suit_letter(char c) { return c == 'C' || c == 'D' || c == 'H' || c == 'S'; }

}  // namespace

// The checks run in a fixed order and the first failure names the stop.
// Reading str[1] of a one-character token is allowed: it is the terminator.
game::Result<Card> transforma(const std::string& str) {
    const char c = str[0];
    int rank = 0;
    int suit_at = 1;
    if (c >= '0' && c <= '9') {
        if (c == '9') {
            rank = 9;
        } else {
            if (c != '1') return failed("str[0] == '1'");
            if (str[1] != '0') return failed("str[1] == '0'");
            rank = 10;
            suit_at = 2;
        }
    } else {
        rank = rank_of_letter(c);
        if (rank == 0) return failed("1 == 0");
    }
    const int p = suit_at + 1;
    if (p != static_cast<int>(str.size())) return failed("p == (int)str.size()");
    if (!is_suit_letter(str[suit_at])) return failed("1 == 0");
    return Card{rank, str[suit_at]};
}

}  // namespace zarvel
