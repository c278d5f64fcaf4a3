#include "common/shell_words.h"

#include <algorithm>

namespace game {

namespace {

bool is_plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-_./:=@%+,").find(c) != std::string_view::npos;
}

std::string quoted(const std::string& word) {
    if (!word.empty() && std::all_of(word.begin(), word.end(), is_plain)) return word;
    std::string text = "'";
    for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

}  // namespace

std::string shell_quoted(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + quoted(word);
    return text;
}

std::string replay_command(std::uint64_t seed, const std::vector<std::string>& player) {
    return "referee --seed " + std::to_string(seed) + " " + shell_quoted(player);
}

}  // namespace game
