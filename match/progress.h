// The progress of a match on standard error: deals done of all, the share,
// the rate, the time gone and the time left. On a terminal one line redrawn
// in place; otherwise a plain line every few seconds, and once more at the end.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace match {

class Progress {
public:
    Progress(std::size_t total, bool shown);
    void step();    // one more deal done; not thread-safe, callers serialise
    void tell(std::string detail) { detail_ = std::move(detail); }  // shown after the counts from now on
    void finish();  // the last count: cleared on a terminal, written once more elsewhere
    double elapsed_seconds() const;

private:
    void draw(const char* end);

    std::size_t total_, done_ = 0;
    std::string detail_;
    bool shown_, terminal_;
    std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace match
