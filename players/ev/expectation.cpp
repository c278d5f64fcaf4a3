#include "players/ev/expectation.h"

#include "players/ev/points_table.h"
#include "players/ev/unseen.h"

namespace ev {

double vavg;
int vn;
long long scored;

void EV(int* pack, int k) {
    if (k == HAND) {
        vavg = evalTable(pack);
        ++scored;
        return;
    }
    vavg = 0;
    vn = 0;
    for (int c = first; c >= 0; c = next[c]) {
        pack[k] = c;
        EVrec(pack, k + 1);
    }
}

void EVrec(int* pack, int d) {
    if (d == HAND) {
        const int p = evalTable(pack);
        // Product first, then the sum, then the division: moves depend on
        // exact ties between these means.
        vavg = (p + static_cast<double>(vn) * vavg) / static_cast<double>(vn + 1);
        ++vn;
        ++scored;
        return;
    }
    for (int c = next[pack[d - 1]]; c >= 0; c = next[c]) {
        pack[d] = c;
        EVrec(pack, d + 1);
    }
}

}  // namespace ev
