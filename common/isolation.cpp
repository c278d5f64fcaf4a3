// How the sandbox in force is told: to a user on standard error, in the
// report, and by name in the JSON.
#include <sched.h>

#include "common/sandbox.h"

namespace proc {

namespace {

// Landlock versions: 4 closes TCP, 6 scopes signals and abstract sockets.
constexpr int LANDLOCK_TCP = 4, LANDLOCK_SCOPES = 6;

}  // namespace

const char* mode_name(SandboxMode mode) {
    switch (mode) {
        case SandboxMode::automatic: return "auto";
        case SandboxMode::require: return "require";
        case SandboxMode::off: return "off";
    }
    return "?";
}

std::vector<std::string> Isolation::missing() const {
    if (!enabled) return {};
    std::vector<std::string> gaps;
    if ((namespaces & CLONE_NEWPID) == 0) gaps.push_back("procesele jocului despărțite de ale noastre");
    if ((namespaces & CLONE_NEWPID) != 0 && !fresh_proc) gaps.push_back("un /proc doar al jocului");
    if ((namespaces & CLONE_NEWIPC) == 0) gaps.push_back("IPC despărțit");
    if (!scratch_limit) gaps.push_back("directorul de lucru limitat ca mărime");
    if (landlock == 0) gaps.push_back("Landlock (fișierele noastre)");
    if (landlock > 0 && landlock < LANDLOCK_TCP) gaps.push_back("Landlock pentru TCP");
    if (landlock > 0 && landlock < LANDLOCK_SCOPES) gaps.push_back("Landlock pentru semnale și socluri abstracte");
    if (!seccomp) gaps.push_back("seccomp (rețeaua, memoria altor procese)");
    if (!process_limit) gaps.push_back("limita de procese");
    return gaps;
}

std::string Isolation::summary() const {
    if (!enabled) return "oprită (--sandbox off)";
    return missing().empty() ? "deplină" : "parțială; lipsesc: " + missing_text();
}

std::string Isolation::missing_text() const {
    std::string text;
    for (const std::string& gap : missing()) text += (text.empty() ? "" : "; ") + gap;
    return text;
}

std::vector<std::string> Isolation::enforced_names() const {
    if (!enabled) return {};
    std::vector<std::string> names;
    const std::pair<int, const char*> kinds[] = {{CLONE_NEWUSER, "user-namespace"}, {CLONE_NEWPID, "pid-namespace"},
                                                 {CLONE_NEWNS, "mount-namespace"}, {CLONE_NEWIPC, "ipc-namespace"},
                                                 {CLONE_NEWUTS, "uts-namespace"}};
    for (const auto& [flag, name] : kinds) {
        if (namespaces & flag) names.push_back(name);
    }
    if (fresh_proc) names.push_back("own-proc");
    if (scratch_limit) names.push_back("scratch-tmpfs");
    if (landlock > 0) names.push_back("landlock-" + std::to_string(landlock));
    if (seccomp) names.push_back("seccomp");
    if (pids_cgroup) names.push_back("pids-cgroup");
    if (memory_cgroup) names.push_back("memory-cgroup");
    if (process_limit && !pids_cgroup) names.push_back("process-rlimit");
    names.insert(names.end(), {"rlimits", "fixed-environment", "descriptors-0-2"});
    return names;
}

std::vector<std::string> Isolation::missing_names() const {
    std::vector<std::string> names;
    if (!enabled) return names;
    if ((namespaces & CLONE_NEWPID) == 0) names.push_back("pid-namespace");
    if ((namespaces & CLONE_NEWPID) != 0 && !fresh_proc) names.push_back("own-proc");
    if ((namespaces & CLONE_NEWIPC) == 0) names.push_back("ipc-namespace");
    if (!scratch_limit) names.push_back("scratch-tmpfs");
    if (landlock < LANDLOCK_SCOPES) names.push_back(landlock == 0 ? "landlock" : "landlock-6");
    if (!seccomp) names.push_back("seccomp");
    if (!process_limit) names.push_back("process-limit");
    return names;
}

}  // namespace proc
