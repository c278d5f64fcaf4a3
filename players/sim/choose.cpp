#include "players/sim/choose.h"

#include <algorithm>
#include <bit>

#include "players/sim/value.h"

namespace sim {

namespace {

// Unseen cards that are worth the same to every free column: the round
// weighs one of each, times how many there are.
struct Kinds {
    double worth[ev::CARDS][COLUMNS];  // [kind][column]: the column's worth with a card of the kind
    int count[ev::CARDS];
    int kinds = 0;
    double sum[COLUMNS] = {};  // each column's worth summed over the cards not taken

    // Takes a card of the kind out of the unseen ones (-1), or puts it back (+1).
    void change(int kind, int by) {
        count[kind] += by;
        for (int n = 0; n < COLUMNS; ++n) sum[n] += by * worth[kind][n];
    }
};

// Worth of column n with the card, one value per rank and own suit or not,
// since the other cards of a rank look the same to it.
struct Worths {
    const Board& board;
    double cached[COLUMNS][2 * RANKS] = {};
    bool known[COLUMNS][2 * RANKS] = {};

    double of(int n, int card) {
        const Column& column = board.columns[n];
        const int slot = 2 * rankOf(card) + (column.oneSuit && suitOf(card) == column.suit);
        if (!known[n][slot]) {
            cached[n][slot] = columnValue(with(column, card), board.unseen & ~bit(card));
            known[n][slot] = true;
        }
        return cached[n][slot];
    }
};

Kinds kindsOf(const Board& board, int free, Worths& worths) {
    Kinds k;
    for (Cards rest = board.unseen; rest != 0; rest &= rest - 1) {
        const int card = std::countr_zero(rest);
        double row[COLUMNS] = {};
        for (int n = 0; n < COLUMNS; ++n) {
            if (free >> n & 1) row[n] = worths.of(n, card);
        }
        int kind = 0;
        while (kind < k.kinds && !std::equal(row, row + COLUMNS, k.worth[kind])) ++kind;
        if (kind == k.kinds) {
            std::copy(row, row + COLUMNS, k.worth[kind]);
            k.count[kind] = 0;
            ++k.kinds;
        }
        k.change(kind, +1);
    }
    return k;
}

// How many orders `cards` of `unseen` cards can come in.
double orders(int unseen, int cards) {
    double n = 1;
    for (int i = 0; i < cards; ++i) n *= unseen - i;
    return n;
}

// The free columns' worth at the end of the round, summed over every order
// in which their cards can come from the `unseen` cards: a mean times the
// number of orders, so that in the last round, where the worths are points,
// it is an exact integer and equal choices tie exactly. At least one column
// is free; the last one takes whatever comes.
double roundTotal(Kinds& k, int free, int unseen) {
    const int columns = std::popcount(static_cast<unsigned>(free));
    if (columns == 1) return k.sum[std::countr_zero(static_cast<unsigned>(free))];
    const double later = orders(unseen - 1, columns - 1);
    double total = 0;
    for (int kind = 0; kind < k.kinds; ++kind) {
        const int count = k.count[kind];
        if (count == 0) continue;
        k.change(kind, -1);
        double best = -1;
        for (int n = 0; n < COLUMNS; ++n) {
            if (!(free >> n & 1)) continue;
            const double worth = k.worth[kind][n] * later + roundTotal(k, free & ~(1 << n), unseen - 1);
            if (worth > best) best = worth;
        }
        k.change(kind, +1);
        total += count * best;
    }
    return total;
}

}  // namespace

void place(Board& board, int n, int card) {
    board.columns[n] = with(board.columns[n], card);
    board.free &= ~(1 << n);
    if (board.free == 0) board.free = (1 << COLUMNS) - 1;
}

int choose(const Board& board, int card) {
    const unsigned free = static_cast<unsigned>(board.free);
    if (std::has_single_bit(free)) return std::countr_zero(free);
    Worths worths{board};
    const int unseen = std::popcount(board.unseen);
    const int rest = std::popcount(free) - 1;  // cards still to come this round
    double best = -1;
    int chosen = -1;
    for (int n = 0; n < COLUMNS; ++n) {
        if (!(free >> n & 1)) continue;
        const int others = board.free & ~(1 << n);
        Kinds k = kindsOf(board, others, worths);
        const Column column = with(board.columns[n], card);
        const double worth = columnValue(column, board.unseen) * orders(unseen, rest) + roundTotal(k, others, unseen);
        if (worth > best) {
            best = worth;
            chosen = n;
        }
    }
    return chosen;
}

}  // namespace sim
