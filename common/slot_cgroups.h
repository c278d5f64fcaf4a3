// The players' cgroups: one per worker slot, made once per run under our
// own cgroup where we may make cgroups (as root, or in a delegated
// subtree), with cgroup v2 or v1. Each cell's init joins its slot before it
// starts a player, so that everything a player starts counts against its
// slot's caps: its processes (pids), and their memory together (memory),
// which no per-process limit bounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace proc {

class SlotCgroups {
public:
    struct Caps {
        std::uint64_t processes = 0;     // 0: no pids cgroup
        std::uint64_t memory_bytes = 0;  // 0: no memory cgroup
    };

    SlotCgroups() = default;
    ~SlotCgroups();
    SlotCgroups(const SlotCgroups&) = delete;
    SlotCgroups& operator=(const SlotCgroups&) = delete;

    // Makes `slots` cgroups with these caps, for each controller that can be
    // had here; what cannot is left out.
    void make(int slots, const Caps& caps);
    bool caps_processes() const { return has("pids"); }
    bool caps_memory() const { return has("memory"); }

    // The slot's cgroup.procs, one a hierarchy, open for writing "0" (the writer itself).
    std::vector<int> procs_fds(int slot) const;

    // Whether the slot's cap refused a process, or killed one for memory,
    // since the last look.
    bool processes_refused(int slot);
    bool memory_exhausted(int slot);

private:
    struct Slot {
        std::string path;
        int procs = -1;
        long refused = 0, killed = 0;  // the counts of its events seen last
    };
    struct Hierarchy {
        std::string root;
        bool unified = false;              // cgroup v2
        std::vector<std::string> controllers;
        std::vector<Slot> slots;
    };
    bool make(Hierarchy& hierarchy, const std::string& folder, int slots, const Caps& caps);
    bool has(const std::string& controller) const;
    Slot* slot_of(const std::string& controller, int slot);
    static void remove(Hierarchy& hierarchy);

    std::vector<Hierarchy> hierarchies_;
};

}  // namespace proc
