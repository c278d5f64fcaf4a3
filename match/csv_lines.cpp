#include "match/csv_lines.h"

#include <cerrno>
#include <cstring>

namespace match {

game::Result<std::optional<CsvLine>> next_csv_line(std::FILE* file) {
    CsvLine line;
    int c = 0;
    while ((c = getc_unlocked(file)) != EOF && c != '\n') {
        if (line.text.size() == MAX_LINE_BYTES) {
            return game::failure("mai lung de " + std::to_string(MAX_LINE_BYTES) + " de octeți");
        }
        line.text += static_cast<char>(c);
    }
    if (std::ferror(file)) return game::failure(std::string("nu se poate citi: ") + std::strerror(errno));
    if (c == EOF && line.text.empty()) return std::optional<CsvLine>();
    line.torn = c == EOF;
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    return std::optional(std::move(line));
}

game::Result<std::vector<std::string>> csv_fields(const std::string& line, const std::vector<std::string>& columns) {
    const auto column = [&](std::size_t field) {
        return field < columns.size() ? "coloana " + columns[field] : "câmpul " + std::to_string(field + 1);
    };
    std::vector<std::string> fields(1);
    bool quoted = false, closed = false;  // within quotes; after a field's closing quote
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (quoted) {
            quoted = c != '"';
            closed = !quoted;
            if (quoted) fields.back() += c;
        } else if (c == ',') {
            fields.emplace_back();
            closed = false;
        } else if (c == '"' && fields.back().empty() && !closed) {
            quoted = true;
        } else if (c == '"' || closed) {
            return game::failure(column(fields.size() - 1) + ": ghilimele în afara unui câmp întreg între ghilimele");
        } else {
            fields.back() += c;
        }
    }
    if (quoted) return game::failure(column(fields.size() - 1) + ": ghilimelele deschise nu se închid pe rândul lor");
    return fields;
}

}  // namespace match
