// Judging the bytes that a player has written so far as its answer to one
// card: the column digit 1..4 and a line feed, nothing else. Kept apart from
// the pipes so that any byte sequence can be checked in process.
#pragma once

#include <cstddef>
#include <string_view>

namespace referee {

enum class Verdict {
    incomplete,  // too few bytes yet to tell
    bad,         // no answer can start this way
    column,      // a well-formed answer
};

struct Answer {
    Verdict verdict = Verdict::incomplete;
    int column = -1;           // 0..3 on `column`
    std::size_t consumed = 0;  // `column`: the answer's bytes; `bad`: the line to show
};

// The verdict depends only on the first two bytes, so it never changes as
// more bytes arrive: how the pipe splits the output does not matter.
Answer judge_answer(std::string_view received);

}  // namespace referee
