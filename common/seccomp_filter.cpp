#include "common/seccomp_filter.h"

#include <cerrno>
#include <initializer_list>
#include <iterator>
#include <cstring>
#include <linux/seccomp.h>
#include <memory>
#include <sched.h>
#include <seccomp.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace proc {

namespace {

using Context = std::unique_ptr<void, void (*)(scmp_filter_ctx)>;

// Refused with "operation not permitted", as if the player lacked the right.
const char* const DENIED[] = {
    // Another process's memory. The sanitizer build's players stop their
    // own threads with ptrace to look for leaks; the namespaces and Landlock
    // keep that within the game.
#ifndef __SANITIZE_ADDRESS__
    "ptrace",
#endif
    "process_vm_readv", "process_vm_writev", "kcmp", "pidfd_getfd",
    // The file system's shape and the namespaces.
    "mount", "umount2", "pivot_root", "chroot", "unshare", "setns", "fsopen", "fsconfig", "fsmount", "fspick",
    "move_mount", "open_tree", "mount_setattr", "open_by_handle_at", "name_to_handle_at",
    // The kernel itself, and state it keeps across processes.
    "bpf", "perf_event_open", "userfaultfd", "add_key", "keyctl", "request_key", "init_module", "finit_module",
    "delete_module", "kexec_load", "kexec_file_load", "reboot", "swapon", "swapoff", "syslog", "acct",
    "quotactl", "lookup_dcookie", "vhangup",
    // io_uring makes system calls that seccomp never sees.
    "io_uring_setup", "io_uring_enter", "io_uring_register",
    // System V and POSIX message queues, semaphores and shared memory, which
    // would outlive a game in its cell.
    "shmget", "shmat", "shmctl", "shmdt", "semget", "semop", "semtimedop", "semctl", "msgget", "msgsnd", "msgrcv",
    "msgctl", "mq_open", "mq_unlink", "mq_timedsend", "mq_timedreceive", "mq_notify", "mq_getsetattr",
};

const unsigned long NAMESPACE_FLAGS[] = {CLONE_NEWNS,  CLONE_NEWUTS, CLONE_NEWIPC,    CLONE_NEWUSER,
                                         CLONE_NEWPID, CLONE_NEWNET, CLONE_NEWCGROUP, CLONE_NEWTIME};

// A rule for `call`, taken when all of `when` hold of its arguments.
game::Status add(const Context& filter, std::uint32_t action, const char* call,
                 std::initializer_list<scmp_arg_cmp> when = {}) {
    const int number = seccomp_syscall_resolve_name(call);
    if (number == __NR_SCMP_ERROR) return {};  // unknown to this architecture: nothing to deny
    const int failed = seccomp_rule_add_array(filter.get(), action, number, static_cast<unsigned>(when.size()),
                                              when.size() ? std::data(when) : nullptr);
    if (failed == 0) return {};
    return game::failure(std::string("seccomp: regula pentru ") + call + ": " + std::strerror(-failed));
}

game::Status add_rules(const Context& filter) {
    for (const char* call : DENIED) {
        if (game::Status added = add(filter, SCMP_ACT_ERRNO(EPERM), call); !added) return added;
    }
    for (unsigned long flag : NAMESPACE_FLAGS) {
        game::Status added = add(filter, SCMP_ACT_ERRNO(EPERM), "clone", {SCMP_A0_64(SCMP_CMP_MASKED_EQ, flag, flag)});
        if (!added) return added;
    }
    // clone3 passes its flags in memory, out of a filter's sight: refused as
    // unknown, the C library falls back to clone, whose flags are seen.
    // Sockets: only local pairs of the player's own. A named socket of the
    // system's (a daemon's, which our user may write, and as root most are)
    // is reached with connect, or with a datagram socket's address: both
    // are refused.
    game::Status added = add(filter, SCMP_ACT_ERRNO(ENOSYS), "clone3");
    if (added) added = add(filter, SCMP_ACT_ERRNO(EAFNOSUPPORT), "socket", {SCMP_A0_32(SCMP_CMP_NE, AF_UNIX)});
    if (added) added = add(filter, SCMP_ACT_ERRNO(EAFNOSUPPORT), "socketpair", {SCMP_A0_32(SCMP_CMP_NE, AF_UNIX)});
    if (added) {
        added = add(filter, SCMP_ACT_ERRNO(EPERM), "socket",
                    {SCMP_A0_32(SCMP_CMP_EQ, AF_UNIX), SCMP_A1_32(SCMP_CMP_MASKED_EQ, 0xf, SOCK_DGRAM)});
    }
    if (added) added = add(filter, SCMP_ACT_ERRNO(EPERM), "connect");
    return added;
}

// The compiled program, as the kernel takes it. Through a pipe, which no
// file size limit of ours touches, and which holds the longest program a
// kernel takes (4096 instructions).
game::Result<std::vector<sock_filter>> export_program(const Context& filter) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return game::failure(std::string("seccomp: ") + std::strerror(errno));
    const int failed = seccomp_export_bpf(filter.get(), ends[1]);
    ::close(ends[1]);
    std::string bytes;
    char chunk[4096];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) bytes.append(chunk, static_cast<std::size_t>(n));
    ::close(ends[0]);
    if (failed != 0 || bytes.empty() || bytes.size() % sizeof(sock_filter) != 0) {
        return game::failure(std::string("seccomp: programul nu se poate exporta: ") +
                             std::strerror(failed ? -failed : EINVAL));
    }
    std::vector<sock_filter> program(bytes.size() / sizeof(sock_filter));
    std::memcpy(program.data(), bytes.data(), bytes.size());
    return program;
}

}  // namespace

game::Status SeccompFilter::build() {
    const Context filter(seccomp_init(SCMP_ACT_ALLOW), seccomp_release);
    if (!filter) return game::failure("seccomp: filtrul nu se poate crea");
    // A binary tree of system calls: the kernel runs the program over every
    // system call number when it loads it, and a chain costs that many times more.
    if (seccomp_attr_set(filter.get(), SCMP_FLTATR_CTL_OPTIMIZE, 2) != 0) {
        return game::failure("seccomp: optimizarea nu se poate cere");
    }
    if (game::Status added = add_rules(filter); !added) return added;
    game::Result<std::vector<sock_filter>> program = export_program(filter);
    if (!program) return game::failure(program.error());
    program_ = std::move(*program);
    return {};
}

int SeccompFilter::load() const {
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return errno;
    // The kernel copies the program: the header may live on this stack.
    const sock_fprog header = {static_cast<unsigned short>(program_.size()),
                               const_cast<sock_filter*>(program_.data())};
    return ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &header) == 0 ? 0 : errno;
}

}  // namespace proc
