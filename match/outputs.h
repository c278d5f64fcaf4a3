// Where match's results go: the tables on standard output, and the files
// asked for. A file named "-", or any path that leads to our own standard
// output (/dev/stdout, /proc/self/fd/1, the very file it is redirected to),
// is written there, after the tables, never replaced from under them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "match/match.h"
#include "match/options.h"
#include "match/summary.h"

namespace match {

bool is_standard_output(const std::string& path);

// The outputs asked for that are files of their own, not our standard output.
std::vector<std::string> files_asked_for(const Options& options);

// Each output is checked before the first game, not after the last.
[[nodiscard]] game::Status check_outputs(const Options& options);

// The seed and the command that replays the match, the tables, and the time
// a played match took.
void print_tables(const Options& options, const MatchConfig& config, const MatchSummary& summary,
                  std::optional<double> seconds);

// The heading and the tables (unless quiet), then every file asked for, the CSV through
// `csv` (given the whole CSV). False when something was lost, each loss told.
using CsvWriter = std::function<game::Status(const std::string& content)>;
[[nodiscard]] bool show_results(const Options& options, const MatchConfig& config,
                                const std::vector<DealOutcome>& deals, std::optional<double> seconds,
                                const CsvWriter& csv);

}  // namespace match
