#include "common/sandbox.h"

#include <cerrno>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/landlock.h"
#include "common/cell.h"
#include "common/sandbox_child.h"

namespace proc {

namespace {

constexpr int ALL_NAMESPACES = CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNS | CLONE_NEWIPC | CLONE_NEWUTS;
// Whether `path` is `place` or lies beneath it, as the kernel resolves both.
bool beneath(const std::string& path, const std::string& place) {
    std::error_code failed;
    const auto target = std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
    const auto root = std::filesystem::weakly_canonical(std::filesystem::absolute(place, failed), failed);
    if (failed) return false;
    const auto root_end = std::mismatch(root.begin(), root.end(), target.begin(), target.end()).first;
    return root_end == root.end() || (std::next(root_end) == root.end() && root_end->empty());
}

// The places, each once, as the kernel will see them: where /bin is a link
// into /usr, a rule for /usr covers it already, and each rule costs every game.
std::vector<std::string> distinct_places(const std::vector<std::string>& system, const std::vector<std::string>& more) {
    std::vector<std::string> real;
    for (const auto& list : {system, more}) {
        for (const std::string& place : list) {
            std::error_code failed;
            const std::string path = std::filesystem::canonical(place, failed).string();
            if (!failed) real.push_back(path);
        }
    }
    std::vector<std::string> places;
    for (const std::string& path : real) {
        const bool covered = std::any_of(real.begin(), real.end(), [&](const std::string& other) {
            return other != path && beneath(path, other);
        });
        if (!covered) places.push_back(path);
    }
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    return places;
}

void add_limits(const PlayerLimits& limits, int namespaces, PlayerPlan& player) {
    player.limit_count = 0;
    // A limit of ours that is lower stays: a player gets no more than we have.
    auto add = [&](int resource, std::uint64_t soft, std::uint64_t hard) {
        rlimit ours{RLIM_INFINITY, RLIM_INFINITY};
        ::getrlimit(static_cast<__rlimit_resource>(resource), &ours);
        const rlim_t top = ours.rlim_max;
        player.limits[player.limit_count++] = {resource, std::min(static_cast<rlim_t>(soft), top),
                                               std::min(static_cast<rlim_t>(hard), top)};
    };
    add(RLIMIT_CORE, 0, 0);  // a crash leaves no core in the scratch folder
    if (limits.memory_mib) add(RLIMIT_AS, limits.memory_mib << 20, limits.memory_mib << 20);
    // The soft limit sends SIGXCPU, the hard one a second later SIGKILL.
    if (limits.cpu_seconds) add(RLIMIT_CPU, limits.cpu_seconds, limits.cpu_seconds + 1);
    if (limits.open_files) add(RLIMIT_NOFILE, limits.open_files, limits.open_files);
    if (limits.disk_mib) add(RLIMIT_FSIZE, limits.disk_mib << 20, limits.disk_mib << 20);
    // Counted per user namespace: the cell's processes alone.
    if (limits.processes && (namespaces & CLONE_NEWUSER)) add(RLIMIT_NPROC, limits.processes, limits.processes);
}

}  // namespace

Sandbox::Sandbox() = default;
Sandbox::~Sandbox() { close(); }

void Sandbox::close() { cells_.clear(); }

const std::vector<std::string>& Sandbox::system_folders() {
    static const std::vector<std::string> folders = {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32",
                                                     "/etc", "/sys"};
    return folders;
}

const Cell& Sandbox::cell(int slot) const { return cells_[static_cast<std::size_t>(slot)]; }

game::Status Sandbox::open(const SandboxSettings& settings, int slots, const std::string& folder) {
    settings_ = settings;
    isolation_ = Isolation{};
    cells_.clear();
    if (settings.mode == SandboxMode::off) return {};
    isolation_.enabled = true;
    // A filter that cannot be built is told as missing seccomp, not by its reason.
    isolation_.seccomp = static_cast<bool>(seccomp_.build());
    cgroups_.make(slots, {settings.limits.processes, settings.limits.memory_mib << 20});
    isolation_.pids_cgroup = cgroups_.caps_processes();
    isolation_.memory_cgroup = cgroups_.caps_memory();
    isolation_.landlock = landlock::abi_version();
    // SIGPIPE is ignored from our first start on; the others as we were started.
    ignored_signals_ = {SIGPIPE};
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        if (signal != SIGPIPE && ::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) {
            ignored_signals_.push_back(signal);
        }
    }
    if (game::Status found = find_isolation(folder); !found) return found;
    if (settings.mode == SandboxMode::require && !isolation_.missing().empty()) {
        return game::failure("izolarea cerută (--sandbox require) nu este posibilă aici; lipsesc: " +
                             isolation_.missing_text());
    }
    return make_cells(slots, folder);
}

