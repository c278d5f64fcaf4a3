#include "tests/support/cheats.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <unistd.h>

namespace cheats {

namespace {

std::string text_of(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "";
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : "";
}

std::string runner() { return "/proc/" + std::to_string(::getppid()); }

// A path written "=PATH", so that no runner takes it for a path the player was given.
std::string unnamed(const std::string& detail) { return detail.substr(detail.starts_with("=") ? 1 : 0); }

std::string command_line() {
    std::string line = text_of(runner() + "/cmdline");
    for (char& c : line) c = c == '\0' ? ' ' : c;
    return line.find("--seed") != std::string::npos ? "seed in " + line : "";
}

std::string memory() {
    const std::string maps = text_of(runner() + "/maps");
    unsigned long address = std::strtoul(maps.c_str(), nullptr, 16);
    char byte = 0;
    const int fd = ::open((runner() + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
    const bool read = fd >= 0 && address != 0 && ::pread(fd, &byte, 1, static_cast<off_t>(address)) == 1;
    if (fd >= 0) ::close(fd);
    iovec mine{&byte, 1}, theirs{reinterpret_cast<void*>(address), 1};
    if (read || (address != 0 && ::process_vm_readv(::getppid(), &mine, 1, &theirs, 1, 0) == 1)) {
        return "read the runner's memory";
    }
    return fd >= 0 ? "opened the runner's memory" : "";
}

std::string rig() {
    const int fd = ::open((runner() + "/mem").c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return "";
    ::close(fd);
    return "opened the runner's memory for writing";
}

std::string shared_error() {
    return text_of("/proc/self/fd/2").find("sămânța") != std::string::npos ? "seed on standard error" : "";
}

std::string file(const std::string& name) {
    if (!text_of(runner() + "/cwd/" + name).empty()) return "read " + name;
    for (int fd = 3; fd < 1024; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0) return "inherited descriptor " + std::to_string(fd);
    }
    return "";
}

std::string plant(const std::string& name) {
    // The user's file, to be overwritten by whoever writes game.dat here.
    if (::symlink(name.c_str(), "game.dat") != 0) ::symlink((runner() + "/cwd/" + name).c_str(), "game.dat");
    for (const std::string& path : {runner() + "/cwd/forged.dat", std::string("../planted")}) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) continue;
        ::close(fd);
        return "wrote " + path;
    }
    return "";
}

std::string kill_marked(const std::string& mark) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < end) {
        DIR* proc = ::opendir("/proc");
        if (proc == nullptr) return "";
        std::string killed;
        while (dirent* entry = ::readdir(proc)) {
            const int pid = std::atoi(entry->d_name);
            if (pid <= 1 || pid == ::getpid()) continue;
            // Its first argument: the victim's mode, found in no runner's command line.
            const std::string line = text_of("/proc/" + std::to_string(pid) + "/cmdline");
            const std::size_t first = line.find('\0');
            if (first == std::string::npos || line.compare(first + 1, mark.size() + 1, mark + '\0') != 0) continue;
            if (::kill(pid, SIGKILL) == 0) killed = "killed " + std::to_string(pid);
        }
        ::closedir(proc);
        if (!killed.empty()) return killed;
        ::usleep(10000);
    }
    return "";
}

// A file that appears while our game is played: tried for as long as a
// short game lasts.
std::string read_while_playing(const std::string& path) {
    for (int tries = 0; tries < 30; ++tries, ::usleep(10000)) {
        if (!text_of(path).empty()) return "read " + path;
    }
    return "";
}

std::string signal_runner() {
    const bool term = ::kill(::getppid(), SIGTERM) == 0;
    const bool kill = ::kill(::getppid(), SIGKILL) == 0;
    return term || kill ? "signalled the runner" : "";
}

std::string connect_to(int family, const sockaddr* address, socklen_t size, const std::string& what) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return "";
    const bool connected = ::connect(fd, address, size) == 0;
    ::close(fd);
    return connected ? "connected to " + what : "";
}

std::string tcp(const std::string& port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(port.c_str())));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect_to(AF_INET, reinterpret_cast<sockaddr*>(&address), sizeof address, "127.0.0.1:" + port);
}

std::string named(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return connect_to(AF_UNIX, reinterpret_cast<sockaddr*>(&address), sizeof address, path);
}

// A datagram to a named socket needs no connection, only an address.
std::string datagram(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return "";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool sent = ::sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr*>(&address), sizeof address) == 1;
    ::close(fd);
    return sent ? "sent to " + path : "";
}

std::string abstract(const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), std::min(name.size(), sizeof address.sun_path - 2));
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return connect_to(AF_UNIX, reinterpret_cast<sockaddr*>(&address), size, "@" + name);
}

// A process of ours out of our session and group, doing `work` for ever.
std::string leave_behind(void (*work)()) {
    if (::fork() == 0) {
        ::setsid();
        if (::fork() == 0) work();
        std::_Exit(0);
    }
    return "";
}

[[noreturn]] void sleep_for_ever() {
    for (;;) ::pause();
}

[[noreturn]] void spin_for_ever() {
    for (unsigned long n = 0;; ++n) asm volatile("" : "+r"(n));  // a loop the compiler must keep
}

std::string fork_bomb() {
    while (::fork() >= 0) {}
    return "";  // every child goes on forking; the last fork failed here
}

}  // namespace

std::string attempt(const std::string& kind, const std::string& detail) {
    if (kind == "cmdline") return command_line();
    if (kind == "memory") return memory();
    if (kind == "rig") return rig();
    if (kind == "stderr") return shared_error();
    if (kind == "file") return file(detail);
    if (kind == "plant") return plant(detail);
    if (kind == "kill") return kill_marked(detail);
    if (kind == "signal") return signal_runner();
    if (kind == "read") return read_while_playing(unnamed(detail));
    if (kind == "tcp") return tcp(detail);
    if (kind == "abstract") return abstract(detail);
    if (kind == "named") return named(unnamed(detail));
    if (kind == "datagram") return datagram(unnamed(detail));
    if (kind == "escape") return leave_behind(sleep_for_ever);
    if (kind == "spin") return leave_behind(spin_for_ever);
    if (kind == "fork-bomb") return fork_bomb();
    return "no such attack: " + kind;
}

}  // namespace cheats
