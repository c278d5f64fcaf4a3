// Where the games of a match run: a root directory under TMPDIR, absolute so
// that a game finds its files whatever its working directory, with one
// directory per game inside. Both are removed with everything in them
// however the match ends, even where a player took away a permission.
#pragma once

#include <cstddef>
#include <string>

namespace match {

class ScratchRoot {
public:
    ScratchRoot() = default;
    ~ScratchRoot();
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    bool make(std::string& error);
    // False, with the reason, when it cannot be removed (it is then left).
    bool remove(std::string& error);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// One game's directory. The root is made again should a player have removed it.
class ScratchDir {
public:
    ScratchDir(const std::string& root, std::size_t task, std::string& error);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace match
