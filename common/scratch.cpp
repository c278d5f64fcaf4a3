#include "common/scratch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "common/files.h"

namespace game {

ScratchRoot::~ScratchRoot() {
    (void)remove();  // ignored: whoever cared has called remove() and heard why
}

Status ScratchRoot::make(const std::string& prefix) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string base = tmpdir && *tmpdir ? tmpdir : "/tmp";
    std::error_code failed;
    std::string pattern = (std::filesystem::absolute(base, failed) / (prefix + "-XXXXXX")).string();
    if (failed || !::mkdtemp(pattern.data())) {
        return failure(base + ": nu se poate crea un director temporar: " +
                       (failed ? failed.message() : std::string(std::strerror(errno))));
    }
    path_ = pattern;
    return {};
}

Status ScratchRoot::remove() {
    // Empty, it goes without a descriptor, which a run that failed for want of them has none of.
    const Status removed = (path_.empty() || ::rmdir(path_.c_str()) == 0) ? Status{} : remove_tree(path_);
    path_.clear();
    return removed;
}

ScratchDir::ScratchDir(const std::string& root, std::string& error) {
    std::error_code failed;
    std::filesystem::create_directories(root, failed);
    std::string pattern = root + "/XXXXXX";
    if (failed || !::mkdtemp(pattern.data())) {
        error = root + ": nu se poate crea directorul de lucru: " +
                (failed ? failed.message() : std::string(std::strerror(errno)));
        return;
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    if (!path_.empty()) (void)remove_tree(path_);  // ignored: what cannot go now goes with the root at the end
}

}  // namespace game
