#include "player_io.h"

#include <cstdlib>

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

void stop_player(const char* program, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    std::exit(1);
}

}  // namespace game
