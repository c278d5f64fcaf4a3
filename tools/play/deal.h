// Which deal a game plays: a seed given, a fresh one, or the day's. The deck
// is shuffled as `referee --seed` shuffles it, so that a seed names one deal
// for every program of the suite.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "common/deck_file.h"

namespace play {

struct DealChoice {
    std::uint64_t seed = 0;
    std::string day;  // "2025-01-14" for the day's deal, else empty
};

// The day's seed is its date read as a number, 20250114: anyone can tell
// which day a seed is, and replay it with --seed.
std::uint64_t daily_seed(std::chrono::year_month_day day);
// Today's deal by the system clock's date in UTC, so that everyone has the
// same deal at the same moment wherever they are.
DealChoice todays_deal(std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
DealChoice fresh_deal();

game::Deck deck_of(const DealChoice& deal);

// "sămânța 7", or "împărțirea zilei 2025-01-14 (sămânța 20250114)".
std::string deal_title(const DealChoice& deal);
// The command that deals it again.
std::string replay_command(const DealChoice& deal);

}  // namespace play
