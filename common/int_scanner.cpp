#include "common/int_scanner.h"

#include <cctype>

namespace game {

namespace {
constexpr long long SATURATED = 1'000'000'000'000LL;
constexpr std::size_t MAX_SHOWN = 24;  // digits of a number quoted in a message

bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(int c) { return c >= '0' && c <= '9'; }
}  // namespace

bool IntScanner::skip_space() {
    int c;
    while ((c = std::getc(file_)) != EOF && is_space(c)) {}
    if (c == EOF) return false;
    std::ungetc(c, file_);
    return true;
}

std::string IntScanner::snippet_from(std::string bytes) {
    int c;
    while (bytes.size() < 16 && (c = std::getc(file_)) != EOF && !is_space(c)) bytes += static_cast<char>(c);
    return bytes;
}

IntScanner::Got IntScanner::next() {
    if (!skip_space()) return failed() ? Got::read_error : Got::end;
    int c = std::getc(file_);
    const int first = c;
    const bool sign = c == '+' || c == '-';
    if (sign) c = std::getc(file_);
    if (!is_digit(c)) {
        std::string seen(1, static_cast<char>(first));
        if (sign) {  // the byte after the sign is read already: show it too, if on the same word
            if (c == EOF || is_space(c)) {
                text_ = seen;
                return Got::not_number;
            }
            seen += static_cast<char>(c);
        }
        text_ = snippet_from(seen);
        return Got::not_number;
    }
    value_ = 0;
    text_.assign(first == '-' ? "-" : "");
    while (is_digit(c)) {
        if (value_ < SATURATED) value_ = value_ * 10 + (c - '0');
        if (text_.size() < MAX_SHOWN) text_ += static_cast<char>(c);
        c = std::getc(file_);
    }
    if (text_.size() == MAX_SHOWN) text_ += "...";
    if (c != EOF) std::ungetc(c, file_);
    if (first == '-') value_ = -value_;
    return Got::number;
}

std::string IntScanner::rest_of_line(std::size_t max) {
    std::string line;
    int c;
    while (line.size() < max && (c = std::getc(file_)) != EOF) {
        line += static_cast<char>(c);
        if (c == '\n') break;
    }
    return line;
}

std::string printable(std::string_view bytes, std::size_t max) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < max; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            static const char HEX[] = "0123456789abcdef";
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    if (bytes.size() > max) out += "...";
    return out;
}

}  // namespace game
