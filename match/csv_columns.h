// Where each field stands in a row of a match's CSV: shared by its writer
// and its reader.
#pragma once

#include <cstddef>

namespace match::csv_columns {

enum Column {
    DEAL, DECK_SEED, PLAYER, STATUS, SCORE, CATEGORY1, CEILING = CATEGORY1 + 4, SECONDS, CEILING_SECONDS,
    MATCH_SEED, DEALS, SHARD, ANSWERS, CEILING_ANSWERS, MESSAGE, COMMAND, TIMEOUT_MS
};
constexpr std::size_t COLUMNS = TIMEOUT_MS + 1;
constexpr std::size_t COLUMNS_WITHOUT_COMMANDS = COMMAND;

}  // namespace match::csv_columns
