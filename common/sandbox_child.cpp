#include "common/sandbox_child.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/securebits.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>


namespace proc {

namespace {

// A step that did not work: the end of a start, or in a trial a note.
bool attempt(PlayerPlan& plan, Step step, bool worked) {
    if (worked) return true;
    if (plan.trial) {
        plan.failed_steps |= step_bit(step);
        return true;
    }
    plan.failed_step = step;
    plan.failed_errno = errno;
    return false;
}

// Exec resets the signals we catch; those we ignore it leaves ignored.
void default_signals(const PlayerPlan& plan) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int i = 0; i < plan.ignored_count; ++i) ::sigaction(plan.ignored_signals[i], &action, nullptr);
}

// The pipes become 0, 1 and 2, and nothing else stays open.
bool standard_descriptors(PlayerPlan& plan) {
    const int sources[] = {plan.input, plan.output, plan.errors};
    int moved[3] = {-1, -1, -1};
    bool done = true;
    for (int i = 0; i < 3; ++i) {
        if (sources[i] >= 0) done = done && (moved[i] = ::fcntl(sources[i], F_DUPFD_CLOEXEC, 3)) >= 0;
    }
    for (int i = 0; i < 3; ++i) {
        if (moved[i] >= 0) done = done && ::dup2(moved[i], i) == i;
    }
    return attempt(plan, Step::descriptors, done && ::syscall(SYS_close_range, 3, ~0U, 0) == 0);
}

bool take_limits(PlayerPlan& plan) {
    bool taken = true;
    for (int i = 0; i < plan.limit_count; ++i) {
        const rlimit limit{plan.limits[i].soft, plan.limits[i].hard};
        taken = taken && ::setrlimit(static_cast<__rlimit_resource>(plan.limits[i].resource), &limit) == 0;
    }
    return attempt(plan, Step::limits, taken);
}

bool take_landlock(PlayerPlan& plan) {
    if (plan.landlock_abi == 0) return true;
    const bool allowed = ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
    const int failed = allowed ? landlock::restrict_self(plan.landlock_abi, plan.rules, plan.rule_count) : errno;
    errno = failed;
    return attempt(plan, Step::landlock, failed == 0);
}

// Root, ours or the user namespace's, would be given every capability at
// exec: the secure bits make root no different, for good, and every set of
// the player's own is emptied.
bool drop_capabilities(PlayerPlan& plan) {
    if (!plan.drop_capabilities || ::geteuid() != 0) return true;
    const unsigned long bits = SECBIT_NOROOT | SECBIT_NOROOT_LOCKED | SECBIT_NO_CAP_AMBIENT_RAISE |
                               SECBIT_NO_CAP_AMBIENT_RAISE_LOCKED;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[2] = {};
    return attempt(plan, Step::capabilities,
                   ::prctl(PR_SET_SECUREBITS, bits, 0, 0, 0) == 0 && ::syscall(SYS_capset, &header, none) == 0);
}

int player_main(void* arg) {
    PlayerPlan& plan = *static_cast<PlayerPlan*>(arg);
    default_signals(plan);
    if (plan.own_group) ::setpgid(0, 0);
    if (standard_descriptors(plan) && attempt(plan, Step::working_folder, ::chdir(plan.scratch) == 0) &&
        take_limits(plan) && take_landlock(plan) && drop_capabilities(plan) && !plan.trial) {
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(plan.program, plan.argv, plan.envp);
        attempt(plan, Step::exec, false);
    }
    ::_exit(plan.trial ? 0 : 127);
}

}  // namespace

const char* step_name(Step step) {
    switch (step) {
        case Step::none: return "";
        case Step::clone: return "pornirea";
        case Step::user_map: return "spațiul de nume al utilizatorului";
        case Step::cgroup: return "cgroup-ul pids";
        case Step::private_mounts: return "montările proprii";
        case Step::proc_mount: return "/proc al jocului";
        case Step::scratch_mount: return "directorul de lucru limitat";
        case Step::descriptors: return "descriptorii";
        case Step::working_folder: return "directorul de lucru";
        case Step::limits: return "limitele";
        case Step::landlock: return "Landlock";
        case Step::capabilities: return "capabilitățile";
        case Step::seccomp: return "seccomp";
        case Step::exec: return "exec";
    }
    return "?";
}

pid_t clone_player(PlayerPlan& plan, char* stack) {
    return ::clone(player_main, stack, CLONE_VM | CLONE_VFORK | SIGCHLD, &plan);
}

}  // namespace proc
