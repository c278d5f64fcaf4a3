// A cell: the sandbox of one worker slot, made once per run. Its init is
// cloned into fresh namespaces (user where we are not root, processes,
// mounts with the cell's own /proc and a size-limited scratch file system,
// IPC, host name), joins the slot's cgroups, takes the players' seccomp
// filter, and then starts one game's player at a time: in a fresh folder of
// the game's own, under the player's Landlock rules and limits. When the
// player ends, the init kills and reaps everything else in the cell before
// it says so, and removes the game's folder before the next game.
//
// Creating namespaces, joining a cgroup and loading a seccomp filter for
// every game costs about as much as a game; a cell costs it once per slot.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "common/process.h"
#include "common/result.h"
#include "common/sandbox_child.h"
#include "common/seccomp_filter.h"

namespace proc {

// What a cell's init needs: made before the cells are cloned, and copied
// with our memory into each.
struct CellPlan {
    int namespaces = 0;            // CLONE_NEW* of the cell
    std::string uid_map, gid_map;  // written when a user namespace is made
    bool private_mounts = false;   // namespaces without a user one: keep our mounts from the host
    bool mount_proc = false;
    std::string folder;            // the cell's folder; each game gets a fresh one inside
    std::string folder_options;    // a size-limited tmpfs mounted on it; empty: none
    std::vector<int> cgroup_procs;  // the slot's cgroup.procs, one a hierarchy
    std::vector<std::string> readable;  // besides what a command names: the system's, and --player-read
    bool own_proc_readable = false;     // the cell's own /proc may be read
    const SeccompFilter* seccomp = nullptr;  // the init's once it is set up, and so every player's
    PlayerPlan player;             // what every player of the cell takes: signals, limits, Landlock
};

class Cell {
public:
    Cell() = default;
    ~Cell();
    Cell(Cell&& other) noexcept;
    Cell& operator=(Cell&& other) noexcept;
    Cell(const Cell&) = delete;
    Cell& operator=(const Cell&) = delete;

    // Clones the init, which sets the cell up and tries a player's steps
    // once without executing anything. We must have a single thread. A
    // failure, with the reason, when the init cannot be cloned or set up at all.
    game::Status open(const CellPlan& plan);
    // The steps that did not work in the init's set-up and trial (Step bits).
    unsigned failed_steps() const { return failed_steps_; }

    // Starts `argv` with `streams` (ours) as its standard input, output and
    // error; `pidfd` gets the player's, to stop it with. The game's end is
    // told on socket() (see Game).
    Started start(const std::vector<std::string>& argv, const int (&streams)[3], int& pidfd,
                  std::string& error) const;
    int socket() const { return socket_; }

private:
    void close();

    pid_t pid_ = -1;
    int pidfd_ = -1;
    int socket_ = -1;
    unsigned failed_steps_ = 0;
};

// A game's end as its cell tells it: false until it has ended, then its
// player's wait status. `wait` blocks until then.
bool cell_game_ended(int socket, bool wait, int& status);

// The init's side: sets the cell up, tries, then starts games until the
// socket closes. Never returns.
[[noreturn]] void run_cell(const CellPlan& plan, int socket);

}  // namespace proc
