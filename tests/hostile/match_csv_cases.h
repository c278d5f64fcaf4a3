// The CSVs that match --merge and --resume must refuse, as rows of match's
// hostile table.
#pragma once

#include <vector>

#include "tests/hostile/hostile.h"

namespace hostile {

// Each file refused by both: status 2, one line naming the file and the
// row, the file untouched, no output written.
std::vector<Case> match_csv_cases();

}  // namespace hostile
