// Starting a child: its pipes, its start (as it is, or in a sandbox's
// cell), and the Process that owns it from then on.
#include "common/process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

#include "common/cell.h"
#include "common/sandbox.h"

namespace proc {

bool is_harness_errno(int number) {
    return number == EAGAIN || number == ENOMEM || number == EMFILE || number == ENFILE || number == ENOSPC;
}

void close_fd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

namespace {

// The pipes of one start; whatever is not handed over is closed.
struct Pipes {
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    ~Pipes() {
        for (int* pair : {in, out, err}) close_fd(pair[0]), close_fd(pair[1]);
    }
};

game::Status make_pipe(int (&ends)[2]) {
    if (::pipe2(ends, O_CLOEXEC) == 0) return {};
    return game::failure(std::string("nu se poate crea o conexiune cu un proces: ") + std::strerror(errno));
}

}  // namespace

Process::Process() = default;
Process::~Process() { stop(); }

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        stop();
        pid_ = std::exchange(other.pid_, -1);
        pidfd_ = std::exchange(other.pidfd_, -1);
        input_ = std::exchange(other.input_, -1);
        output_ = std::exchange(other.output_, -1);
        errors_fd_ = std::exchange(other.errors_fd_, -1);
        has_exited_ = std::exchange(other.has_exited_, false);
        exit_ = other.exit_;
        errors_ = std::move(other.errors_);
        cell_socket_ = std::exchange(other.cell_socket_, -1);
    }
    return *this;
}

Started Process::start(const std::vector<std::string>& argv, const SpawnOptions& options, std::string& error) {
    stop();
    prepare_parent();
    errors_ = Capture(options.stderr_limit);
    has_exited_ = false;
    const bool sandboxed = options.sandbox && options.sandbox->enabled();
    // A sandboxed child's standard error is always ours to read, never a stream of ours it could read back.
    const bool capture_stderr = options.capture_stderr || sandboxed;
    Pipes pipes;
    game::Status piped = make_pipe(pipes.in);
    if (piped) piped = make_pipe(pipes.out);
    if (piped && capture_stderr) piped = make_pipe(pipes.err);
    if (!piped) {
        error = piped.error();
        return Started::harness_error;
    }
    int ends[3] = {pipes.in[0], pipes.out[1], pipes.err[1]};
    const Started started = sandboxed ? spawn_sandboxed(argv, options, ends, error) : spawn(argv, options, ends, error);
    if (started != Started::yes) return started;
    input_ = std::exchange(pipes.in[1], -1);
    output_ = std::exchange(pipes.out[0], -1);
    errors_fd_ = std::exchange(pipes.err[0], -1);
    return started;
}

Started Process::spawn_sandboxed(const std::vector<std::string>& argv, const SpawnOptions& options, int (&ends)[3],
                                 std::string& error) {
    const Cell& cell = options.sandbox->cell(options.slot);
    const Started started = cell.start(argv, ends, pidfd_, error);
    if (started == Started::yes) cell_socket_ = cell.socket();
    return started;
}

bool Process::write(std::string_view data) {
    while (!data.empty() && input_ >= 0) {
        const ssize_t n = ::write(input_, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return data.empty();
}

void Process::close_input() { close_fd(input_); }

}  // namespace proc
