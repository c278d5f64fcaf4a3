// A player between its clone and its exec: it takes its descriptors, its
// scratch folder, its limits, its Landlock rules and no capability, and
// executes its program (with its cell's seccomp filter, inherited). It is cloned by its cell's init
// sharing the init's memory until the exec, so it only makes system calls:
// it allocates nothing and reports a failure through its plan.
#pragma once

#include <csignal>
#include <sys/resource.h>
#include <sys/types.h>

#include "common/landlock.h"

namespace proc {

// The step of a start that failed: what the parent tells about it.
enum class Step : int {
    none = 0,
    clone,
    user_map,
    cgroup,
    private_mounts,
    proc_mount,
    scratch_mount,
    descriptors,
    seccomp,
    working_folder,
    limits,
    landlock,
    capabilities,
    exec,
};
const char* step_name(Step step);
inline constexpr unsigned step_bit(Step step) { return 1u << static_cast<int>(step); }

struct Limit {
    int resource = 0;
    rlim_t soft = 0, hard = 0;
};

inline constexpr int MAX_LIMITS = 8;
inline constexpr int MAX_RULES = 128;

struct PlayerPlan {
    int input = -1, output = -1, errors = -1;  // its 0, 1 and 2; -1: none (a trial)
    int ignored_signals[NSIG] = {};            // ours: the player has them at their default action
    int ignored_count = 0;
    const char* scratch = nullptr;             // its working folder
    Limit limits[MAX_LIMITS];
    int limit_count = 0;
    int landlock_abi = 0;                      // 0: no Landlock
    landlock::PathRule rules[MAX_RULES];
    int rule_count = 0;
    bool drop_capabilities = true;
    bool own_group = false;                    // a process group of its own, to be killed as one
    const char* program = nullptr;
    char* const* argv = nullptr;
    char* const* envp = nullptr;
    bool trial = false;                        // a trial of what works: nothing is executed, failures are noted
    // Reported.
    Step failed_step = Step::none;
    int failed_errno = 0;
    unsigned failed_steps = 0;                 // in a trial: the steps that did not work
};

// Clones the player of `plan` on `stack` (its top) and returns once it has
// executed its program or failed to; the plan then says which step failed.
// -1, errno set, when it cannot be cloned.
pid_t clone_player(PlayerPlan& plan, char* stack);

}  // namespace proc
