// The init of a cell: the process that owns the cell's namespaces, starts
// its games and cleans up after each.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sanitizer/asan_interface.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/cell.h"
#include "common/cell_messages.h"
#include "common/files.h"
#include "common/split.h"

namespace proc {

namespace {

constexpr const char* DEFAULT_PATH = "/usr/local/bin:/usr/bin:/bin";
constexpr std::size_t PLAYER_STACK = 256 * 1024;

// Our user, mapped to itself. The maps are files that only a dumpable
// process's own user may write: the init is, for as long as it writes them.
bool map_user(const CellPlan& plan) {
    ::prctl(PR_SET_DUMPABLE, 1);
    const bool mapped = game::write_control_file("/proc/self/setgroups", "deny") && game::write_control_file("/proc/self/uid_map", plan.uid_map) &&
                        game::write_control_file("/proc/self/gid_map", plan.gid_map);
    ::prctl(PR_SET_DUMPABLE, 0);
    return mapped;
}

// Only the socket, and the cgroups until they are joined, stay open: the
// init holds a copy of every descriptor we had.
bool keep_only(int socket, std::vector<int> keep) {
    keep.push_back(socket);
    std::sort(keep.begin(), keep.end());
    unsigned from = 0;
    bool closed = true;
    for (int fd : keep) {
        if (fd < 0 || static_cast<unsigned>(fd) < from) continue;
        if (static_cast<unsigned>(fd) > from) closed = closed && ::syscall(SYS_close_range, from, fd - 1, 0) == 0;
        from = static_cast<unsigned>(fd) + 1;
    }
    return closed && ::syscall(SYS_close_range, from, ~0U, 0) == 0;
}

// The init is a copy of us, our command line (a --seed in it) included,
// which every process of the cell could read as /proc/1/cmdline: it erases
// its copy, whose bounds the kernel gives (fields 48 and 49 of its stat).
// Where there is no /proc to read them in, there is none to read it in.
void forget_command_line() {
    const game::Result<std::string> text = game::read_whole_file("/proc/self/stat");
    if (!text) return;
    const std::string& stat = *text;
    const std::size_t name_end = stat.rfind(')');  // the name may hold blanks and parentheses
    if (name_end == std::string::npos) return;
    const std::vector<std::string> fields = game::split(std::string_view(stat).substr(name_end + 1), ' ');
    if (fields.size() < 47) return;  // fields[0] is the stat's field 3
    const unsigned long start = std::strtoul(fields[45].c_str(), nullptr, 10);
    const unsigned long end = std::strtoul(fields[46].c_str(), nullptr, 10);
    if (start != 0 && end > start) std::memset(reinterpret_cast<void*>(start), 0, end - start);
}

// The cell's own state: the steps that did not work.
unsigned set_up(const CellPlan& plan, int socket) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // should we die, the cell dies with us
    sigset_t all;
    sigfillset(&all);
    ::sigprocmask(SIG_SETMASK, &all, nullptr);  // none of our handlers may run here
    unsigned failed = keep_only(socket, plan.cgroup_procs) ? 0 : step_bit(Step::descriptors);
    forget_command_line();
    if ((plan.namespaces & CLONE_NEWUSER) && !map_user(plan)) failed |= step_bit(Step::user_map);
    for (int procs : plan.cgroup_procs) {
        if (::write(procs, "0", 1) != 1) failed |= step_bit(Step::cgroup);
        ::close(procs);
    }
    if (plan.private_mounts && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        failed |= step_bit(Step::private_mounts);
    }
    if (plan.mount_proc && ::mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0) {
        failed |= step_bit(Step::proc_mount);
    }
    if (!plan.folder_options.empty() &&
        ::mount("tmpfs", plan.folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, plan.folder_options.c_str()) != 0) {
        failed |= step_bit(Step::scratch_mount);
    }
    // Last: the filter forbids mounting. The players inherit it.
    if (plan.seccomp && plan.seccomp->load() != 0) failed |= step_bit(Step::seccomp);
    return failed;
}

const char* search_path() {
    const char* path = std::getenv("PATH");
    return path && *path ? path : DEFAULT_PATH;
}

// Where exec would find a bare name in PATH; the name itself when nowhere,
// so that exec fails as it would have.
std::string program_in_path(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    for (const std::string& folder : game::split(search_path(), ':')) {
        const std::string candidate = folder + "/" + name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return name;
}

// What one game's player gets, besides what every player of the cell does.
class Game {
public:
    Game(const CellPlan& cell, std::vector<std::string> argv, const std::string& folder)
        : argv_(std::move(argv)), program_(program_in_path(argv_[0])), folder_(folder), plan_(cell.player) {
        environment_ = {std::string("PATH=") + search_path(), "HOME=" + folder_, "TMPDIR=" + folder_};
        for (const char* name : {"LANG", "LC_ALL"}) {
            if (const char* value = std::getenv(name)) environment_.push_back(std::string(name) + "=" + value);
        }
        for (const std::string& word : argv_) args_.push_back(const_cast<char*>(word.c_str()));
        for (const std::string& line : environment_) variables_.push_back(const_cast<char*>(line.c_str()));
        args_.push_back(nullptr);
        variables_.push_back(nullptr);
        plan_.program = program_.c_str();
        plan_.argv = args_.data();
        plan_.envp = variables_.data();
        plan_.scratch = folder_.c_str();
        add_rules(cell);
    }
    PlayerPlan& plan() { return plan_; }
    bool fits() const { return plan_.rule_count <= MAX_RULES; }

private:
    // The system's folders and --player-read; then what the command names,
    // and the game's folder.
    void add_rules(const CellPlan& cell) {
        plan_.rule_count = 0;
        auto add = [&](const char* path, landlock::Reach reach) {
            if (plan_.rule_count < MAX_RULES) plan_.rules[plan_.rule_count] = {path, reach};
            ++plan_.rule_count;
        };
        for (const std::string& path : cell.readable) add(path.c_str(), landlock::Reach::read);
        // The cell's own /proc shows the game alone; the system's, only the player itself (a
        // sanitizer reads its maps and threads there).
        add(cell.own_proc_readable ? "/proc" : "/proc/self", landlock::Reach::read);
        for (const char* device : {"/dev/null", "/dev/full"}) add(device, landlock::Reach::read_write);
        for (const char* device : {"/dev/zero", "/dev/random", "/dev/urandom"}) add(device, landlock::Reach::read);
        add(program_.c_str(), landlock::Reach::read);
        for (std::size_t i = 1; i < argv_.size(); ++i) {
            if (argv_[i].starts_with("/")) add(argv_[i].c_str(), landlock::Reach::read);
        }
        add(folder_.c_str(), landlock::Reach::own);
    }

    std::vector<std::string> argv_;
    std::string program_, folder_;
    std::vector<std::string> environment_;
    std::vector<char*> args_, variables_;
    PlayerPlan plan_;
};

// Reaps what ends in the cell until the player does: its wait status.
int await_player(pid_t player) {
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(-1, &status, __WALL);
        if (ended == player || ended < 0) return ended < 0 ? SIGKILL : status;
    }
}

// Everything the player left behind dies, and is reaped: with a namespace
// of processes, all in it but us; else the player's process group.
void end_the_rest(const CellPlan& plan, pid_t player) {
    ::kill((plan.namespaces & CLONE_NEWPID) ? -1 : -player, SIGKILL);
    while (::waitpid(-1, nullptr, __WALL) > 0) {}
}

char player_stack[PLAYER_STACK];

pid_t clone_game(PlayerPlan& plan) {
    // The last player left its frames marked on this stack, never returning
    // from them; the sanitizer build must not take them for live ones.
    ASAN_UNPOISON_MEMORY_REGION(player_stack, sizeof player_stack);
    return clone_player(plan, player_stack + PLAYER_STACK);
}

std::string fresh_folder(const CellPlan& cell) {
    std::string pattern = cell.folder + "/XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : "";
}

void remove_folder(const std::string& folder) {
    // A failure is ignored: what cannot go now goes with the cell's folder at the end.
    if (!folder.empty()) (void)game::remove_tree(folder);
}

// A player's steps once, without an exec: what does not work here.
unsigned trial(const CellPlan& cell) {
    const std::string folder = fresh_folder(cell);
    Game game(cell, {"/bin/true"}, folder);
    PlayerPlan& plan = game.plan();
    plan.trial = true;
    const pid_t player = clone_game(plan);
    unsigned failed = folder.empty() ? step_bit(Step::working_folder) : 0;
    if (player < 0) failed |= step_bit(Step::clone);
    if (player > 0) await_player(player);
    remove_folder(folder);
    return failed | plan.failed_steps;
}

// The command's words, each ended by a NUL: an empty one is a word too.
std::vector<std::string> words_of(std::string_view body) {
    std::vector<std::string> words;
    for (std::size_t end; (end = body.find('\0')) != std::string_view::npos; body.remove_prefix(end + 1)) {
        words.emplace_back(body.substr(0, end));
    }
    return words;
}

void refuse(int socket, Step step, int number) {
    if (!cell::send(socket, {cell::Kind::failed, static_cast<int>(step), number})) ::_exit(1);
}

// Starts the game's player; its pid, or -1 with the plan saying why not.
pid_t start_player(Game& game, const cell::Message& request) {
    PlayerPlan& plan = game.plan();
    plan.input = request.descriptors[0], plan.output = request.descriptors[1], plan.errors = request.descriptors[2];
    if (!game.fits()) {
        plan.failed_step = Step::landlock, plan.failed_errno = E2BIG;
        return -1;
    }
    const pid_t player = clone_game(plan);
    if (player < 0) plan.failed_step = Step::clone, plan.failed_errno = errno;
    return plan.failed_step == Step::none ? player : -1;
}

// One game, from its start to the report of its end.
void play(const CellPlan& cell, int socket, const cell::Message& request) {
    const std::vector<std::string> argv = words_of(request.body);
    const std::string folder = fresh_folder(cell);
    pid_t player = -1;
    int pidfd = -1;
    if (argv.empty() || request.count != 3 || folder.empty()) {
        refuse(socket, Step::working_folder, errno);
    } else {
        Game game(cell, argv, folder);
        player = start_player(game, request);
        if (player > 0) pidfd = static_cast<int>(::syscall(SYS_pidfd_open, player, 0));
        if (player > 0 && pidfd < 0) {
            game.plan().failed_step = Step::clone, game.plan().failed_errno = errno;
            ::kill(player, SIGKILL);  // a player we could not hand over is not played
        }
        if (pidfd < 0) refuse(socket, game.plan().failed_step, game.plan().failed_errno);
    }
    for (int i = 0; i < request.count; ++i) ::close(request.descriptors[i]);
    if (pidfd >= 0 && !cell::send(socket, {cell::Kind::started}, {}, &pidfd, 1)) ::_exit(1);
    if (pidfd >= 0) ::close(pidfd);
    const int status = player > 0 ? await_player(player) : 0;
    if (player > 0) end_the_rest(cell, player);
    if (pidfd >= 0 && !cell::send(socket, {cell::Kind::ended, status})) ::_exit(1);
    remove_folder(folder);
}

}  // namespace

void run_cell(const CellPlan& plan, int socket) {
    const unsigned failed = set_up(plan, socket) | trial(plan);
    if (!cell::send(socket, {cell::Kind::ready, static_cast<int>(failed)})) ::_exit(1);
    for (;;) {
        cell::Message request;
        if (!cell::receive(socket, request, cell::MAX_BODY) || request.header.kind != cell::Kind::start) ::_exit(0);
        play(plan, socket, request);
    }
}

}  // namespace proc
