#include "match/progress.h"

#include <cstdio>
#include <unistd.h>

namespace match {

namespace {
constexpr std::chrono::milliseconds TERMINAL_EVERY(100);
constexpr std::chrono::milliseconds LOG_EVERY(5000);
}  // namespace

Progress::Progress(std::size_t total)
    : total_(total), terminal_(::isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()), last_(start_) {}

void Progress::step() {
    ++done_;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < (terminal_ ? TERMINAL_EVERY : LOG_EVERY)) return;
    last_ = now;
    draw(terminal_ ? "" : "\n");
}

void Progress::draw(const char* end) {
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = elapsed > 0 ? static_cast<double>(done_) / elapsed : 0;
    const double left = rate > 0 ? static_cast<double>(total_ - done_) / rate : 0;
    std::fprintf(stderr, "%s%zu/%zu gata, %.1f/s, mai sunt ~%.0f s%s", terminal_ ? "\r\033[K" : "", done_, total_, rate,
                 left, end);
    std::fflush(stderr);
}

void Progress::finish() {
    if (terminal_ && done_ > 0) std::fputs("\r\033[K", stderr);
}

}  // namespace match
