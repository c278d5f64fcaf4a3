#include "common/player_io.h"

#include "common/int_scanner.h"

namespace game {

namespace {
bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

TokenRead read_token(std::FILE* in, char* buffer, std::size_t max, std::size_t& length) {
    int c;
    while ((c = std::getc(in)) != EOF && is_space(c)) {}
    length = 0;
    for (; c != EOF && !is_space(c); c = std::getc(in)) {
        if (length == max) {
            buffer[length] = '\0';
            return TokenRead::too_long;
        }
        buffer[length++] = static_cast<char>(c);
    }
    buffer[length] = '\0';
    return length == 0 ? TokenRead::end : TokenRead::ok;
}

std::string input_ended_before(int number) {
    return "intrarea s-a terminat înainte de cartea " + std::to_string(number);
}

std::string token_too_long(int number, const std::string& start, std::size_t max) {
    return "cartea " + std::to_string(number) + ": jetonul „" + printable(start) + "...” are mai mult de " +
           std::to_string(max) + " caractere";
}

Result<std::size_t> read_card_token(std::FILE* in, char* buffer, std::size_t max, int number) {
    std::size_t length = 0;
    switch (read_token(in, buffer, max, length)) {
        case TokenRead::end: return failure(input_ended_before(number));
        case TokenRead::too_long: return failure(token_too_long(number, buffer, max));
        case TokenRead::ok: break;
    }
    return length;
}

int player_exit_status(const char* program, const Status& game) {
    if (game) return 0;
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program, game.error().c_str());
    return 1;
}

}  // namespace game
