#include "common/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace game {

bool replace_file(const std::string& path, std::string_view content, std::string& error) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = path + ": nu se poate scrie: " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const int write_errno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = path + ": nu se poate scrie: " + std::strerror(written ? errno : write_errno);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": nu se poate scrie: " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace game
