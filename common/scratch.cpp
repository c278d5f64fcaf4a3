#include "common/scratch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "common/files.h"

namespace game {

ScratchRoot::~ScratchRoot() {
    std::string ignored;  // whoever cared has called remove() and heard why
    if (!remove(ignored)) return;
}

bool ScratchRoot::make(const std::string& prefix, std::string& error) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string base = tmpdir && *tmpdir ? tmpdir : "/tmp";
    std::error_code failed;
    std::string pattern = (std::filesystem::absolute(base, failed) / (prefix + "-XXXXXX")).string();
    if (failed || !::mkdtemp(pattern.data())) {
        error = base + ": nu se poate crea un director temporar: " +
                (failed ? failed.message() : std::string(std::strerror(errno)));
        return false;
    }
    path_ = pattern;
    return true;
}

bool ScratchRoot::remove(std::string& error) {
    // Empty, it goes without a descriptor, which a run that failed for want of them has none of.
    const bool removed = path_.empty() || ::rmdir(path_.c_str()) == 0 || remove_tree(path_, error);
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
    std::string ignored;  // what cannot go now goes with the root at the end
    if (!path_.empty()) remove_tree(path_, ignored);
}

}  // namespace game
