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

game::Result<CommandResult> run_command(const std::vector<std::string>& argv, const std::string& cwd,
                                        const std::string& input, int timeout_ms, std::size_t limit) {
    Process child;
    std::string error;
    if (child.start(argv, SpawnOptions{cwd, true, limit}, error) != Started::yes) return game::failure(error);
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
    if (state == Wait::exited) return CommandResult{child.exit(), out.kept(), child.errors().kept()};
    if (state == Wait::interrupted) return game::failure(argv[0] + ": întrerupt");
    if (state == Wait::timeout) {
        return game::failure(argv[0] + ": nu s-a încheiat în " + std::to_string(timeout_ms) + " ms");
    }
    return game::failure(argv[0] + ": nu se poate citi ce scrie");
}

}  // namespace proc
