// The progress of a long run on standard error: a line redrawn in place on
// a terminal, otherwise a plain line every few seconds.
#pragma once

#include <chrono>
#include <cstddef>

namespace match {

class Progress {
public:
    explicit Progress(std::size_t total);
    void step();    // one more unit done; not thread-safe, callers serialise
    void finish();  // clears the line on a terminal

private:
    void draw(const char* end);

    std::size_t total_, done_ = 0;
    bool terminal_;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace match
