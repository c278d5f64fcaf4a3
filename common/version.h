// What every program answers to --version: the suite's version and the
// source commit it was built from.
#pragma once

#include <string>

namespace game {

extern const char* const VERSION;
extern const char* const COMMIT;

// "program VERSION (commit C)", with its line end.
inline std::string version_line(const char* program) {
    return std::string(program) + " " + VERSION + " (commit " + COMMIT + ")\n";
}

}  // namespace game
