// The settings of a match that both its command line and its CSV carry:
// each read, and range-checked, by one definition.
#pragma once

#include <cstdint>
#include <string>

#include "common/result.h"
#include "match/match.h"

namespace match {

inline constexpr int MAX_DEALS = 1'000'000;

// Named by `option` in the message ("--deals", or a CSV's column).
[[nodiscard]] game::Result<int> deals_in(const std::string& option, const std::string& text);
// "K/N", 1 ≤ K ≤ N ≤ MAX_DEALS.
[[nodiscard]] game::Result<Shard> shard_in(const std::string& option, const std::string& text);

}  // namespace match
