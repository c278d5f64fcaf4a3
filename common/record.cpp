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

bool write_record(const std::string& path, const GameRecord& record, std::string& error, Durability durability) {
    return replace_file(path, format_record(record), error, Target::any, durability);
}

namespace {

// Reads the integers of one record, turning every shortfall into a message.
class RecordReader {
public:
    RecordReader(const std::string& path, std::FILE* file) : path_(path), scanner_(file) {}

    bool integer(const std::string& what, int& value, std::string& error) {
        switch (scanner_.next()) {
            case IntScanner::Got::number:
                if (scanner_.value() < INT_MIN || scanner_.value() > INT_MAX) {
                    error = path_ + ": " + what + " este prea mare: " + scanner_.text();
                    return false;
                }
                value = static_cast<int>(scanner_.value());
                return true;
            case IntScanner::Got::end:
                error = path_ + ": înregistrarea se termină înainte de " + what;
                return false;
            case IntScanner::Got::not_number:
                error = path_ + ": în loc de " + what + " este „" + printable(scanner_.text()) + "”";
                return false;
            case IntScanner::Got::read_error:
                break;
        }
        error = path_ + ": nu se poate citi: " + std::strerror(errno);
        return false;
    }

    bool in_range(const std::string& what, int value, int limit, std::string& error) {
        if (value >= 0 && value < limit) return true;
        error = path_ + ": " + what + " " + std::to_string(value) + " nu este între 0 și " + std::to_string(limit - 1);
        return false;
    }

    IntScanner& scanner() { return scanner_; }

private:
    const std::string& path_;
    IntScanner scanner_;
};

std::string nth_card(int index) { return "cartea " + std::to_string(index + 1); }

bool read_success_form(RecordReader& in, const std::string& path, GameRecord& record, std::string& error) {
    if (!in.integer("scorul total", record.total, error)) return false;
    for (int c = 0; c < COLUMNS; ++c) {
        const std::string column = "coloana " + std::to_string(c + 1);
        if (!in.integer("categoria coloanei " + std::to_string(c + 1), record.categories[c], error) ||
            !in.in_range(column + ": categoria", record.categories[c], CATEGORIES, error) ||
            !in.integer("punctele coloanei " + std::to_string(c + 1), record.points[c], error)) {
            return false;
        }
    }
    std::array<int, COLUMNS> named{};
    for (int i = 0; i < DEALT; ++i) {
        Placement& placed = record.cards[i];
        const std::string card = nth_card(i);
        if (!in.integer("rangul la " + card, placed.card.rank, error) ||
            !in.in_range(card + ": rangul", placed.card.rank, RANKS, error) ||
            !in.integer("culoarea la " + card, placed.card.suit, error) ||
            !in.in_range(card + ": culoarea", placed.card.suit, SUITS, error) ||
            !in.integer("coloana la " + card, placed.column, error) ||
            !in.in_range(card + ": coloana", placed.column, COLUMNS, error)) {
            return false;
        }
        if (++named[placed.column] > HAND_SIZE) {
            error = path + ": " + card + ": coloana cu indicele " + std::to_string(placed.column) +
                    " apare de mai mult de cinci ori";
            return false;
        }
    }
    return true;
}

}  // namespace

bool read_record(const std::string& path, GameRecord& record, std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) {
        error = path + ": nu se poate deschide: " + std::strerror(errno);
        return false;
    }
    return read_record(file.get(), path, record, error);
}

bool read_record(std::FILE* file, const std::string& path, GameRecord& record, std::string& error) {
    RecordReader in(path, file);
    GameRecord read;
    if (!in.integer("starea jocului", read.status, error)) return false;
    const bool more = in.scanner().skip_space();
    if (in.scanner().failed()) {
        error = path + ": nu se poate citi: " + std::strerror(errno);
        return false;
    }
    if (read.status != 0) {
        if (!more) {
            error = path + ": starea " + std::to_string(read.status) + " nu este urmată de un mesaj";
            return false;
        }
        read.message = in.scanner().rest_of_line(MESSAGE_MAX);
    } else if (!read_success_form(in, path, read, error)) {
        return false;
    }
    record = read;
    return true;
}

}  // namespace game
