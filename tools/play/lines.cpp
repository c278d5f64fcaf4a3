#include "tools/play/lines.h"

#include <cerrno>
#include <poll.h>
#include <string_view>
#include <unistd.h>

#include "common/process.h"

namespace play {

namespace {

constexpr std::size_t LINE_KEPT = 80;  // no command is longer
constexpr int WAIT_MS = 250;           // how soon an interrupt is seen while no line comes

void trim(std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    line = first == std::string::npos ? "" : line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool LineReader::next(std::string& line) {
    line.clear();
    bool begun = false;  // a byte of the line was read
    for (;;) {
        const std::size_t end = pending_.find('\n');
        const std::string_view part = std::string_view(pending_).substr(0, end);
        if (line.size() < LINE_KEPT) line += part.substr(0, LINE_KEPT - line.size());
        begun = begun || !part.empty() || end != std::string::npos;
        if (end != std::string::npos) {
            pending_.erase(0, end + 1);
            break;
        }
        pending_.clear();
        if (!fill()) {
            if (!begun) return false;
            break;  // a last line without its line end
        }
    }
    trim(line);
    return true;
}

// Reads what has come; false at the end, on a failure, or on an interrupt.
bool LineReader::fill() {
    char chunk[4096];
    for (;;) {
        if (proc::interrupt_signal() != 0) return false;
        pollfd input{fd_, POLLIN, 0};
        const int ready = ::poll(&input, 1, WAIT_MS);
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return false;
        pending_.assign(chunk, static_cast<std::size_t>(got));
        return true;
    }
}

}  // namespace play
