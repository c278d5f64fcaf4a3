#include "common/pids_cgroup.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files.h"
#include "common/split.h"

namespace proc {

namespace {

// Where the pids controller of our own cgroup is, found in /proc/self/cgroup
// (the cgroup's path) and /proc/self/mountinfo (where its hierarchy is
// mounted). Empty when the controller is nowhere to be had.
struct Place {
    std::string folder;
    bool unified = false;  // cgroup v2
};

std::string text_of(const std::string& path) {
    std::string text, ignored;  // a file that cannot be read tells nothing: no cgroup
    return game::read_whole_file(path, text, ignored) ? text : "";
}

bool has_word(const std::string& list, const std::string& word, char separator) {
    for (const std::string& item : game::split(list, separator)) {
        if (item == word || item == word + "\n") return true;
    }
    return false;
}

// Our cgroup's path in the v1 hierarchy that holds pids, and in v2.
void our_paths(std::string& v1, std::string& v2) {
    for (const std::string& line : game::split(text_of("/proc/self/cgroup"), '\n')) {
        const std::size_t first = line.find(':'), second = line.find(':', first + 1);
        if (second == std::string::npos) continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        if (controllers.empty()) v2 = line.substr(second + 1);
        if (has_word(controllers, "pids", ',')) v1 = line.substr(second + 1);
    }
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

Place pids_place() {
    std::string v1, v2;
    our_paths(v1, v2);
    if (!v2.empty()) {
        const std::string folder = mounted(v2, "cgroup2", "");
        if (!folder.empty() && has_word(text_of(folder + "/cgroup.subtree_control"), "pids", ' ')) {
            return {folder, true};
        }
    }
    if (!v1.empty()) return {mounted(v1, "cgroup", "pids"), false};
    return {};
}

bool write_text(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
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
        if (name.rfind("columns-", 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + 8, nullptr, 10);
        if (pid <= 0 || runs(pid)) continue;
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

}  // namespace

PidsCgroup::~PidsCgroup() { remove(); }

bool PidsCgroup::make(int slots, std::uint64_t processes, std::string& error) {
    const Place place = pids_place();
    if (place.folder.empty()) {
        error = "controlerul pids nu este disponibil";
        return false;
    }
    remove_abandoned(place.folder);
    std::string pattern = place.folder + "/columns-" + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        error = place.folder + ": " + std::strerror(errno);
        return false;
    }
    root_ = pattern;
    if (place.unified && !write_text(root_ + "/cgroup.subtree_control", "+pids")) {
        error = root_ + ": pids nu se poate activa: " + std::strerror(errno);
        remove();
        return false;
    }
    for (int s = 0; s < slots; ++s) {
        Slot slot{root_ + "/slot-" + std::to_string(s)};
        const bool made = ::mkdir(slot.path.c_str(), 0755) == 0;
        if (made) slots_.push_back(slot);
        if (!made || !write_text(slot.path + "/pids.max", std::to_string(processes)) ||
            (slots_.back().procs = ::open((slot.path + "/cgroup.procs").c_str(), O_WRONLY | O_CLOEXEC)) < 0) {
            error = slot.path + ": " + std::strerror(errno);
            remove();
            return false;
        }
    }
    return true;
}

bool PidsCgroup::cap_reached(int slot) {
    Slot& s = slots_[static_cast<std::size_t>(slot)];
    // Lines of "EVENT COUNT"; "max" counts the processes refused.
    for (const std::string& line : game::split(text_of(s.path + "/pids.events"), '\n')) {
        if (line.rfind("max ", 0) != 0) continue;
        const long count = std::strtol(line.c_str() + 4, nullptr, 10);
        const bool reached = count > s.refused;
        s.refused = count;
        return reached;
    }
    return false;
}

void PidsCgroup::remove() {
    for (Slot& slot : slots_) {
        if (slot.procs >= 0) ::close(slot.procs);
        ::rmdir(slot.path.c_str());
    }
    slots_.clear();
    if (!root_.empty()) ::rmdir(root_.c_str());
    root_.clear();
}

}  // namespace proc