// A trial cell, from the most namespaces to the fewest (a user namespace
// where we may make one, else the others where we are root, else none):
// the first that can be made says what works here.
game::Status Sandbox::find_isolation(const std::string& folder) {
    const std::string trial_folder = folder + "/trial";
    if (::mkdir(trial_folder.c_str(), 0700) != 0) return game::failure(trial_folder + ": " + std::strerror(errno));
    game::Status found = find_namespaces(trial_folder);
    ::rmdir(trial_folder.c_str());  // empty, its trial cell gone: nothing of it is left for the end
    return found;
}

game::Status Sandbox::find_namespaces(const std::string& trial_folder) {
    std::string why;  // of the last trial cell that could not be made
    for (int namespaces : {ALL_NAMESPACES, ALL_NAMESPACES & ~CLONE_NEWUSER, 0}) {
        isolation_.namespaces = namespaces;
        isolation_.fresh_proc = (namespaces & CLONE_NEWPID) && (namespaces & CLONE_NEWNS);
        isolation_.scratch_limit = (namespaces & CLONE_NEWNS) && settings_.limits.disk_mib > 0;
        Cell trial;
        if (const game::Status opened = trial.open(plan_for(0, trial_folder)); !opened) {
            why = opened.error();
            continue;
        }
        const unsigned steps = trial.failed_steps();
        if (steps & (step_bit(Step::user_map) | step_bit(Step::private_mounts) | step_bit(Step::clone) |
                     step_bit(Step::descriptors) | step_bit(Step::working_folder))) {
            continue;
        }
        isolation_.fresh_proc = isolation_.fresh_proc && !(steps & step_bit(Step::proc_mount));
        isolation_.scratch_limit = isolation_.scratch_limit && !(steps & step_bit(Step::scratch_mount));
        if (steps & step_bit(Step::landlock)) isolation_.landlock = 0;
        isolation_.seccomp = isolation_.seccomp && !(steps & step_bit(Step::seccomp));
        if (steps & step_bit(Step::cgroup)) isolation_.pids_cgroup = isolation_.memory_cgroup = false;
        // A user namespace counts its own processes against RLIMIT_NPROC;
        // root's are not capped that way.
        isolation_.process_limit =
            isolation_.pids_cgroup || ((namespaces & CLONE_NEWUSER) && ::geteuid() != 0 && settings_.limits.processes);
        return {};
    }
    return game::failure(why);
}

game::Status Sandbox::make_cells(int slots, const std::string& folder) {
    cells_.resize(static_cast<std::size_t>(slots));
    for (int slot = 0; slot < slots; ++slot) {
        const std::string cell_folder = folder + "/cell-" + std::to_string(slot);
        if (::mkdir(cell_folder.c_str(), 0700) != 0) return game::failure(cell_folder + ": " + std::strerror(errno));
        Cell& cell = cells_[static_cast<std::size_t>(slot)];
        if (game::Status opened = cell.open(plan_for(slot, cell_folder)); !opened) return opened;
        // What worked in the trial must work in every cell.
        for (int step = 1; step <= static_cast<int>(Step::exec); ++step) {
            const auto failed = static_cast<Step>(step);
            if (cell.failed_steps() & step_bit(failed)) {
                return game::failure(std::string("izolarea nu se poate pregăti: ") + step_name(failed));
            }
        }
    }
    return {};
}

