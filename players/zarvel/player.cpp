#include "players/zarvel/player.h"

#include <algorithm>
#include <cstdio>

#include "common/player_io.h"
#include "players/zarvel/practice_deck.h"
#include "players/zarvel/search.h"

namespace zarvel {

namespace {

constexpr int TURNS = 20;

// Longer tokens are cut to this length. Every token longer than three
// characters fails the same parsing check as its first 16 characters, so
// the cut changes no outcome; it only bounds the memory that input can take.
constexpr std::size_t TOKEN_MAX = 16;
char str[TOKEN_MAX + 1];

// The next card: its token read and parsed, or the check that it fails.
game::Result<Card> read_card(std::FILE* in) {
    std::size_t length = 0;
    if (game::read_token(in, str, TOKEN_MAX, length) == game::TokenRead::end) {
        return game::failure(check_failed("turn loop", "cin >> str"));
    }
    return transforma(std::string(str, length));
}

}  // namespace

Legal possible(const Board& board) {
    const auto fewest = std::min_element(board.begin(), board.end(),
                                         [](const Column& a, const Column& b) { return a.size() < b.size(); });
    Legal sol;
    for (int j = 0; j < COLUMNS; ++j) {
        if (board[j].size() == fewest->size()) sol.push_back(j);
    }
    check(sol.size() > 0, "possible", "sol.size() > 0");
    return sol;
}

game::Status play() {
    genereaza_pachet();
    try {
        return play_turns(stdin, stdout);
    } catch (const BrokenCheck& broken) {
        return game::failure(broken.what());
    }
}

game::Status play_turns(std::FILE* in, std::FILE* out) {
    Board board;
    generate_available_cards();
    for (int turn = 1; turn <= TURNS; ++turn) {
        const game::Result<Card> card = read_card(in);
        if (!card) return game::failure(card.error());
        const game::Result<int> j = solve(*card, possible(board), board);
        if (!j) return game::failure(j.error());
        board[*j].push_back(*card);
        std::fprintf(out, "%d\n", *j + 1);
        std::fflush(out);
    }
    return {};
}

}  // namespace zarvel
