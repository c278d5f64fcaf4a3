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

bool read_deck(const std::string& path, Deck& deck, std::string& error) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) {
        error = path + ": nu se poate deschide: " + std::strerror(errno);
        return false;
    }
    return read_deck(file.get(), path, deck, error);
}

bool read_deck(std::FILE* file, const std::string& path, Deck& deck, std::string& error) {
    IntScanner scanner(file);
    Deck read{};
    std::array<int, DECK_SIZE> first_seen_at{};  // 0: not seen yet
    for (int position = 1; position <= DECK_SIZE; ++position) {
        switch (scanner.next()) {
            case IntScanner::Got::read_error:
                error = path + ": nu se poate citi: " + std::strerror(errno);
                return false;
            case IntScanner::Got::end:
                error = path + ": are doar " + std::to_string(position - 1) +
                        " numere, un pachet are 24 de coduri de cărți";
                return false;
            case IntScanner::Got::not_number:
                error = at(path, position) + " nu este un număr întreg: „" + printable(scanner.text()) + "”";
                return false;
            case IntScanner::Got::number:
                break;
        }
        const long long code = scanner.value();
        if (code < 0 || code >= DECK_SIZE) {
            error = at(path, position) + ": codul " + scanner.text() + " nu este între 0 și 23";
            return false;
        }
        if (first_seen_at[code] != 0) {
            error = at(path, position) + ": codul " + std::to_string(code) + " se repetă (apare și ca numărul " +
                    std::to_string(first_seen_at[code]) + ")";
            return false;
        }
        first_seen_at[code] = position;
        read[position - 1] = card_of_code(static_cast<int>(code));
    }
    deck = read;
    return true;
}

bool write_deck(const std::string& path, const Deck& deck, std::string& error) {
    std::string text;
    for (int i = 0; i < DECK_SIZE; ++i) {
        text += std::to_string(code_of(deck[i]));
        text += (i % COLUMNS == COLUMNS - 1) ? '\n' : ' ';
    }
    return replace_file(path, text, error);
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
