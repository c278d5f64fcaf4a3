#include "referee/cli.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace referee {

bool parse_number(const std::string& text, std::uint64_t min, std::uint64_t max, std::uint64_t& value) {
    if (text.empty()) return false;
    std::uint64_t parsed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        // A fresh seed takes all 64 bits: 20 digits are a number as long as they fit.
        if (parsed > (UINT64_MAX - digit) / 10) return false;
        parsed = parsed * 10 + digit;
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
