#include "common/slot_cgroups.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files.h"
#include "common/split.h"

namespace proc {

namespace {

std::string text_of(const std::string& path) {
    const game::Result<std::string> text = game::read_whole_file(path);
    return text ? *text : "";  // a file that cannot be read tells nothing: no cgroup
}

bool has_word(const std::string& list, const std::string& word, char separator) {
    for (const std::string& item : game::split(list, separator)) {
        if (item == word || item == word + "\n") return true;
    }
    return false;
}

// The folder of `cgroup` in the hierarchy mounted as `type` (with `option`
// among its options, for v1); empty when it is not mounted.
std::string mounted(const std::string& cgroup, const std::string& type, const std::string& option) {
    for (const std::string& line : game::split(text_of("/proc/self/mountinfo"), '\n')) {
        // ID PARENT DEVICE ROOT POINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPER_OPTIONS
        const std::vector<std::string> fields = game::split(line, ' ');
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || fields.end() - dash < 4) continue;
        const std::string &root = fields[3], &point = fields[4], &fs_type = dash[1], &options = dash[3];
        if (fs_type != type || (!option.empty() && !has_word(options, option, ','))) continue;
        if (root == "/") return point + cgroup;
        if (cgroup.rfind(root, 0) == 0) return point + cgroup.substr(root.size());
    }
    return "";
}

struct Place {
    std::string folder;
    bool unified = false;  // cgroup v2
};

// Where `controller` of our own cgroup is: our cgroup's path comes from
// /proc/self/cgroup, where its hierarchy is mounted from mountinfo. In v2
// when our cgroup hands the controller down to cgroups below it; else in
// its v1 hierarchy; empty when it is nowhere to be had.
Place place_of(const std::string& controller) {
    std::string v1, v2;
    for (const std::string& line : game::split(text_of("/proc/self/cgroup"), '\n')) {
        const std::size_t first = line.find(':'), second = line.find(':', first + 1);
        if (second == std::string::npos) continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        if (controllers.empty()) v2 = line.substr(second + 1);
        if (has_word(controllers, controller, ',')) v1 = line.substr(second + 1);
    }
    if (!v2.empty()) {
        const std::string folder = mounted(v2, "cgroup2", "");
        if (!folder.empty() && has_word(text_of(folder + "/cgroup.subtree_control"), controller, ' ')) {
            return {folder, true};
        }
    }
    return v1.empty() ? Place{} : Place{mounted(v1, "cgroup", controller), false};
}

// Whether the process still runs: a killed run whose parent never reaped it
// stays a zombie, which signals still reach.
bool runs(long pid) {
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) return false;
    const std::string stat = text_of("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t name_end = stat.rfind(')');
    return name_end == std::string::npos || stat.compare(name_end, 3, ") Z") != 0;
}

// The cgroups of runs that were killed before they could remove theirs:
// "columns-PID-*" whose PID runs no more. Only empty ones can go.
void remove_abandoned(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.rfind("columns-", 0) != 0 || runs(std::strtol(name.c_str() + 8, nullptr, 10))) continue;
        const std::string root = folder + "/" + name;
        if (DIR* slots = ::opendir(root.c_str())) {
            while (const dirent* slot = ::readdir(slots)) {
                if (std::string(slot->d_name).rfind("slot-", 0) == 0) ::rmdir((root + "/" + slot->d_name).c_str());
            }
            ::closedir(slots);
        }
        ::rmdir(root.c_str());
    }
    ::closedir(listing);
}

// The caps a slot's controller files hold.
std::vector<std::pair<std::string, std::string>> limits(const std::vector<std::string>& controllers, bool unified,
                                                        const SlotCgroups::Caps& caps) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& controller : controllers) {
        if (controller == "pids") files.push_back({"pids.max", std::to_string(caps.processes)});
        if (controller == "memory") {
            files.push_back({unified ? "memory.max" : "memory.limit_in_bytes", std::to_string(caps.memory_bytes)});
        }
    }
    return files;
}

// The count behind `key` in an events file of lines "KEY COUNT".
long event_count(const std::string& path, const std::string& key) {
    for (const std::string& line : game::split(text_of(path), '\n')) {
        if (line.rfind(key + " ", 0) == 0) return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
    return 0;
}

// Whether the count grew since `seen`, which it then becomes.
bool grew(long count, long& seen) {
    const bool more = count > seen;
    seen = count;
    return more;
}

}  // namespace

