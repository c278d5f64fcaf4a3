// Counts in Romanian, as people write them: "1 împărțire", "2 împărțiri",
// "20 de împărțiri", "101 împărțiri".
#pragma once

#include <string>

namespace match {

struct Noun {
    const char* one;
    const char* many;
};

inline constexpr Noun DEALS_NOUN = {"împărțire", "împărțiri"};
inline constexpr Noun PLAYERS_NOUN = {"jucător", "jucători"};
inline constexpr Noun THREADS_NOUN = {"fir", "fire"};
inline constexpr Noun GAMES_NOUN = {"joc", "jocuri"};

// The number, then the noun: singular for 1, "de" before it where the last
// two digits are 00 or 20 to 99 (from 20 on).
std::string count_of(long long n, Noun noun);

// "15 din 60 de împărțiri" when only a part is counted, else as count_of.
std::string part_of(long long part, long long whole, Noun noun);

}  // namespace match
