// Where the games run: a root folder under TMPDIR, absolute so that a game
// finds its files whatever its working folder, with a folder of a name
// nobody can foresee for each game inside. Both are removed with everything
// in them however the run ends, even where a player took away a permission.
#pragma once

#include <string>

#include "common/result.h"

namespace game {

class ScratchRoot {
public:
    ScratchRoot() = default;
    ~ScratchRoot();
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    // A fresh folder "PREFIX-XXXXXX" in TMPDIR.
    Status make(const std::string& prefix);
    // A failure, with the reason, when it cannot be removed (it is then left).
    Status remove();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// One game's folder. The root is made again should a player have removed it.
class ScratchDir {
public:
    ScratchDir(const std::string& root, std::string& error);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace game
