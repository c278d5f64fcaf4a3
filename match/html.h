// A match as one self-contained HTML page: the standings and pairwise
// differences as the terminal shows them, the score distributions, and a
// browser of the deals that sorts them by any player's score, gap to the
// ceiling or difference to another player, and shows every player's board
// of a deal beside the ceiling's. Nothing in it reaches the network.
#pragma once

#include <string>
#include <vector>

#include "match/summary.h"

namespace match {

std::string match_html(const MatchConfig& config, const MatchSummary& summary, const std::vector<DealOutcome>& deals);

// The data the page's script draws the deals from, as the page embeds it.
std::string report_data(const MatchConfig& config, const MatchSummary& summary,
                        const std::vector<DealOutcome>& deals);

}  // namespace match
