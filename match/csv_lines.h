// The text of a match's CSV as its reader takes it: one row a line, read
// with a bound on its length so that no line, however long it claims to be,
// is ever held whole; and the fields of a line, quoted as the writer quotes
// them. A line end inside a quoted field is no row of ours: the writer never
// writes one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"

namespace match {

// Far above the longest row the writer makes: a player's command is one
// argument (at most 128 KiB), quoted for a shell and then for the CSV.
inline constexpr std::size_t MAX_LINE_BYTES = 1 << 20;

struct CsvLine {
    std::string text;    // without its line end, nor a carriage return before it
    bool torn = false;   // the file ended before its line end
};

// The next line of `file`; nothing at its end. A failure (without the
// file's name) for a line longer than MAX_LINE_BYTES, or a read error.
[[nodiscard]] game::Result<std::optional<CsvLine>> next_csv_line(std::FILE* file);

// The fields of a line. A failure for a quote left open (a field that would
// go on to the next line) or a quote that neither opens nor closes a field;
// its message names the field's column, from the header's `columns`.
[[nodiscard]] game::Result<std::vector<std::string>> csv_fields(const std::string& line,
                                                              const std::vector<std::string>& columns);

}  // namespace match
