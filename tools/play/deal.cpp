#include "tools/play/deal.h"

#include <cstdio>

#include "referee/shuffle.h"

namespace play {

std::uint64_t daily_seed(std::chrono::year_month_day day) {
    return static_cast<std::uint64_t>(static_cast<int>(day.year())) * 10000 + static_cast<unsigned>(day.month()) * 100 +
           static_cast<unsigned>(day.day());
}

DealChoice todays_deal(std::chrono::system_clock::time_point now) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(now)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                  static_cast<unsigned>(day.day()));
    return DealChoice{daily_seed(day), text};
}

DealChoice fresh_deal() { return DealChoice{referee::fresh_seed(), ""}; }

game::Deck deck_of(const DealChoice& deal) { return referee::shuffled_deck(deal.seed); }

std::string deal_title(const DealChoice& deal) {
    const std::string seed = "sămânța " + std::to_string(deal.seed);
    return deal.day.empty() ? seed : "împărțirea zilei " + deal.day + " (" + seed + ")";
}

std::string replay_command(const DealChoice& deal) { return "play --seed " + std::to_string(deal.seed); }

}  // namespace play