SlotCgroups::~SlotCgroups() {
    for (Hierarchy& hierarchy : hierarchies_) remove(hierarchy);
}

void SlotCgroups::make(int slots, const Caps& caps) {
    // The controllers that share a folder share a hierarchy (all of them in v2).
    std::map<std::string, Hierarchy> wanted;
    for (const auto& [controller, cap] : {std::pair{"pids", caps.processes}, {"memory", caps.memory_bytes}}) {
        const Place place = cap > 0 ? place_of(controller) : Place{};
        if (place.folder.empty()) continue;
        wanted[place.folder].unified = place.unified;
        wanted[place.folder].controllers.push_back(controller);
    }
    for (auto& [folder, hierarchy] : wanted) {
        if (make(hierarchy, folder, slots, caps)) hierarchies_.push_back(std::move(hierarchy));
    }
}

bool SlotCgroups::make(Hierarchy& hierarchy, const std::string& folder, int slots, const Caps& caps) {
    remove_abandoned(folder);
    std::string pattern = folder + "/columns-" + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) return false;
    hierarchy.root = pattern;
    std::string enable;
    for (const std::string& controller : hierarchy.controllers) enable += (enable.empty() ? "+" : " +") + controller;
    bool made = !hierarchy.unified || game::write_control_file(hierarchy.root + "/cgroup.subtree_control", enable);
    for (int s = 0; s < slots && made; ++s) {
        Slot slot{hierarchy.root + "/slot-" + std::to_string(s)};
        if (::mkdir(slot.path.c_str(), 0755) != 0) break;
        for (const auto& [file, value] : limits(hierarchy.controllers, hierarchy.unified, caps)) {
            made = made && game::write_control_file(slot.path + "/" + file, value);
        }
        slot.procs = made ? ::open((slot.path + "/cgroup.procs").c_str(), O_WRONLY | O_CLOEXEC) : -1;
        made = made && slot.procs >= 0;
        hierarchy.slots.push_back(slot);
    }
    made = made && static_cast<int>(hierarchy.slots.size()) == slots;
    if (!made) remove(hierarchy);
    return made;
}

bool SlotCgroups::has(const std::string& controller) const {
    return std::any_of(hierarchies_.begin(), hierarchies_.end(), [&](const Hierarchy& h) {
        return std::find(h.controllers.begin(), h.controllers.end(), controller) != h.controllers.end();
    });
}

SlotCgroups::Slot* SlotCgroups::slot_of(const std::string& controller, int slot) {
    for (Hierarchy& h : hierarchies_) {
        if (std::find(h.controllers.begin(), h.controllers.end(), controller) != h.controllers.end()) {
            return &h.slots[static_cast<std::size_t>(slot)];
        }
    }
    return nullptr;
}

std::vector<int> SlotCgroups::procs_fds(int slot) const {
    std::vector<int> fds;
    for (const Hierarchy& h : hierarchies_) fds.push_back(h.slots[static_cast<std::size_t>(slot)].procs);
    return fds;
}

bool SlotCgroups::processes_refused(int slot) {
    Slot* s = slot_of("pids", slot);
    return s && grew(event_count(s->path + "/pids.events", "max"), s->refused);
}

bool SlotCgroups::memory_exhausted(int slot) {
    Slot* s = slot_of("memory", slot);
    if (s == nullptr) return false;
    const bool unified = std::any_of(hierarchies_.begin(), hierarchies_.end(), [&](const Hierarchy& h) {
        return h.unified && s->path.rfind(h.root, 0) == 0;
    });
    return grew(event_count(s->path + (unified ? "/memory.events" : "/memory.oom_control"), "oom_kill"), s->killed);
}

void SlotCgroups::remove(Hierarchy& hierarchy) {
    for (Slot& slot : hierarchy.slots) {
        if (slot.procs >= 0) ::close(slot.procs);
        ::rmdir(slot.path.c_str());
    }
    hierarchy.slots.clear();
    if (!hierarchy.root.empty()) ::rmdir(hierarchy.root.c_str());
    hierarchy.root.clear();
}

}  // namespace proc
