// Runs a command as the ordinary user nobody where no user namespace can
// be made: in a user namespace of its own (every id mapped to itself)
// whose limit of further user namespaces is 0. For the tests of what the
// sandbox does without them; needs root, and exits 77 without it.
//   no-user-namespaces COMMAND [ARG...]
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t NOBODY = 65534;
char stack[1 << 16];
int go[2];
char** command;

bool put(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) ::close(fd);
    return written;
}

int child(void*) {
    char ready = 0;
    if (::read(go[0], &ready, 1) != 1) return 70;
    if (!put("/proc/sys/user/max_user_namespaces", "0")) {
        std::perror("max_user_namespaces");
        return 71;
    }
    if (::setgroups(0, nullptr) != 0 || ::setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
        ::setresuid(NOBODY, NOBODY, NOBODY) != 0) {
        std::perror("setresuid");
        return 72;
    }
    ::execvp(command[0], command);
    std::perror(command[0]);
    return 127;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    if (::geteuid() != 0) return 77;
    command = argv + 1;
    if (::pipe(go) != 0) return 70;
    const pid_t pid = ::clone(child, stack + sizeof stack, CLONE_NEWUSER | SIGCHLD, nullptr);
    if (pid < 0) {
        std::perror("clone");
        return 70;
    }
    // Only we, root outside, may map all these ids: the child waits for it.
    const std::string maps = "/proc/" + std::to_string(pid);
    if (!put(maps + "/uid_map", "0 0 65536\n") || !put(maps + "/gid_map", "0 0 65536\n")) std::perror("map");
    if (::write(go[1], "!", 1) != 1) return 70;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
