#include "common/record.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/files.h"
#include "common/int_scanner.h"

namespace game {

std::array<std::array<Card, HAND_SIZE>, COLUMNS> columns_of(const Deal& cards) {
    std::array<std::array<Card, HAND_SIZE>, COLUMNS> columns{};
    std::array<int, COLUMNS> size{};
    for (const Placement& placed : cards) columns[placed.column][size[placed.column]++] = placed.card;
    return columns;
}

GameRecord record_from_categories(const Deal& cards, const std::array<int, COLUMNS>& categories) {
    GameRecord record;
    record.cards = cards;
    record.categories = categories;
    for (int c = 0; c < COLUMNS; ++c) record.points[c] = CATEGORY_POINTS[categories[c]];
    record.total = board_score(categories);
    return record;
}

GameRecord scored_record(const Deal& cards) {
    std::array<int, COLUMNS> categories{};
    const auto columns = columns_of(cards);
    for (int c = 0; c < COLUMNS; ++c) categories[c] = category(columns[c]);
    return record_from_categories(cards, categories);
}

GameRecord error_record(int status, const std::string& message) {
    GameRecord record;
    record.status = status;
    record.message = message.substr(0, MESSAGE_MAX - 1);
    for (char& c : record.message) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return record;
}

std::string format_record(const GameRecord& record) {
    if (record.status != 0) return std::to_string(record.status) + "\n" + record.message + "\n";
    std::string text = "0\n" + std::to_string(record.total) + "\n";
    for (int c = 0; c < COLUMNS; ++c) {
        text += std::to_string(record.categories[c]) + " " + std::to_string(record.points[c]) + " ";
    }
    text += "\n";
    for (const Placement& placed : record.cards) {
        text += std::to_string(placed.card.rank) + " " + std::to_string(placed.card.suit) + " " +
                std::to_string(placed.column) + "\n";
    }
    return text;
}

Status write_record(const std::string& path, const GameRecord& record, Durability durability) {
    return replace_file(path, format_record(record), Target::any, durability);
}

namespace {

// Reads the integers of one record, turning every shortfall into a message.
class RecordReader {
public:
    RecordReader(const std::string& path, std::FILE* file) : path_(path), scanner_(file) {}

    // The next integer; `what` names it in the message when there is none.
    Result<int> integer(const std::string& what) {
        switch (scanner_.next()) {
            case IntScanner::Got::number:
                if (scanner_.value() < INT_MIN || scanner_.value() > INT_MAX) {
                    return failure(path_ + ": " + what + " este prea mare: " + scanner_.text());
                }
                return static_cast<int>(scanner_.value());
            case IntScanner::Got::end:
                return failure(path_ + ": înregistrarea se termină înainte de " + what);
            case IntScanner::Got::not_number:
                return failure(path_ + ": în loc de " + what + " este „" + printable(scanner_.text()) + "”");
            case IntScanner::Got::read_error:
                break;
        }
        return failure(path_ + ": nu se poate citi: " + std::strerror(errno));
    }

    // The next integer, which must lie in 0..limit-1; `field` names it when it does not.
    Result<int> in_range(const std::string& what, const std::string& field, int limit) {
        const Result<int> value = integer(what);
        if (!value || (*value >= 0 && *value < limit)) return value;
        return failure(path_ + ": " + field + " " + std::to_string(*value) + " nu este între 0 și " +
                       std::to_string(limit - 1));
    }

    IntScanner& scanner() { return scanner_; }

private:
    const std::string& path_;
    IntScanner scanner_;
};

std::string nth_card(int index) { return "cartea " + std::to_string(index + 1); }

Result<Placement> read_placement(RecordReader& in, int index) {
    const std::string card = nth_card(index);
    const Result<int> rank = in.in_range("rangul la " + card, card + ": rangul", RANKS);
    if (!rank) return failure(rank.error());
    const Result<int> suit = in.in_range("culoarea la " + card, card + ": culoarea", SUITS);
    if (!suit) return failure(suit.error());
    const Result<int> column = in.in_range("coloana la " + card, card + ": coloana", COLUMNS);
    if (!column) return failure(column.error());
    return Placement{Card{*rank, *suit}, *column};
}

Status read_success_form(RecordReader& in, const std::string& path, GameRecord& record) {
    const Result<int> total = in.integer("scorul total");
    if (!total) return failure(total.error());
    record.total = *total;
    for (int c = 0; c < COLUMNS; ++c) {
        const std::string number = std::to_string(c + 1);
        const Result<int> category =
            in.in_range("categoria coloanei " + number, "coloana " + number + ": categoria", CATEGORIES);
        if (!category) return failure(category.error());
        const Result<int> points = in.integer("punctele coloanei " + number);
        if (!points) return failure(points.error());
        record.categories[c] = *category;
        record.points[c] = *points;
    }
    std::array<int, COLUMNS> named{};
    for (int i = 0; i < DEALT; ++i) {
        const Result<Placement> placed = read_placement(in, i);
        if (!placed) return failure(placed.error());
        if (++named[placed->column] > HAND_SIZE) {
            return failure(path + ": " + nth_card(i) + ": coloana cu indicele " + std::to_string(placed->column) +
                           " apare de mai mult de cinci ori");
        }
        record.cards[i] = *placed;
    }
    return {};
}

}  // namespace

Result<GameRecord> read_record(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) return failure(path + ": nu se poate deschide: " + std::strerror(errno));
    return read_record(file.get(), path);
}

Result<GameRecord> read_record(std::FILE* file, const std::string& path) {
    RecordReader in(path, file);
    GameRecord read;
    const Result<int> status = in.integer("starea jocului");
    if (!status) return failure(status.error());
    read.status = *status;
    const bool more = in.scanner().skip_space();
    if (in.scanner().failed()) return failure(path + ": nu se poate citi: " + std::strerror(errno));
    if (read.status != 0) {
        if (!more) return failure(path + ": starea " + std::to_string(read.status) + " nu este urmată de un mesaj");
        read.message = in.scanner().rest_of_line(MESSAGE_MAX);
    } else if (const Status success = read_success_form(in, path, read); !success) {
        return failure(success.error());
    }
    return read;
}

}  // namespace game
