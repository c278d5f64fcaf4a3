// The game record: a status, then either one message line (a game that went
// wrong) or the total, each column's category and points, and the 20 dealt
// cards with the column each went to.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "common/cards.h"
#include "common/files.h"
#include "common/result.h"

namespace game {

struct Placement {
    Card card;
    int column = 0;  // 0..3
};

using Deal = std::array<Placement, DEALT>;

struct GameRecord {
    int status = 0;          // 0: success form; otherwise the error form
    std::string message;     // error form only, as it is shown (line feed included when read)
    int total = 0;
    std::array<int, COLUMNS> categories{};
    std::array<int, COLUMNS> points{};
    Deal cards{};
};

constexpr std::size_t MESSAGE_MAX = 999;

// Scores a finished board by the reference rule. The deal must give every
// column exactly five cards.
GameRecord scored_record(const Deal& cards);
// A record whose categories are already known; points and total follow from them.
GameRecord record_from_categories(const Deal& cards, const std::array<int, COLUMNS>& categories);
// The error form; the message is cut to one line of at most 999 bytes.
GameRecord error_record(int status, const std::string& message);

// The record as text, in the exact layout that is written to files.
std::string format_record(const GameRecord& record);
// Per-game records of a match are many and replayable: they skip the disk flush.
Status write_record(const std::string& path, const GameRecord& record, Durability durability = Durability::on_disk);

// Reads a record and checks its layout and ranges: the categories, the card
// fields, each column named five times, a message after a non-zero status.
// Points and total are taken as written. On failure the message names the
// file and what is wrong.
Result<GameRecord> read_record(const std::string& path);
// The same from a stream already open; `path` only names it in messages.
Result<GameRecord> read_record(std::FILE* file, const std::string& path);

// The five cards of each column, in the order the columns received them.
std::array<std::array<Card, HAND_SIZE>, COLUMNS> columns_of(const Deal& cards);

}  // namespace game
