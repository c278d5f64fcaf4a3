// Small command-line helpers shared by the referee and the match runner.
#pragma once

#include <cstdint>
#include <string>

namespace referee {

// A whole decimal number within [min, max], nothing else.
bool parse_number(const std::string& text, std::uint64_t min, std::uint64_t max, std::uint64_t& value);

// "program: message" on standard error, then exit with the given status.
[[noreturn]] void die(const char* program, const std::string& message, int status);

}  // namespace referee
