// What a finished game shows, whatever shows it: the person's board and
// total, the ceiling's board of the same deal and the share of it reached,
// how every shipped player did on the deal, and how to deal it again.
#pragma once

#include <string>
#include <vector>

#include "common/record.h"
#include "tools/play/deal.h"

namespace play {

// A shipped player's game on the deal.
struct Rival {
    std::string name;
    bool scored = false;  // played to the end without a fault
    int score = 0;
    std::string problem;  // otherwise: what went wrong, in a few words
};

struct EndReport {
    DealChoice deal;
    game::GameRecord mine;
    game::GameRecord ceiling;
    std::vector<Rival> rivals;
    std::string record_problem;  // why the record asked for could not be written
};

// "1 punct", "2 puncte", "20 de puncte".
std::string points_text(int points);
// "10♦": the rank and the suit's symbol, which needs no colour to be read.
std::string card_text(game::Card card);
// "1, 2, 4": columns (0..3) as people number them.
std::string columns_text(const std::vector<int>& columns);
// The share of the ceiling reached, in whole percent rounded down: 100 only when it is reached.
int share_of_ceiling(int total, int ceiling);
// The person's place among those who scored: 1 + how many scored more.
int place_of(const EndReport& report);
int scored_count(const EndReport& report);  // the person included

// The lines of the end report, as --plain prints them.
std::vector<std::string> report_lines(const EndReport& report);

}  // namespace play
