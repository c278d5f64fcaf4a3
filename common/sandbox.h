// The sandbox that every judged player runs in. Each worker slot has a cell
// (common/cell.h): an init of ours in fresh namespaces (user where we are
// not root, processes, mounts with the cell's own /proc and a size-limited
// scratch file system, IPC, host name) and in cgroups (processes, memory), under the
// players' seccomp filter (no other process's memory, no mounts or
// namespaces, no socket but a local one), which starts one game's player at
// a time and kills whatever the player left when it ends. The player
// itself runs under Landlock (reads the system's folders and what it was
// given, writes only its own folder; no TCP, no signal or abstract socket
// outside its game), rlimits, no capability, a fixed environment and only
// descriptors 0-2.
//
// Where the kernel lacks a mechanism, `automatic` uses what there is and
// says what is missing; `require` refuses to run; `off` starts players as
// they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/result.h"
#include "common/slot_cgroups.h"
#include "common/seccomp_filter.h"

namespace proc {

enum class SandboxMode { automatic, require, off };
// As the command line says it: "auto", "require", "off".
const char* mode_name(SandboxMode mode);

// The bounds of one game's player; 0 leaves one unbounded.
struct PlayerLimits {
    // Address space. The sanitizer build's players reserve terabytes of
    // address space for their shadow memory: there it is unbounded by default.
#ifdef __SANITIZE_ADDRESS__
    std::uint64_t memory_mib = 0;
#else
    std::uint64_t memory_mib = 1024;
#endif
    std::uint64_t cpu_seconds = 600;  // of each process
    std::uint64_t open_files = 256;
    std::uint64_t disk_mib = 64;      // the scratch folder, and any file written
    std::uint64_t processes = 64;     // alive at once, the init included
};

struct SandboxSettings {
    SandboxMode mode = SandboxMode::automatic;
    PlayerLimits limits;
    std::vector<std::string> readable;  // --player-read, absolute
};

// The mechanisms in force: found by trying them once.
struct Isolation {
    bool enabled = false;          // false: --sandbox off
    int namespaces = 0;            // CLONE_NEW* flags in force: the cells'
    bool fresh_proc = false;       // a /proc of the cell's own processes
    bool scratch_limit = false;    // the scratch folder is a size-limited file system
    int landlock = 0;              // the Landlock version used; 0: none
    bool seccomp = false;
    bool pids_cgroup = false;
    bool memory_cgroup = false;    // a game's processes together are held to its memory
    bool process_limit = false;    // a process cap of some kind: the cgroup, or the user namespace's count

    // What a user is told is not enforced: empty when the isolation is whole.
    std::vector<std::string> missing() const;
    std::string missing_text() const;  // the same, as one list
    // One line: "deplină", "parțială; lipsesc: ...", "oprită (--sandbox off)".
    std::string summary() const;
    // Short names of what is in force, and of what is not, for JSON.
    std::vector<std::string> enforced_names() const;
    std::vector<std::string> missing_names() const;
};

struct CellPlan;
class Cell;

// One per run: found once, shared by every game of the run, with one cell
// per worker slot.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Finds what works here and makes a cell for each of `slots` games at
    // once, in folders under `folder` (ours, empty). We must have a single
    // thread: the cells are forks of us. A failure, with the reason, when
    // `require` is not met or a cell cannot be made.
    game::Status open(const SandboxSettings& settings, int slots, const std::string& folder);

    // Ends the cells, and so every game still in them; what the end does.
    void close();

    const Isolation& isolation() const { return isolation_; }
    const SandboxSettings& settings() const { return settings_; }
    bool enabled() const { return isolation_.enabled; }
    const Cell& cell(int slot) const;

    // Whether `slot`'s process cap refused a process, or its memory cap
    // killed one, since the last look.
    bool process_cap_reached(int slot);
    bool memory_cap_reached(int slot);

    // The folders a player may read besides what its command names.
    static const std::vector<std::string>& system_folders();

    // An output of ours that a player of one of `commands` could read
    // (where it would learn a deal, or what it may not know), as a message;
    // empty when there is none, or when no Landlock keeps players from
    // reading anything anyway.
    std::string exposed_output(const std::vector<std::vector<std::string>>& commands,
                               const std::vector<std::string>& outputs) const;

private:
    CellPlan plan_for(int slot, const std::string& folder) const;
    game::Status find_isolation(const std::string& folder);
    game::Status find_namespaces(const std::string& trial_folder);
    game::Status make_cells(int slots, const std::string& folder);

    // A scratch file system holds this many files at most: empty files
    // take no room, but each takes the kernel's memory.
    static constexpr int SCRATCH_INODES = 10000;

    SandboxSettings settings_;
    Isolation isolation_;
    SeccompFilter seccomp_;
    SlotCgroups cgroups_;
    std::vector<int> ignored_signals_;  // ours, that the players must not inherit
    std::vector<Cell> cells_;
};

// The player's command with its program and every argument that names an
// existing file or folder made absolute against our working folder: a
// player runs in its scratch folder, and may read only what it was given.
std::vector<std::string> absolute_command(const std::vector<std::string>& command);

// Marks the calling process as not dumpable: no other process of the user
// may trace it or read its memory. False when the kernel refuses.
bool refuse_tracing();

}  // namespace proc
