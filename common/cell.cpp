#include "common/cell.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <linux/sched.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

#include "common/cell_messages.h"

namespace proc {

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string body;
    for (const std::string& word : words) body += word + '\0';
    return body;
}

}  // namespace

Cell::~Cell() { close(); }

Cell::Cell(Cell&& other) noexcept { *this = std::move(other); }

Cell& Cell::operator=(Cell&& other) noexcept {
    if (this != &other) {
        close();
        pid_ = std::exchange(other.pid_, -1);
        pidfd_ = std::exchange(other.pidfd_, -1);
        socket_ = std::exchange(other.socket_, -1);
        failed_steps_ = other.failed_steps_;
    }
    return *this;
}

game::Status Cell::open(const CellPlan& plan) {
    close();
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
        return game::failure(std::string("nu se poate crea o conexiune cu un proces: ") + std::strerror(errno));
    }
    // A fork into the namespaces: the init has a copy of our memory (the
    // plan among it) and our single thread.
    clone_args args{};
    args.flags = static_cast<std::uint64_t>(plan.namespaces) | CLONE_PIDFD;
    args.pidfd = reinterpret_cast<std::uint64_t>(&pidfd_);
    args.exit_signal = SIGCHLD;
    const auto pid = static_cast<pid_t>(::syscall(SYS_clone3, &args, sizeof args));
    if (pid == 0) {
        ::close(pair[0]);
        run_cell(plan, pair[1]);
    }
    const int failure = errno;
    ::close(pair[1]);
    socket_ = pair[0];
    if (pid < 0) {
        game::Status failed = game::failure(std::string("nu se poate porni un proces: ") + std::strerror(failure));
        close();
        errno = failure;
        return failed;
    }
    pid_ = pid;
    cell::Message ready;
    if (!cell::receive(socket_, ready) || ready.header.kind != cell::Kind::ready) {
        close();
        return game::failure("izolarea nu se poate pregăti: procesul ei s-a oprit");
    }
    failed_steps_ = static_cast<unsigned>(ready.header.first);
    return {};
}

Started Cell::start(const std::vector<std::string>& argv, const int (&streams)[3], int& pidfd,
                    std::string& error) const {
    const std::string body = joined(argv);
    cell::Message reply;
    if (body.size() > cell::MAX_BODY) {
        error = argv[0] + ": comanda este prea lungă";
        return Started::not_executable;
    }
    if (!cell::send(socket_, {cell::Kind::start}, body, streams, 3) || !cell::receive(socket_, reply)) {
        error = "izolarea jucătorilor s-a oprit";
        return Started::harness_error;
    }
    if (reply.header.kind == cell::Kind::started && reply.count == 1) {
        pidfd = reply.descriptors[0];
        return Started::yes;
    }
    for (int i = 0; i < reply.count; ++i) ::close(reply.descriptors[i]);
    const auto step = static_cast<Step>(reply.header.first);
    const int number = reply.header.second;
    if (reply.header.kind == cell::Kind::failed && step == Step::exec && !is_harness_errno(number)) {
        error = start_failure(argv[0], number);
        return Started::not_executable;
    }
    error = argv[0] + ": nu se poate izola (" + step_name(step) + "): " + std::strerror(number);
    return Started::harness_error;
}

void Cell::close() {
    // Our end closed, the init leaves; killed, its namespace goes with it.
    close_fd(socket_);
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {}
        pid_ = -1;
    }
    close_fd(pidfd_);
}

bool cell_game_ended(int socket, bool wait, int& status) {
    pollfd ready{socket, POLLIN, 0};
    if (!wait && ::poll(&ready, 1, 0) <= 0) return false;
    cell::Message message;
    // A cell that went away ends its game as if killed.
    status = cell::receive(socket, message) && message.header.kind == cell::Kind::ended ? message.header.first
                                                                                          : SIGKILL;
    return true;
}

}  // namespace proc
