#include "players/ev/unseen.h"

namespace ev {

int next[CARDS];
int prev[CARDS];
int first;

namespace {

int rankOf(char c) {
    switch (c) {
        case '9': return 0;
        case '1': return 1;
        case 'J': return 2;
        case 'Q': return 3;
        case 'K': return 4;
        case 'A': return 5;
        default: return -1;
    }
}

int suitOffset(char letter) {
    switch (letter) {
        case 'S': return 6;
        case 'H': return 12;
        case 'D': return 18;
        default: return 0;
    }
}

}  // namespace

int parseCard(const char* token) {
    const int rank = rankOf(token[0]);
    if (rank < 0) return -1;
    const char* suit = token + 1;
    // The ten's suit letter follows its '0'; stop at the terminator of a
    // token cut short ("1"), so a missing letter reads as '\0', a club.
    if (rank == 1 && *suit != '\0') ++suit;
    return suitOffset(*suit) + rank;
}

const char* cardText(int card) {
    static const char* const TEXT[CARDS] = {
        "9C", "10C", "JC", "QC", "KC", "AC", "9S", "10S", "JS", "QS", "KS", "AS",
        "9H", "10H", "JH", "QH", "KH", "AH", "9D", "10D", "JD", "QD", "KD", "AD"};
    return TEXT[card];
}

void initList() {
    for (int i = 0; i < CARDS; ++i) {
        prev[i] = i - 1;
        next[i] = i + 1;
    }
    next[CARDS - 1] = -1;
    first = 0;
}

void del(int card) {
    if (first == card) first = next[card];
    if (prev[card] >= 0) next[prev[card]] = next[card];
    if (next[card] >= 0) prev[next[card]] = prev[card];
}

}  // namespace ev
