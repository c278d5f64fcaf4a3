// The best-arrangement search without its tables: every one of the 331,776
// boards has its four columns scored afresh by evalHand. The tool's search
// is held against it.
#pragma once

#include "common/deck_file.h"
#include "common/record.h"

namespace tools_test {

game::GameRecord plain_best_record(const game::Deck& cards);

}  // namespace tools_test
