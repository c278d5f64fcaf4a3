#include "common/pids_cgroup.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool has_word(const std::string& list, const std::string& word, char separator) {
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, separator);) {
        if (item == word || item == word + "\n") return true;
    }
    return false;
}

// Our cgroup's path in the v1 hierarchy that holds pids, and in v2.
void our_paths(std::string& v1, std::string& v2) {
    std::istringstream in(text_of("/proc/self/cgroup"));
    for (std::string line; std::getline(in, line);) {
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
    std::istringstream in(text_of("/proc/self/mountinfo"));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string id, parent, device, root, point, word;
        fields >> id >> parent >> device >> root >> point;
        while (fields >> word && word != "-") {}
        std::string fs_type, source, options;
        fields >> fs_type >> source >> options;
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

}  // namespace

PidsCgroup::~PidsCgroup() { remove(); }

bool PidsCgroup::make(int slots, std::uint64_t processes, std::string& error) {
    const Place place = pids_place();
    if (place.folder.empty()) {
        error = "controlerul pids nu este disponibil";
        return false;
    }
    std::string pattern = place.folder + "/columns-XXXXXX";
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
    std::istringstream in(text_of(s.path + "/pids.events"));
    std::string key;
    long count = 0;
    while (in >> key >> count && key != "max") {}
    const bool reached = key == "max" && count > s.refused;
    if (key == "max") s.refused = count;
    return reached;
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
