#include "common/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace proc {

namespace {

void close_fd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A pipe whose both ends are closed on exec, so no other child inherits them.
bool make_pipe(int (&ends)[2], std::string& error) {
    if (::pipe2(ends, O_CLOEXEC) == 0) return true;
    error = std::string("nu se poate crea o conexiune cu jucătorul: ") + std::strerror(errno);
    return false;
}

// Reads whatever the captured standard error holds right now.
void drain(int fd, std::string& sink) {
    if (fd < 0) return;
    char buffer[4096];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return;
        sink.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

int Deadline::remaining_ms() const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

bool spawn(const std::vector<std::string>& argv, const SpawnOptions& options, Child& child, std::string& error) {
    static std::once_flag ignore_sigpipe;
    std::call_once(ignore_sigpipe, [] { std::signal(SIGPIPE, SIG_IGN); });

    int in[2], out[2], err[2] = {-1, -1};
    if (!make_pipe(in, error)) return false;
    if (!make_pipe(out, error)) {
        ::close(in[0]), ::close(in[1]);
        return false;
    }
    if (options.capture_stderr && !make_pipe(err, error)) {
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (options.capture_stderr) posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    const int failed = ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);

    ::close(in[0]);
    ::close(out[1]);
    if (err[1] >= 0) ::close(err[1]);
    if (failed != 0) {
        ::close(in[1]);
        ::close(out[0]);
        if (err[0] >= 0) ::close(err[0]);
        error = argv[0] + ": nu poate fi pornit: " + std::strerror(failed);
        return false;
    }
    child = Child{pid, in[1], out[0], err[0]};
    return true;
}

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

ReadStatus read_some(Child& child, std::string& out, std::string& child_errors, const Deadline& deadline) {
    for (;;) {
        pollfd fds[2] = {{child.output, POLLIN, 0}, {child.errors, POLLIN, 0}};
        const int ready = ::poll(fds, child.errors >= 0 ? 2 : 1, deadline.remaining_ms());
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return ReadStatus::error;
        if (ready == 0) return ReadStatus::timeout;
        if (child.errors >= 0 && fds[1].revents != 0) {
            char buffer[4096];
            const ssize_t n = ::read(child.errors, buffer, sizeof buffer);
            if (n > 0) child_errors.append(buffer, static_cast<std::size_t>(n));
            else close_fd(child.errors);  // the child closed its standard error; keep reading the output
        }
        if (fds[0].revents != 0) {
            char buffer[256];
            const ssize_t n = ::read(child.output, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return ReadStatus::error;
            if (n == 0) return ReadStatus::closed;
            out.append(buffer, static_cast<std::size_t>(n));
            return ReadStatus::data;
        }
    }
}

bool wait_exit(Child& child, const Deadline& deadline, int& status, std::string& child_errors) {
    // Polling with a growing pause: exits usually follow within microseconds.
    int pause_us = 50;
    for (;;) {
        const pid_t done = ::waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) {
            child.pid = -1;
            drain(child.errors, child_errors);
            return true;
        }
        if (done < 0 && errno != EINTR) return false;
        drain(child.errors, child_errors);
        if (deadline.remaining_ms() == 0) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(pause_us));
        pause_us = std::min(pause_us * 2, 5000);
    }
}

void close_input(Child& child) { close_fd(child.input); }

void close_pipes(Child& child) {
    close_fd(child.input);
    close_fd(child.output);
    close_fd(child.errors);
}

void kill_and_reap(Child& child) {
    close_pipes(child);
    if (child.pid > 0) {
        ::kill(child.pid, SIGKILL);
        while (::waitpid(child.pid, nullptr, 0) < 0 && errno == EINTR) {}
        child.pid = -1;
    }
}

bool run_command(const std::vector<std::string>& argv, const std::string& cwd, const std::string& input,
                 int timeout_ms, CommandResult& result, std::string& error) {
    result = CommandResult{};
    Child child;
    if (!spawn(argv, SpawnOptions{cwd, true}, child, error)) return false;
    const Deadline deadline(timeout_ms);
    std::string_view unsent = input;
    if (unsent.empty()) close_fd(child.input);
    bool open[2] = {true, true};
    while ((open[0] || open[1]) && deadline.remaining_ms() > 0) {
        pollfd fds[3] = {{child.output, POLLIN, 0}, {child.errors, POLLIN, 0}, {child.input, POLLOUT, 0}};
        if (::poll(fds, 3, deadline.remaining_ms()) < 0 && errno != EINTR) break;
        std::string* sinks[2] = {&result.out, &result.err};
        int* fds_of[2] = {&child.output, &child.errors};
        for (int i = 0; i < 2; ++i) {
            if (!open[i] || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(*fds_of[i], buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                open[i] = false;
                close_fd(*fds_of[i]);
            }
        }
        if (child.input >= 0 && fds[2].revents != 0) {
            // Write what the pipe takes now; a child that stops reading loses the rest.
            const int flags = ::fcntl(child.input, F_GETFL);
            ::fcntl(child.input, F_SETFL, flags | O_NONBLOCK);
            const ssize_t n = ::write(child.input, unsent.data(), std::min<std::size_t>(unsent.size(), 65536));
            if (n > 0) unsent.remove_prefix(static_cast<std::size_t>(n));
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || unsent.empty()) close_fd(child.input);
        }
    }
    const bool finished = !open[0] && !open[1] && wait_exit(child, deadline, result.status, result.err);
    kill_and_reap(child);
    if (!finished) error = argv[0] + ": nu s-a încheiat în " + std::to_string(timeout_ms) + " ms";
    return finished;
}

std::string describe_status(int status) {
    if (WIFEXITED(status)) return "starea " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return "semnalul " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    return "starea necunoscută " + std::to_string(status);
}

}  // namespace proc
