// The score distributions as one self-contained SVG: each player's box plot
// beside the ceiling's.
#pragma once

#include <cstdint>
#include <string>

#include "match/summary.h"

namespace match {

std::string match_svg(const MatchSummary& summary, std::uint64_t seed);

// Text made safe inside XML and HTML, as content or as an attribute's value.
std::string markup_escaped(const std::string& text);

}  // namespace match
