#include "match/progress.h"

#include <cstdio>
#include <string>
#include <unistd.h>

#include "match/wording.h"

namespace match {

namespace {
constexpr std::chrono::milliseconds TERMINAL_EVERY(100);
constexpr std::chrono::milliseconds LOG_EVERY(5000);
}  // namespace

Progress::Progress(std::size_t total, bool shown)
    : total_(total),
      shown_(shown),
      terminal_(::isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()),
      last_(start_) {}

double Progress::elapsed_seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Progress::step() {
    ++done_;
    const auto now = std::chrono::steady_clock::now();
    if (!shown_ || now - last_ < (terminal_ ? TERMINAL_EVERY : LOG_EVERY)) return;
    last_ = now;
    draw(terminal_ ? "" : "\n");
}

void Progress::draw(const char* end) {
    const double elapsed = elapsed_seconds();
    const double rate = elapsed > 0 ? static_cast<double>(done_) / elapsed : 0;
    const double left = rate > 0 ? static_cast<double>(total_ - done_) / rate : 0;
    const double share = total_ ? 100.0 * static_cast<double>(done_) / static_cast<double>(total_) : 100;
    std::fprintf(stderr, "%s%zu din %s (%.1f%%), %.1f/s, %.1f s trecute, ~%.0f s rămase%s%s%s",
                 terminal_ ? "\r\033[K" : "", done_, count_of(static_cast<long long>(total_), DEALS_NOUN).c_str(), share,
                 rate, elapsed, left, detail_.empty() ? "" : "; ", detail_.c_str(), end);
    std::fflush(stderr);
}

void Progress::finish() {
    if (!shown_) return;
    if (terminal_) {
        if (done_ > 0) std::fputs("\r\033[K", stderr);
    } else {
        draw("\n");
    }
}

}  // namespace match
