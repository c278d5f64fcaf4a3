// Reads white-space separated decimal integers from a file the way a "%d"
// conversion does (leading white space skipped, optional sign, digits), but
// reports what it found instead of leaving undefined values behind.
#pragma once

#include <cstdio>
#include <string>

namespace game {

class IntScanner {
public:
    enum class Got { number, end, not_number, read_error };

    explicit IntScanner(std::FILE* file) : file_(file) {}

    // On `number`, value() holds it (saturated far outside int range, so
    // range checks stay simple) and text() its digits as written, for
    // messages; on `not_number`, text() shows what stood there.
    Got next();
    long long value() const { return value_; }
    const std::string& text() const { return text_; }

    // Skips white space; false at end of file.
    bool skip_space();
    // Reads the rest of the line, line feed included, keeping at most max bytes.
    std::string rest_of_line(std::size_t max);
    bool failed() const { return std::ferror(file_) != 0; }

private:
    std::string snippet_from(std::string bytes);

    std::FILE* file_;
    long long value_ = 0;
    std::string text_;
};

// Printable rendering of arbitrary bytes for messages: non-printable bytes as \xNN.
std::string printable(std::string_view bytes, std::size_t max = 24);

}  // namespace game
