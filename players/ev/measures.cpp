#include "players/ev/measures.h"

namespace ev {

double expectedValue[COLUMNS];

namespace {

double withoutCard(int n, int k) {
    EV(packs[n], k);
    return vavg;
}

void keepNothing(int, int) {}

double stored(int n, int) { return expectedValue[n]; }

void store(int n, int k) {
    EV(packs[n], k + 1);
    expectedValue[n] = vavg;
}

}  // namespace

const Measure FRESH = {withoutCard, keepNothing};
const Measure ANCHORED = {stored, store};

}  // namespace ev
