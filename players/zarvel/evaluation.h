// Points of one finished five-card column, by a fixed chain of small tests.
// The order of the cards does not matter to any of them.
#pragma once

#include "players/zarvel/player_cards.h"

namespace zarvel {

bool culoare(Hand column);         // one suit
bool chinta(Hand column);          // five different consecutive ranks
bool careu(Hand column);           // some rank exactly four times
bool ful(Hand column);             // some rank exactly three times and another exactly twice
bool trei_bucati(Hand column);     // some rank exactly three times
int numar_perechi(Hand column);    // ranks present exactly twice

// 100, 50, 30, 20, 10, 5, 2, 1 or 0.
int eval_local(Hand column);

}  // namespace zarvel
