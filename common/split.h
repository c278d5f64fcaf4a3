// A text cut at a separator, its empty pieces dropped: lines, blank- or
// comma-separated fields, NUL-separated words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace game {

inline std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(separator), text.size());
        if (end > 0) pieces.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return pieces;
}

}  // namespace game
