// Child processes driven through pipes, with every wait bounded by a deadline,
// so that whatever the child does the parent neither hangs nor dies of SIGPIPE.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace proc {

struct Child {
    pid_t pid = -1;
    int input = -1;   // our end of the child's standard input
    int output = -1;  // our end of the child's standard output
    int errors = -1;  // our end of the child's standard error, when captured
};

struct SpawnOptions {
    std::string cwd;              // empty: the parent's working directory
    bool capture_stderr = false;  // otherwise the child shares the parent's standard error
};

// Starts argv[0] (looked up in PATH when it holds no slash). The pipes are
// closed on exec in every other child, and SIGPIPE is ignored in the parent
// from now on (the child gets the default action back).
bool spawn(const std::vector<std::string>& argv, const SpawnOptions& options, Child& child, std::string& error);

class Deadline {
public:
    explicit Deadline(int milliseconds)
        : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds)) {}
    int remaining_ms() const;

private:
    std::chrono::steady_clock::time_point end_;
};

// False when the child no longer reads (it closed its input or exited).
bool write_all(int fd, std::string_view data);

enum class ReadStatus { data, closed, timeout, error };

// Appends what the child writes on its standard output to `out`, waiting
// until something arrives, the output closes, or the deadline passes. The
// captured standard error is drained into child_errors meanwhile.
ReadStatus read_some(Child& child, std::string& out, std::string& child_errors, const Deadline& deadline);

// Waits for the child to exit; true with its wait status if it did in time.
bool wait_exit(Child& child, const Deadline& deadline, int& status, std::string& child_errors);

void close_input(Child& child);

// Kills the child if it is still running and reaps it; closes every pipe.
void kill_and_reap(Child& child);
void close_pipes(Child& child);

struct CommandResult {
    int status = 0;           // wait status
    std::string out, err;
};

// Runs a command to its end with `input` on its standard input, collecting
// both outputs. False (with error) when it cannot start or does not finish
// within timeout_ms; it is then killed.
bool run_command(const std::vector<std::string>& argv, const std::string& cwd, const std::string& input,
                 int timeout_ms, CommandResult& result, std::string& error);

// "starea 3" / "semnalul 11 (Segmentation fault)": how a wait status reads to a user.
std::string describe_status(int status);

}  // namespace proc
