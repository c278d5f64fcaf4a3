#include "common/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
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

bool remove_tree(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failed;
    fs::remove_all(path, failed);
    if (!failed) return true;
    // Give every directory inside back to its owner, then try once more.
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, failed);
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, failed);
         !failed && it != fs::recursive_directory_iterator(); it.increment(failed)) {
        std::error_code ignored;
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path, failed);
    if (!failed) return true;
    error = path + ": nu se poate șterge: " + failed.message();
    return false;
}

}  // namespace game
