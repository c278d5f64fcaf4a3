#include "match/scratch.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/files.h"

namespace match {

ScratchRoot::~ScratchRoot() {
    std::string ignored;  // whoever cared has called remove() and heard why
    remove(ignored);
}

bool ScratchRoot::make(std::string& error) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string base = tmpdir && *tmpdir ? tmpdir : "/tmp";
    std::error_code failed;
    std::string pattern = (std::filesystem::absolute(base, failed) / "match-XXXXXX").string();
    if (failed || !::mkdtemp(pattern.data())) {
        error = base + ": nu se poate crea un director temporar: " +
                (failed ? failed.message() : std::string(std::strerror(errno)));
        return false;
    }
    path_ = pattern;
    return true;
}

bool ScratchRoot::remove(std::string& error) {
    const bool removed = path_.empty() || game::remove_tree(path_, error);
    path_.clear();
    return removed;
}

ScratchDir::ScratchDir(const std::string& root, std::size_t task, std::string& error)
    : path_(root + "/" + std::to_string(task)) {
    std::error_code failed;
    std::filesystem::create_directories(path_, failed);
    if (failed) error = path_ + ": nu se poate crea directorul de lucru: " + failed.message();
}

ScratchDir::~ScratchDir() {
    std::string ignored;  // what cannot go now goes with the root at the end
    game::remove_tree(path_, ignored);
}

}  // namespace match
