// The tally player's module: its card codes, its model of the board and the
// choice of a column. Rank codes are 9, 10, 12, 13, 14, 15 (9 to A, no 11),
// suit codes 1 to 4 (C, D, H, S); 0 stands for an unknown character and for
// an empty slot alike. Columns and levels count from 1.
#pragma once

#include <cstdio>
#include <string_view>

#include "common/result.h"

namespace tally {

extern int carte;   // rank code of the card in hand
extern int simbol;  // suit code of the card in hand

// A fresh game: code tables filled, board empty, no column used, level 2.
void initi();

// Sets carte and simbol from a token of one to three bytes. The suit letter
// is the third byte of a ten, the second of any other card; a byte that the
// tables do not list, or a suit position past the token's end, reads as 0.
void decode_card(std::string_view token);

// Cards of carte's rank at levels 1 to the current level of a column. The
// current level's slot is empty, so a card of rank code 0 counts it too.
int rank_tally(int column);

// The column for the card in hand, among the columns free in this round.
int alege_coloana();

// Puts the card in hand at a level of a column and marks the column used.
void aseaza(int level, int column);

// Number of cards of carte's rank on the whole board.
int dubla_posibila();

// Frees every column for the next round.
void verif_combinatii();

// The whole game from a fresh start (initi): 20 tokens from `in`, 20
// answers on `out`, each flushed at once. Bad input stops the game before
// its answer: the failure says why.
[[nodiscard]] game::Status play(std::FILE* in, std::FILE* out);

}  // namespace tally
