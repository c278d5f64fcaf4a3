#include "players/zarvel/player_cards.h"

#include "common/player_io.h"

namespace zarvel {

void stop(const char* operation, const char* condition) {
    game::stop_player("zarvel-002", std::string(operation) + ": check failed: " + condition);
}

namespace {

int rank_of_letter(char c) {
    switch (c) {
        case 'J': return 11;
        case 'Q': return 12;
        case 'K': return 13;
        case 'A': return 14;
    }
    stop("transforma", "1 == 0");
}

bool is_suit_letter(char c) { return c == 'C' || c == 'D' || c == 'H' || c == 'S'; }

}  // namespace

// The checks run in a fixed order and the first failure names the stop.
// Reading str[1] of a one-character token is allowed: it is the terminator.
Card transforma(const std::string& str) {
    const char c = str[0];
    int rank = 0;
    int suit_at = 1;
    if (c >= '0' && c <= '9') {
        if (c == '9') {
            rank = 9;
        } else {
            check(c == '1', "transforma", "str[0] == '1'");
            check(str[1] == '0', "transforma", "str[1] == '0'");
            rank = 10;
            suit_at = 2;
        }
    } else {
        rank = rank_of_letter(c);
    }
    const int p = suit_at + 1;
    check(p == static_cast<int>(str.size()), "transforma", "p == (int)str.size()");
    check(is_suit_letter(str[suit_at]), "transforma", "1 == 0");
    return Card{rank, str[suit_at]};
}

}  // namespace zarvel
