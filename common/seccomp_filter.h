// The system calls a player may not make, as a seccomp program: built once
// in the parent (building allocates), loaded by each cell's init once it is
// set up, and so inherited by every player it starts.
#pragma once

#include <linux/filter.h>
#include <string>
#include <vector>

#include "common/result.h"

namespace proc {

class SeccompFilter {
public:
    // Denies what reaches outside a game: tracing or reading another
    // process, mounting, new namespaces, kernel keyrings and modules, the
    // io_uring side door, IPC objects that would outlast a game, every
    // socket but a local one, and any connection to a named one.
    game::Status build();
    bool built() const { return !program_.empty(); }

    // Loads the program into the calling thread (no_new_privs first),
    // making only system calls: 0, or the errno of the failure.
    int load() const;

private:
    std::vector<sock_filter> program_;
};

}  // namespace proc
