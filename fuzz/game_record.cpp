// The game-record reader (record-view's game.dat) fed from arbitrary bytes.
// An accepted record is safe to show: categories, ranks, suits and columns
// in range, each column named five times, a message of one line at most 999
// bytes; a success form reads back the same after it is written out again.
// A rejected record leaves the record untouched and gets one clean message
// naming the file.
#include <cstdio>
#include <string>

#include "common/record.h"
#include "fuzz/support.h"

namespace {

const std::string PATH = "game.dat";

struct RecordRead {
    bool ok;
    game::GameRecord record;
    std::string error;
};

game::GameRecord untouched() {
    game::GameRecord record;
    record.status = -12345;
    record.message = "untouched";
    return record;
}

RecordRead read(std::string_view bytes) {
    RecordRead r{false, untouched(), ""};
    std::FILE* file = fuzz::open_bytes(bytes);
    fuzz::require(file != nullptr, "the bytes open as a stream");
    const game::Result<game::GameRecord> record = game::read_record(file, PATH);
    r.ok = static_cast<bool>(record);
    if (record) r.record = *record;
    else r.error = record.error();
    std::fclose(file);
    return r;
}

bool same(const game::GameRecord& a, const game::GameRecord& b) {
    for (int i = 0; i < game::DEALT; ++i) {
        if (a.cards[i].card != b.cards[i].card || a.cards[i].column != b.cards[i].column) return false;
    }
    return a.status == b.status && a.message == b.message && a.total == b.total && a.categories == b.categories &&
           a.points == b.points;
}

void check_success_form(const game::GameRecord& record) {
    std::array<int, game::COLUMNS> named{};
    for (int c = 0; c < game::COLUMNS; ++c) {
        fuzz::require(record.categories[c] >= 0 && record.categories[c] < game::CATEGORIES, "a category is 0..8");
    }
    for (const game::Placement& placed : record.cards) {
        fuzz::require(placed.card.rank >= 0 && placed.card.rank < game::RANKS, "a rank is 0..5");
        fuzz::require(placed.card.suit >= 0 && placed.card.suit < game::SUITS, "a suit is 0..3");
        fuzz::require(placed.column >= 0 && placed.column < game::COLUMNS, "a column is 0..3");
        ++named[placed.column];
    }
    for (const int count : named) fuzz::require(count == game::HAND_SIZE, "each column is named five times");
    const RecordRead back = read(game::format_record(record));
    fuzz::require(back.ok && same(back.record, record), "a success form reads back the same once written");
}

void check_error_form(const game::GameRecord& record) {
    const std::string& message = record.message;
    fuzz::require(!message.empty() && message.size() <= game::MESSAGE_MAX, "a message has 1..999 bytes");
    const std::size_t line_end = message.find('\n');
    fuzz::require(line_end == std::string::npos || line_end + 1 == message.size(), "a message is one line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RecordRead r = read(fuzz::bytes_of(data, size));
    if (!r.ok) {
        fuzz::require(same(r.record, untouched()), "a rejected record changes nothing");
        fuzz::require(r.error.starts_with(PATH + ": "), "the message names the file");
        fuzz::require(fuzz::is_one_clean_line(r.error), "the message is one clean line");
        fuzz::require(!fuzz::quotes_an_integer(r.error), "what the message calls no integer is none");
    } else if (r.record.status == 0) {
        check_success_form(r.record);
    } else {
        check_error_form(r.record);
    }
    return 0;
}
