// The players of a match as its command line names them. Each is a COMMAND,
// or NAME=COMMAND to give it a name; a command may carry arguments, given
// as one shell word and split on blanks (no shell is involved). Names are
// what the tables, the CSV and the records folder show: unique, and never
// the ceiling's. A player without a name is called by its program's file
// name, with -2, -3 after a second or third of the same file name.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "match/match.h"

namespace match {

// A bare program name is one of the programs built beside match when there
// is one, else looked up in PATH (proc::program_path). A failure with a
// message for an empty command, or a name given twice or reserved.
game::Result<std::vector<Player>> players_from(const std::vector<std::string>& given);

}  // namespace match
