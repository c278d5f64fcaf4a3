// Commands run to their end, and where a program named on a command line is.
#include <filesystem>
#include <unistd.h>

#include "common/process.h"

namespace proc {

std::string program_path(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    std::error_code failed;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", failed);
    const std::string beside = self.parent_path().string() + "/" + program;
    return !failed && ::access(beside.c_str(), X_OK) == 0 ? beside : program;
}

bool run_command(const std::vector<std::string>& argv, const std::string& cwd, const std::string& input,
                 int timeout_ms, CommandResult& result, std::string& error, std::size_t limit) {
    result = CommandResult{};
    Process child;
    if (child.start(argv, SpawnOptions{cwd, true, limit}, error) != Started::yes) return false;
    const Deadline deadline(timeout_ms);
    std::string_view unsent = input;
    if (unsent.empty()) child.close_input();
    Capture out(limit);
    Wait state;
    for (;;) {
        std::string chunk;
        state = child.read(chunk, deadline, &unsent);
        out.add(chunk);
        if (state != Wait::data) break;
    }
    if (state == Wait::closed) state = child.wait_exit(deadline);
    result.out = out.kept();
    result.err = child.errors().kept();
    if (state == Wait::exited) {
        result.exit = child.exit();
        return true;
    }
    error = argv[0] + (state == Wait::interrupted ? ": întrerupt"
                       : state == Wait::timeout   ? ": nu s-a încheiat în " + std::to_string(timeout_ms) + " ms"
                                                  : ": nu se poate citi ce scrie");
    return false;
}

}  // namespace proc
