// Child processes driven through pipes. Each child leads a process group of
// its own, owned by one Process object whose end kills the whole group and
// reaps the child, so that nothing a child starts outlives it. Every wait is
// bounded by a deadline and cut short by an interrupt; whatever the child
// does, the parent neither hangs, nor dies of SIGPIPE, nor holds more than a
// bounded amount of what the child writes on its standard error.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "common/result.h"

namespace proc {

// How a child ended: its exit status, or the signal that killed it.
struct Exit {
    bool signalled = false;
    int code = 0;
    bool clean() const { return !signalled && code == 0; }
};

// "starea 3" / "semnalul 11 (Segmentation fault)": how an end reads to a user.
std::string describe(Exit exit);

// What a child wrote on a captured stream: the first `limit` bytes, the
// last TAIL of the rest (where a program that dies says why), and a count
// of what lies between, which is read and dropped so the child never blocks.
class Capture {
public:
    static constexpr std::size_t DEFAULT_LIMIT = 4096;
    static constexpr std::size_t TAIL = 1024;
    explicit Capture(std::size_t limit = DEFAULT_LIMIT) : limit_(limit) {}
    void add(std::string_view bytes);
    const std::string& kept() const { return kept_; }
    // The kept bytes, a note of how many were dropped, and the tail.
    std::string text() const;

private:
    std::size_t limit_;
    std::string kept_;
    std::string tail_;  // the last bytes past the limit
    std::size_t dropped_ = 0;  // past the limit, the tail included
};

class Deadline {
public:
    explicit Deadline(int milliseconds)
        : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds)) {}
    int remaining_ms() const;

private:
    std::chrono::steady_clock::time_point end_;
};

// The parent's signal state for driving children, set once by the first
// start (or by catch_interrupts): SIGPIPE ignored, so that a child that
// stops reading cannot kill us, and SIGCHLD at its default action, so that
// an inherited "ignore" cannot reap children behind our back.
void prepare_parent();

// Sets that state; and from now on SIGINT, SIGTERM and SIGHUP end every
// wait of this module at once with Wait::interrupted, in every thread,
// instead of killing us: the caller then lets its Process objects kill
// their groups and leaves. A signal ignored when we were started (SIGINT,
// SIGHUP under nohup or in a background job) stays ignored. False when the
// handlers cannot be set up.
bool catch_interrupts();
// The signal that interrupted us, or 0.
int interrupt_signal();

class Sandbox;

struct SpawnOptions {
    std::string cwd;              // empty: the parent's working directory
    bool capture_stderr = false;  // otherwise the child shares the parent's standard error
    std::size_t stderr_limit = Capture::DEFAULT_LIMIT;
    // When given and enabled: the child runs in it, in `slot`'s cell, in a
    // fresh folder of the cell's (`cwd` is not used), its standard error captured.
    const Sandbox* sandbox = nullptr;
    int slot = 0;
};

enum class Started {
    yes,
    not_executable,  // the program is missing or cannot be run: the program's fault
    harness_error,   // no pipe, no process, no directory: the parent's own failure
};

enum class Wait {
    data,         // output arrived
    closed,       // the child's output reached its end
    exited,       // the child exited (its descendants may still run)
    timeout,
    interrupted,  // see catch_interrupts
    error,        // the parent could not wait: its own failure
};

class Process {
public:
    Process();
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts argv[0] (looked up in PATH when it holds no slash) with its
    // standard input and output on pipes, in a new process group, with every
    // signal at its default action and none blocked; in the sandbox's cell
    // when the options give one. `error` says why not. A player in a cell
    // has ended once its cell has killed and reaped all it left.
    Started start(const std::vector<std::string>& argv, const SpawnOptions& options, std::string& error);

    // False when the child no longer reads (it closed its input or exited).
    bool write(std::string_view data);
    void close_input();

    // Appends what the child writes on its standard output to `out`, waiting
    // until something arrives, the output ends, the child exits with nothing
    // left to read, the deadline passes or an interrupt comes. When `unsent`
    // is given, its bytes are fed to the child's input meanwhile, as far as
    // the child takes them, and the input is closed once they are all sent.
    Wait read(std::string& out, const Deadline& deadline, std::string_view* unsent = nullptr);

    // Waits for the child itself to exit, reading its captured standard error.
    Wait wait_exit(const Deadline& deadline);

    // How the child ended; only after read or wait_exit said Wait::exited.
    Exit exit() const { return exit_; }

    pid_t pid() const { return pid_; }  // -1 for a player in a cell, which is not our child

    // The captured standard error so far.
    const Capture& errors() const { return errors_; }

    // Kills the whole process group, reaps the child and closes the pipes:
    // what the end of the object does.
    void stop();

private:
    bool check_exited();
    Wait wait(std::string* out, const Deadline& deadline, std::string_view* unsent);
    Started spawn(const std::vector<std::string>& argv, const SpawnOptions& options, int (&ends)[3],
                  std::string& error);
    Started spawn_sandboxed(const std::vector<std::string>& argv, const SpawnOptions& options, int (&ends)[3],
                            std::string& error);

    pid_t pid_ = -1;
    int pidfd_ = -1;  // readable once the child exits; -1 where the system has none
    int input_ = -1, output_ = -1, errors_fd_ = -1;
    bool has_exited_ = false;
    Exit exit_;
    Capture errors_;
    int cell_socket_ = -1;  // a player in a cell: where the cell tells its end (the cell's); pidfd_ is the player's
};

// Closes `fd` when it is open, and marks it closed.
void close_fd(int& fd);

// Errors of the system running out of something (no process, no memory,
// no descriptor), as opposed to a program that is missing or cannot be run.
bool is_harness_errno(int number);

// A program named on a command line: a bare name is one of the programs
// built beside the running one when there is one of that name (else it is
// looked up in PATH when started); a path stays as it is.
std::string program_path(const std::string& program);

// Why `program` (a command's first word, made absolute) cannot be started,
// seen before trying: a missing file, a folder, a file without its run bit,
// a bare name found only in the current folder. One line with the fix;
// empty when nothing is seen, and starting it tells the rest.
std::string start_problem(const std::string& program);
// Why exec refused `program` with the error `number`, in the same words, and
// for a script without "#!" what it lacks.
std::string start_failure(const std::string& program, int number);

struct CommandResult {
    Exit exit;
    std::string out, err;
};

// Runs a command to its end with `input` on its standard input, collecting
// both outputs up to `limit` bytes each. A failure when it cannot start,
// does not finish within timeout_ms, or is interrupted; it is then killed
// with its whole group.
game::Result<CommandResult> run_command(const std::vector<std::string>& argv, const std::string& cwd,
                                        const std::string& input, int timeout_ms, std::size_t limit = 64 << 20);

}  // namespace proc
