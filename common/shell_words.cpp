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

std::optional<std::vector<std::string>> shell_words(const std::string& text) {
    std::vector<std::string> words;
    bool in_word = false, quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\'') quoted = false;
            else words.back() += c;
            continue;
        }
        if (c == ' ' || c == '\t') {
            in_word = false;
            continue;
        }
        if (!in_word) words.emplace_back();
        in_word = true;
        if (c == '\'') quoted = true;
        else if (c == '\\' && i + 1 < text.size()) words.back() += text[++i];
        else words.back() += c;
    }
    if (quoted) return std::nullopt;
    return words;
}

std::string replay_command(std::uint64_t seed, const std::vector<std::string>& player) {
    return "referee --seed " + std::to_string(seed) + " " + shell_quoted(player);
}

}  // namespace game
