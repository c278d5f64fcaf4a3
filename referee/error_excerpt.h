// What a player wrote on its standard error, cut down to fit on the one line
// of a fault message: its first lines and, where they are too many, its last
// non-empty one, which is where a program that dies usually says why.
#pragma once

#include <string>
#include <string_view>

namespace referee {

// At most about EXCERPT_MAX bytes: the non-blank lines, trimmed, joined by
// " ⏎ "; when they are longer, the first that fit, " ⏎ … ⏎ " and the last.
// Control bytes and invalid UTF-8 are shown as \xNN. "" for blank text.
std::string error_excerpt(std::string_view errors);

inline constexpr std::size_t EXCERPT_MAX = 300;

// The length of the character that `text` begins with when it may be shown
// as it is: printable ASCII, or well-formed UTF-8 other than a C1 control
// (U+0080..U+009F, which a terminal may obey). 0 otherwise.
std::size_t shown_length(std::string_view text);

// The text as it may be shown (a tab as a space, other bytes as \xNN), cut
// to about `max` bytes at a character's end, "…" after it.
std::string shown_text(std::string_view text, std::size_t max);

}  // namespace referee
