// Waiting for a child and ending it: what it writes, its exit, the
// interrupts that cut every wait short, and the stop that kills what is left.
#include "common/process.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/cell.h"

namespace proc {

namespace {

constexpr std::size_t READ_CHUNK = 65536;
// Without a pidfd a child's exit is noticed by looking again this often.
constexpr int EXIT_POLL_MS = 10;

// Interrupts: the handler records the first signal and makes the wake pipe
// readable for good, so that every poll of every thread returns at once.
std::atomic<int> received{0};
int wake[2] = {-1, -1};

void on_interrupt(int signal) {
    const int saved = errno;
    int none = 0;
    received.compare_exchange_strong(none, signal);
    if (wake[1] >= 0 && ::write(wake[1], "!", 1) < 0) {
        // Full: it is readable already, which is all it is for.
    }
    errno = saved;
}

// Reads one chunk of a captured stream; false once it has ended.
bool drain_once(int fd, Capture& sink) {
    char buffer[READ_CHUNK];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) sink.add(std::string_view(buffer, static_cast<std::size_t>(n)));
    return n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN));
}

bool readable_now(int fd) {
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&p, 1, 0) > 0;
}

}  // namespace

void prepare_parent() {
    static std::once_flag done;
    std::call_once(done, [] {
        std::signal(SIGPIPE, SIG_IGN);
        std::signal(SIGCHLD, SIG_DFL);
    });
}

std::string describe(Exit exit) {
    if (!exit.signalled) return "starea " + std::to_string(exit.code);
    const char* name = sigdescr_np(exit.code);
    return "semnalul " + std::to_string(exit.code) + " (" + (name ? name : "?") + ")";
}

void Capture::add(std::string_view bytes) {
    const std::size_t taken = std::min(bytes.size(), limit_ - std::min(limit_, kept_.size()));
    kept_.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    dropped_ += bytes.size();
    if (bytes.size() >= TAIL) {
        tail_.assign(bytes.substr(bytes.size() - TAIL));
    } else {
        tail_.append(bytes);
        tail_.erase(0, tail_.size() - std::min(tail_.size(), TAIL));
    }
}

std::string Capture::text() const {
    const std::size_t between = dropped_ - tail_.size();
    if (between == 0) return kept_ + tail_;
    return kept_ + "\n[încă " + std::to_string(between) + " octeți nepăstrați]\n" + tail_;
}

int Deadline::remaining_ms() const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

bool catch_interrupts() {
    prepare_parent();
    if (wake[0] < 0 && ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0) return false;
        if (old.sa_handler == SIG_IGN && signal != SIGTERM) continue;
        if (::sigaction(signal, &action, nullptr) != 0) return false;
    }
    return true;
}

int interrupt_signal() { return received.load(); }

// A player in a cell has ended when its cell says so. Any other child is
// looked at without being reaped: while it is not reaped its process group
// cannot vanish and its number cannot be reused.
bool Process::check_exited() {
    if (has_exited_) return true;
    if (cell_socket_ >= 0) {
        int status = 0;
        if (!cell_game_ended(cell_socket_, false, status)) return false;
        has_exited_ = true;
        exit_ = WIFSIGNALED(status) ? Exit{true, WTERMSIG(status)} : Exit{false, WEXITSTATUS(status)};
        return true;
    }
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno == EINTR) continue;
        // Reaped behind our back: nothing more can be known of how it ended.
        has_exited_ = true;
        exit_ = Exit{false, -1};
        return true;
    }
    if (info.si_pid == 0) return false;
    has_exited_ = true;
    exit_ = Exit{info.si_code != CLD_EXITED, info.si_status};
    return true;
}

Wait Process::read(std::string& out, const Deadline& deadline, std::string_view* unsent) {
    return wait(&out, deadline, unsent);
}

Wait Process::wait_exit(const Deadline& deadline) { return wait(nullptr, deadline, nullptr); }

Wait Process::wait(std::string* out, const Deadline& deadline, std::string_view* unsent) {
    if (pid_ < 0 && cell_socket_ < 0) return Wait::error;
    // What tells the end: the cell, or the child's pidfd.
    const int exit_fd = cell_socket_ >= 0 ? cell_socket_ : pidfd_;
    for (;;) {
        enum { OUTPUT, ERRORS, INPUT, EXIT, WAKE, COUNT };
        pollfd fds[COUNT] = {
            {out ? output_ : -1, POLLIN, 0},
            {errors_fd_, POLLIN, 0},
            {unsent && !unsent->empty() ? input_ : -1, POLLOUT, 0},
            {has_exited_ ? -1 : exit_fd, POLLIN, 0},
            {wake[0], POLLIN, 0},
        };
        int timeout = deadline.remaining_ms();
        if (has_exited_) timeout = 0;  // only what is already there is still read
        if (exit_fd < 0) timeout = std::min(timeout, EXIT_POLL_MS);
        const int ready = ::poll(fds, COUNT, timeout);
        if (ready < 0 && errno != EINTR) return Wait::error;
        if (interrupt_signal() != 0) return Wait::interrupted;
        if (ready > 0 && fds[ERRORS].revents != 0 && !drain_once(errors_fd_, errors_)) close_fd(errors_fd_);
        if (ready > 0 && fds[INPUT].revents != 0) {
            ::fcntl(input_, F_SETFL, ::fcntl(input_, F_GETFL) | O_NONBLOCK);
            const ssize_t n = ::write(input_, unsent->data(), std::min(unsent->size(), READ_CHUNK));
            if (n > 0) unsent->remove_prefix(static_cast<std::size_t>(n));
            // A child that stops reading loses the rest.
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || unsent->empty()) close_fd(input_);
        }
        if (out && ready > 0 && fds[OUTPUT].revents != 0) {
            char buffer[READ_CHUNK];
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n > 0) {
                out->append(buffer, static_cast<std::size_t>(n));
                return Wait::data;
            }
            if (n == 0) {
                close_fd(output_);
                return Wait::closed;
            }
            if (errno != EINTR && errno != EAGAIN) return Wait::error;
            continue;
        }
        if (out && output_ < 0) return Wait::closed;
        if (check_exited()) {
            // What the child left on its standard error is read to the end of
            // what is there; a descendant holding it open is not waited for.
            while (readable_now(errors_fd_) && drain_once(errors_fd_, errors_)) {}
            if (out == nullptr || !readable_now(output_)) return Wait::exited;
            continue;
        }
        if (deadline.remaining_ms() == 0) return Wait::timeout;
    }
}

void Process::stop() {
    if (pid_ > 0) {
        // The group first, while the unreaped child still holds its number.
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {}
        pid_ = -1;
    }
    if (cell_socket_ >= 0 && !has_exited_) {
        // The cell kills what the player left, and says when all is gone.
        ::syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0);
        int status = 0;
        cell_game_ended(cell_socket_, true, status);
    }
    cell_socket_ = -1;
    close_fd(pidfd_);
    close_fd(input_);
    close_fd(output_);
    close_fd(errors_fd_);
}

}  // namespace proc
