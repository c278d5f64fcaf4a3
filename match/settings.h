// The settings of a match that both its command line and its CSV carry:
// each read, and range-checked, by one definition, so that a file says
// nothing that the command line could not have said.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/result.h"
#include "match/match.h"

namespace match {

inline constexpr int MAX_DEALS = 1'000'000;
inline constexpr int MAX_TIMEOUT_MS = 3'600'000;
// Every pair of players is compared, in the tables and the report: beyond
// a few dozen players nobody reads them, and they grow as the square.
inline constexpr std::size_t MAX_PLAYERS = 64;
// A game's record is named deal-NNNNNNN-NAME.dat, within a file name's 255 bytes.
inline constexpr std::size_t MAX_NAME_BYTES = 200;

// Each names `option` in its message ("--deals", or a CSV's "coloana deals").
[[nodiscard]] game::Result<int> deals_in(const std::string& option, const std::string& text);
// "K/N", 1 ≤ K ≤ N ≤ MAX_DEALS.
[[nodiscard]] game::Result<Shard> shard_in(const std::string& option, const std::string& text);
// Decimal or 0x hex, any 64 bits.
[[nodiscard]] game::Result<std::uint64_t> seed_in(const std::string& option, const std::string& text);
// The wait for an answer, in milliseconds.
[[nodiscard]] game::Result<int> timeout_in(const std::string& option, const std::string& text);
// 1..MAX_NAME_BYTES of printable UTF-8 without a '/' (a name is part of a
// record's file name), and not the ceiling's.
[[nodiscard]] game::Status player_name_in(const std::string& option, const std::string& name);
// At most MAX_PLAYERS.
[[nodiscard]] game::Status player_count_in(std::size_t count);

}  // namespace match
