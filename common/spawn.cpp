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
game::Status set_up(int failed, const char* what) {
    if (failed == 0) return {};
    return game::failure(std::string("nu se poate pregăti pornirea unui proces (") + what +
                         "): " + std::strerror(failed));
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
    game::Status prepare(const int (&ends)[3], int cwd) {
        if (!actions_ok_ || !attributes_ok_) return set_up(ENOMEM, "init");
        // Every signal back to its default action and none blocked: the child
        // inherits nothing of how we, or whoever started us, handle them.
        sigset_t all, none;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        sigemptyset(&none);
        const short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        // Each step only after the one before it has worked.
        game::Status done = set_up(posix_spawn_file_actions_adddup2(&actions_, ends[0], STDIN_FILENO), "stdin");
        if (done) done = set_up(posix_spawn_file_actions_adddup2(&actions_, ends[1], STDOUT_FILENO), "stdout");
        if (done && ends[2] >= 0) {
            done = set_up(posix_spawn_file_actions_adddup2(&actions_, ends[2], STDERR_FILENO), "stderr");
        }
        if (done && cwd >= 0) done = set_up(posix_spawn_file_actions_addfchdir_np(&actions_, cwd), "cwd");
        if (done) done = set_up(posix_spawnattr_setpgroup(&attributes_, 0), "pgroup");
        if (done) done = set_up(posix_spawnattr_setsigdefault(&attributes_, &all), "sigdefault");
        if (done) done = set_up(posix_spawnattr_setsigmask(&attributes_, &none), "sigmask");
        if (done) done = set_up(posix_spawnattr_setflags(&attributes_, flags), "flags");
        return done;
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
    const game::Status ready = setup.prepare(ends, cwd);
    if (ready) failed = setup.spawn(pid, argv);
    if (cwd >= 0) ::close(cwd);
    if (!ready) {
        error = ready.error();
        return Started::harness_error;
    }
    if (failed != 0) {
        const bool ours = is_harness_errno(failed);
        error = ours ? argv[0] + ": nu se poate porni un proces: " + std::strerror(failed)
                     : start_failure(argv[0], failed);
        return ours ? Started::harness_error : Started::not_executable;
    }
    pid_ = pid;
    pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));  // -1: exits are found by looking again
    return Started::yes;
}

}  // namespace proc
