#include "referee/error_excerpt.h"

#include <vector>

namespace referee {

namespace {

constexpr std::string_view LINE_BREAK = " ⏎ ";
constexpr std::string_view ELIDED = " ⏎ … ⏎ ";
constexpr std::string_view CUT = "…";
constexpr std::size_t LAST_LINE_MAX = 160;  // the rest of the excerpt is for the lines before it

// The non-blank lines, without the blanks around them.
std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::size_t shown_length(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return lead >= 0x20 && lead < 0x7f ? 1 : 0;
    const std::size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                               : lead >= 0xf0 && lead <= 0xf4                                ? 4
                                                                                             : 0;
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
    }
    // Overlong forms, UTF-16 surrogates, code points past U+10FFFF, and C1 controls.
    const unsigned char second = byte(1);
    const bool refused = (lead == 0xe0 && second < 0xa0) || (lead == 0xed && second >= 0xa0) ||
                         (lead == 0xf0 && second < 0x90) || (lead == 0xf4 && second >= 0x90) ||
                         (lead == 0xc2 && second < 0xa0);
    return refused ? 0 : length;
}

std::string shown_text(std::string_view line, std::size_t max) {
    static const char HEX[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = shown_length(line.substr(i));
        const auto byte = static_cast<unsigned char>(line[i]);
        std::string piece = length > 0 ? std::string(line.substr(i, length))
                            : byte == '\t' ? std::string(" ")
                                           : std::string{'\\', 'x', HEX[byte >> 4], HEX[byte & 15]};
        if (out.size() + piece.size() > max) return out + std::string(CUT);
        out += piece;
        i += length > 0 ? length : 1;
    }
    return out;
}

std::string error_excerpt(std::string_view errors) {
    const std::vector<std::string_view> lines = lines_of(errors);
    std::string whole;
    for (std::string_view line : lines) {
        whole += (whole.empty() ? "" : std::string(LINE_BREAK)) + shown_text(line, EXCERPT_MAX);
    }
    if (whole.size() <= EXCERPT_MAX || lines.size() == 1) return whole;
    const std::string last = shown_text(lines.back(), LAST_LINE_MAX);
    const std::size_t room = EXCERPT_MAX - ELIDED.size() - last.size();
    std::string head = shown_text(lines.front(), room);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string next = std::string(LINE_BREAK) + shown_text(lines[i], EXCERPT_MAX);
        if (head.size() + next.size() > room) break;
        head += next;
    }
    return head + std::string(ELIDED) + last;
}

}  // namespace referee
