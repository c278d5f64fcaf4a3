#include "common/deck_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/files.h"
#include "common/int_scanner.h"

namespace game {

namespace {

std::string at(const std::string& path, int position) {
    return path + ": numărul " + std::to_string(position) + " din 24";
}

}  // namespace

Result<Deck> read_deck(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) return failure(path + ": nu se poate deschide: " + std::strerror(errno));
    return read_deck(file.get(), path);
}

Result<Deck> read_deck(std::FILE* file, const std::string& path) {
    IntScanner scanner(file);
    Deck read{};
    std::array<int, DECK_SIZE> first_seen_at{};  // 0: not seen yet
    for (int position = 1; position <= DECK_SIZE; ++position) {
        switch (scanner.next()) {
            case IntScanner::Got::read_error:
                return failure(path + ": nu se poate citi: " + std::strerror(errno));
            case IntScanner::Got::end:
                return failure(path + ": are doar " + std::to_string(position - 1) +
                               " numere, un pachet are 24 de coduri de cărți");
            case IntScanner::Got::not_number:
                return failure(at(path, position) + " nu este un număr întreg: „" + printable(scanner.text()) + "”");
            case IntScanner::Got::number:
                break;
        }
        const long long code = scanner.value();
        if (code < 0 || code >= DECK_SIZE) {
            return failure(at(path, position) + ": codul " + scanner.text() + " nu este între 0 și 23");
        }
        if (first_seen_at[code] != 0) {
            return failure(at(path, position) + ": codul " + std::to_string(code) +
                           " se repetă (apare și ca numărul " + std::to_string(first_seen_at[code]) + ")");
        }
        first_seen_at[code] = position;
        read[position - 1] = card_of_code(static_cast<int>(code));
    }
    return read;
}

Status write_deck(const std::string& path, const Deck& deck) {
    std::string text;
    for (int i = 0; i < DECK_SIZE; ++i) {
        text += std::to_string(code_of(deck[i]));
        text += (i % COLUMNS == COLUMNS - 1) ? '\n' : ' ';
    }
    return replace_file(path, text);
}

bool is_full_deck(const Deck& deck) {
    std::array<bool, DECK_SIZE> seen{};
    for (const Card& card : deck) {
        if (card.rank < 0 || card.rank >= RANKS || card.suit < 0 || card.suit >= SUITS) return false;
        if (seen[code_of(card)]) return false;
        seen[code_of(card)] = true;
    }
    return true;
}

}  // namespace game
