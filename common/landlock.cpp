#include "common/landlock.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace proc::landlock {

namespace {

// The interface as the kernel knows it today; the system's header may be
// older. A ruleset of this size is taken by older kernels as long as the
// fields they do not know are zero.
struct RulesetAttr {
    std::uint64_t handled_access_fs;
    std::uint64_t handled_access_net;
    std::uint64_t scoped;
};

constexpr std::uint64_t FS_EXECUTE = 1ULL << 0, FS_WRITE_FILE = 1ULL << 1, FS_READ_FILE = 1ULL << 2,
                        FS_READ_DIR = 1ULL << 3, FS_TRUNCATE = 1ULL << 14, FS_IOCTL_DEV = 1ULL << 15;
constexpr std::uint64_t NET_BIND_TCP = 1ULL << 0, NET_CONNECT_TCP = 1ULL << 1;
constexpr std::uint64_t SCOPE_ABSTRACT_UNIX_SOCKET = 1ULL << 0, SCOPE_SIGNAL = 1ULL << 1;
constexpr int RULE_PATH_BENEATH = 1;

// The rights that only make sense on a file, as opposed to a folder.
constexpr std::uint64_t FILE_RIGHTS = FS_EXECUTE | FS_WRITE_FILE | FS_READ_FILE | FS_TRUNCATE | FS_IOCTL_DEV;

// Every file right that each version handles: what is handled and not
// granted is denied.
std::uint64_t handled_fs(int abi) {
    std::uint64_t rights = (1ULL << 13) - 1;        // version 1: execute .. make a symbolic link
    if (abi >= 2) rights |= 1ULL << 13;             // moving and linking between folders
    if (abi >= 3) rights |= FS_TRUNCATE;
    if (abi >= 5) rights |= FS_IOCTL_DEV;
    return rights;
}

std::uint64_t granted(Reach reach, std::uint64_t handled) {
    switch (reach) {
        case Reach::read: return (FS_READ_FILE | FS_READ_DIR | FS_EXECUTE) & handled;
        case Reach::read_write:
            return (FS_READ_FILE | FS_WRITE_FILE | FS_TRUNCATE | FS_IOCTL_DEV) & handled;
        case Reach::own: return handled;
    }
    return 0;
}

// 0, or the errno of the failure; a missing path is no failure.
int add_rule(int ruleset, const PathRule& rule, std::uint64_t handled) {
    const int fd = ::open(rule.path, O_PATH | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR || errno == EACCES ? 0 : errno;
    struct stat info {};
    int failed = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (failed == 0) {
        // The kernel's own layout of a path rule: packed, the rights first.
        struct __attribute__((packed)) {
            std::uint64_t allowed_access;
            std::int32_t parent_fd;
        } beneath = {granted(rule.reach, handled), fd};
        if (!S_ISDIR(info.st_mode)) beneath.allowed_access &= FILE_RIGHTS;
        if (::syscall(SYS_landlock_add_rule, ruleset, RULE_PATH_BENEATH, &beneath, 0) != 0) failed = errno;
    }
    ::close(fd);
    return failed;
}

}  // namespace

int abi_version() {
    const long version = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return version > 0 ? static_cast<int>(version) : 0;
}

int restrict_self(int abi, const PathRule* rules, int count) {
    RulesetAttr attr{handled_fs(abi), 0, 0};
    if (abi >= 4) attr.handled_access_net = NET_BIND_TCP | NET_CONNECT_TCP;
    if (abi >= 6) attr.scoped = SCOPE_ABSTRACT_UNIX_SOCKET | SCOPE_SIGNAL;
    const long ruleset = ::syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0);
    if (ruleset < 0) return errno;
    int failed = 0;
    for (int i = 0; i < count && failed == 0; ++i) failed = add_rule(static_cast<int>(ruleset), rules[i], attr.handled_access_fs);
    if (failed == 0 && ::syscall(SYS_landlock_restrict_self, ruleset, 0) != 0) failed = errno;
    ::close(static_cast<int>(ruleset));
    return failed;
}

}  // namespace proc::landlock
