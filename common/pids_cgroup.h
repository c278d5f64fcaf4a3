// The process cap of the players: a pids cgroup per worker slot, made once
// per run under our own cgroup where we may make cgroups (as root, or in a
// delegated subtree), with cgroup v2 or v1. Each game's init moves itself
// into its slot before it starts the player, so that everything the player
// starts counts against the slot's cap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace proc {

class PidsCgroup {
public:
    PidsCgroup() = default;
    ~PidsCgroup();
    PidsCgroup(const PidsCgroup&) = delete;
    PidsCgroup& operator=(const PidsCgroup&) = delete;

    // Makes `slots` cgroups of at most `processes` processes each. False,
    // with the reason, where none can be made here.
    [[nodiscard]] bool make(int slots, std::uint64_t processes, std::string& error);
    bool made() const { return !slots_.empty(); }

    // The slot's cgroup.procs, open for writing "0" (the writer itself).
    int procs_fd(int slot) const { return slots_[static_cast<std::size_t>(slot)].procs; }

    // Whether the slot's cap refused a process since the last look.
    bool cap_reached(int slot);

private:
    struct Slot {
        std::string path;
        int procs = -1;
        long refused = 0;  // the count of pids.events seen last
    };
    void remove();

    std::string root_;
    std::vector<Slot> slots_;
};

}  // namespace proc
