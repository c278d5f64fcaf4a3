// A child started as it is, with posix_spawn: no sandbox, its standard
// streams on our pipes, in a process group of its own.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "common/process.h"

extern char** environ;

namespace proc {

namespace {

// posix_spawn's set-up calls return an error number instead of setting errno.
bool set_up(int failed, const char* what, std::string& error) {
    if (failed == 0) return true;
    error = std::string("nu se poate pregăti pornirea unui proces (") + what + "): " + std::strerror(failed);
    return false;
}

class SpawnSetup {
public:
    SpawnSetup() {
        actions_ok_ = posix_spawn_file_actions_init(&actions_) == 0;
        attributes_ok_ = posix_spawnattr_init(&attributes_) == 0;
    }
    ~SpawnSetup() {
        if (actions_ok_) posix_spawn_file_actions_destroy(&actions_);
        if (attributes_ok_) posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // `ends`: the child's standard input, output and error (-1: ours).
    bool prepare(const int (&ends)[3], int cwd, std::string& error) {
        if (!actions_ok_ || !attributes_ok_) return set_up(ENOMEM, "init", error);
        // Every signal back to its default action and none blocked: the child
        // inherits nothing of how we, or whoever started us, handle them.
        sigset_t all, none;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        sigemptyset(&none);
        const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        return set_up(posix_spawn_file_actions_adddup2(&actions_, ends[0], STDIN_FILENO), "stdin", error) &&
               set_up(posix_spawn_file_actions_adddup2(&actions_, ends[1], STDOUT_FILENO), "stdout", error) &&
               (ends[2] < 0 ||
                set_up(posix_spawn_file_actions_adddup2(&actions_, ends[2], STDERR_FILENO), "stderr", error)) &&
               (cwd < 0 || set_up(posix_spawn_file_actions_addfchdir_np(&actions_, cwd), "cwd", error)) &&
               set_up(posix_spawnattr_setpgroup(&attributes_, 0), "pgroup", error) &&
               set_up(posix_spawnattr_setsigdefault(&attributes_, &all), "sigdefault", error) &&
               set_up(posix_spawnattr_setsigmask(&attributes_, &none), "sigmask", error) &&
               set_up(posix_spawnattr_setflags(&attributes_, flags), "flags", error);
    }

    int spawn(pid_t& pid, const std::vector<std::string>& argv) {
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        return ::posix_spawnp(&pid, args[0], &actions_, &attributes_, args.data(), environ);
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
    bool actions_ok_ = false, attributes_ok_ = false;
};

}  // namespace

Started Process::spawn(const std::vector<std::string>& argv, const SpawnOptions& options, int (&ends)[3],
                       std::string& error) {
    int cwd = -1;
    if (!options.cwd.empty() && (cwd = ::open(options.cwd.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0) {
        error = options.cwd + ": nu se poate intra în director: " + std::strerror(errno);
        return Started::harness_error;
    }
    SpawnSetup setup;
    pid_t pid = -1;
    int failed = 0;
    const bool ready = setup.prepare(ends, cwd, error);
    if (ready) failed = setup.spawn(pid, argv);
    if (cwd >= 0) ::close(cwd);
    if (!ready) return Started::harness_error;
    if (failed != 0) {
        const bool ours = is_harness_errno(failed);
        error = argv[0] + (ours ? ": nu se poate porni un proces: " : ": nu poate fi pornit: ") + std::strerror(failed);
        return ours ? Started::harness_error : Started::not_executable;
    }
    pid_ = pid;
    pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));  // -1: exits are found by looking again
    return Started::yes;
}

}  // namespace proc
