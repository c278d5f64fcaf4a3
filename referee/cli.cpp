#include "referee/cli.h"

#include <cstdio>
#include <cstdlib>

namespace referee {

bool parse_number(const std::string& text, std::uint64_t min, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    std::uint64_t parsed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

void die(const char* program, const std::string& message, int status) {
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    std::exit(status);
}

}  // namespace referee