CellPlan Sandbox::plan_for(int slot, const std::string& folder) const {
    const int namespaces = isolation_.namespaces;
    CellPlan plan;
    plan.namespaces = namespaces;
    plan.uid_map = std::to_string(::geteuid()) + " " + std::to_string(::geteuid()) + " 1";
    plan.gid_map = std::to_string(::getegid()) + " " + std::to_string(::getegid()) + " 1";
    plan.private_mounts = (namespaces & CLONE_NEWNS) && !(namespaces & CLONE_NEWUSER);
    plan.mount_proc = isolation_.fresh_proc;
    plan.folder = folder;
    if (isolation_.scratch_limit) {
        plan.folder_options = "size=" + std::to_string(settings_.limits.disk_mib) + "m,nr_inodes=" +
                              std::to_string(SCRATCH_INODES) + ",mode=0700";
    }
    if (isolation_.pids_cgroup || isolation_.memory_cgroup) plan.cgroup_procs = cgroups_.procs_fds(slot);
    plan.readable = distinct_places(system_folders(), settings_.readable);
    plan.own_proc_readable = isolation_.fresh_proc;
    PlayerPlan& player = plan.player;
    player.ignored_count = static_cast<int>(ignored_signals_.size());
    std::copy(ignored_signals_.begin(), ignored_signals_.end(), player.ignored_signals);
    player.landlock_abi = isolation_.landlock;
    plan.seccomp = isolation_.seccomp ? &seccomp_ : nullptr;
    // Without a namespace of processes, what the player starts is killed as its group.
    player.own_group = (namespaces & CLONE_NEWPID) == 0;
    add_limits(settings_.limits, namespaces, player);
    return plan;
}

bool Sandbox::process_cap_reached(int slot) { return isolation_.pids_cgroup && cgroups_.processes_refused(slot); }

bool Sandbox::memory_cap_reached(int slot) { return isolation_.memory_cgroup && cgroups_.memory_exhausted(slot); }

std::vector<std::string> absolute_command(const std::vector<std::string>& command) {
    std::vector<std::string> absolute = command;
    for (std::size_t i = 0; i < absolute.size(); ++i) {
        std::string& word = absolute[i];
        if (i == 0) word = program_path(word);
        std::error_code failed;
        const bool path = i == 0 ? word.find('/') != std::string::npos : std::filesystem::exists(word, failed);
        if (!path || word.starts_with("/")) continue;
        const auto made = std::filesystem::absolute(word, failed);
        if (!failed) word = made.lexically_normal().string();
    }
    return absolute;
}

std::string Sandbox::exposed_output(const std::vector<std::vector<std::string>>& commands,
                                   const std::vector<std::string>& outputs) const {
    if (isolation_.landlock == 0) return "";
    std::vector<std::string> readable = system_folders();
    readable.insert(readable.end(), settings_.readable.begin(), settings_.readable.end());
    // Absolute words of a command: the program, and the paths it was given.
    for (const auto& command : commands) {
        std::copy_if(command.begin(), command.end(), std::back_inserter(readable),
                     [](const std::string& word) { return word.starts_with("/"); });
    }
    // A player reads an output that lies in what it may read, and one in an
    // output folder (the records) that it was given by name.
    for (const std::string& output : outputs) {
        for (const std::string& place : readable) {
            if (output.empty() || !(beneath(output, place) || beneath(place, output))) continue;
            return output + ": un jucător l-ar putea citi (" + place + " îi este deschis); alegeți alt loc";
        }
    }
    return "";
}

bool refuse_tracing() { return ::prctl(PR_SET_DUMPABLE, 0) == 0; }

}  // namespace proc
