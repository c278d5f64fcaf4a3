// The excerpt of a player's standard error that ends a fault's message: one
// line, safe to print, short, and never without the last thing it said.
#include <gtest/gtest.h>

#include "referee/error_excerpt.h"

namespace {

using referee::error_excerpt;
using referee::EXCERPT_MAX;

// Numbered notes, "note 0" to "note COUNT-1", one a line.
std::string notes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "note " + std::to_string(i) + "\n";
    return text;
}

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

struct ExcerptCase {
    const char* name;
    std::string errors;
    std::string excerpt;
};

class Excerpt : public ::testing::TestWithParam<ExcerptCase> {};

TEST_P(Excerpt, IsOneShortSafeLine) { EXPECT_EQ(error_excerpt(GetParam().errors), GetParam().excerpt); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Excerpt,
    ::testing::Values(
        ExcerptCase{"nothing", "", ""},
        ExcerptCase{"blank_lines_only", "\n  \r\n\t\n", ""},
        ExcerptCase{"python_traceback",
                    "Traceback (most recent call last):\n  File \"p.py\", line 3, in <module>\n    print(1/0)\n"
                    "ZeroDivisionError: division by zero\n",
                    "Traceback (most recent call last): ⏎ File \"p.py\", line 3, in <module> ⏎ print(1/0) ⏎ "
                    "ZeroDivisionError: division by zero"},
        ExcerptCase{"blank_lines_and_windows_line_ends_dropped", "first\r\n\r\n   \nsecond\r\n", "first ⏎ second"},
        ExcerptCase{"last_line_without_a_line_feed", "a\nb", "a ⏎ b"},
        // A terminal must not obey what a player wrote: escapes, bells and C1 controls are shown, not sent.
        ExcerptCase{"control_bytes_escaped", "\x1b[31mroșu\x07 \x7f!", "\\x1b[31mroșu\\x07 \\x7f!"},
        ExcerptCase{"tab_as_a_blank", "a\tb", "a b"},
        ExcerptCase{"utf8_kept", "Eroare: împărțire la zero — ⏎ 日本 😀", "Eroare: împărțire la zero — ⏎ 日本 😀"},
        ExcerptCase{"c1_control_escaped", "a\xc2\x9b" "b", "a\\xc2\\x9bb"},
        ExcerptCase{"invalid_utf8_escaped", "\xc3(\xed\xa0\x80\xe0\x80\xaf\xf4\x90\x80\x80\xff",
                    "\\xc3(\\xed\\xa0\\x80\\xe0\\x80\\xaf\\xf4\\x90\\x80\\x80\\xff"},
        ExcerptCase{"character_cut_at_the_end_of_the_text", "ab\xc8", "ab\\xc8"},
        ExcerptCase{"one_long_line_cut", std::string(1000, 'x'), std::string(EXCERPT_MAX, 'x') + "…"},
        ExcerptCase{"cut_between_characters", repeated("ș", 400), repeated("ș", EXCERPT_MAX / 2) + "…"},
        ExcerptCase{"many_lines_keep_the_first_and_the_last", notes(100) + "ValueError: bad card\n",
                    "note 0 ⏎ note 1 ⏎ note 2 ⏎ note 3 ⏎ note 4 ⏎ note 5 ⏎ note 6 ⏎ note 7 ⏎ note 8 ⏎ note 9 ⏎ "
                    "note 10 ⏎ note 11 ⏎ note 12 ⏎ note 13 ⏎ note 14 ⏎ note 15 ⏎ note 16 ⏎ note 17 ⏎ note 18 ⏎ "
                    "note 19 ⏎ note 20 ⏎ note 21 ⏎ note 22 ⏎ … ⏎ ValueError: bad card"},
        ExcerptCase{"blank_lines_after_the_last_word", notes(100) + "Killed\n\n\n",
                    "note 0 ⏎ note 1 ⏎ note 2 ⏎ note 3 ⏎ note 4 ⏎ note 5 ⏎ note 6 ⏎ note 7 ⏎ note 8 ⏎ note 9 ⏎ "
                    "note 10 ⏎ note 11 ⏎ note 12 ⏎ note 13 ⏎ note 14 ⏎ note 15 ⏎ note 16 ⏎ note 17 ⏎ note 18 ⏎ "
                    "note 19 ⏎ note 20 ⏎ note 21 ⏎ note 22 ⏎ note 23 ⏎ … ⏎ Killed"},
        // A long first and last line are both cut: each keeps its start.
        ExcerptCase{"long_first_and_last_lines", std::string(500, 'a') + "\nmiddle\n" + std::string(500, 'z'),
                    std::string(EXCERPT_MAX - 13 - 163, 'a') + "… ⏎ … ⏎ " + std::string(160, 'z') + "…"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
