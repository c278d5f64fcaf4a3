#include "match/csv_log.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "common/files.h"

namespace match {

CsvLog::~CsvLog() {
    if (fd_ >= 0) ::close(fd_);
}

game::Status CsvLog::start(const std::string& path, const std::string& content) {
    path_ = path;
    if (path.empty() || game::writes_in_place(path)) return {};
    if (const game::Status written = game::replace_file(path, content); !written) return written;
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd_ < 0) return game::failure(path + ": nu se poate scrie: " + std::strerror(errno));
    return {};
}

void CsvLog::append(const std::string& rows) {
    // One write a deal: its rows stand in the file whole, or the last line is
    // torn. After a failure (a full disk) nothing more is appended; the whole
    // file is written again at the end.
    std::string_view left = rows;
    while (fd_ >= 0 && !left.empty()) {
        const ssize_t n = ::write(fd_, left.data(), left.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        left.remove_prefix(static_cast<std::size_t>(n));
    }
}

game::Status CsvLog::finish(const std::string& content) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (path_.empty()) return {};
    return game::replace_file(path_, content);
}

}  // namespace match
