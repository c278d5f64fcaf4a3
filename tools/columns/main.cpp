// columns: runs one of the suite's programs, `columns PROGRAM ARG...`, so that
// a single name stands on the PATH for them all. The programs are looked for
// in ../libexec/columns/ from this command's own folder, where an install
// puts them, then beside it, as in the build tree. The program replaces this
// process: its exit status, signals and standard streams are its own.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/guarded_main.h"
#include "common/programs.h"
#include "common/usage.h"

namespace {

std::vector<game::Operand> program_entries() {
    std::vector<game::Operand> entries;
    for (const game::Program& program : game::PROGRAMS) entries.push_back({program.name, program.about});
    return entries;
}

const game::Tool& tool() {
    static const game::Tool columns{
        .program = "columns",
        .synopsis = "Utilizare: columns PROGRAM [ARGUMENT...]\n"
                    "       columns --help | --version\n",
        .description = "Rulează PROGRAM, unul dintre programele suitei de mai jos, cu argumentele date.\n",
        .operands = program_entries(),
        .epilogue = "Ajutorul fiecăruia: columns PROGRAM --help; manualul: man columns-PROGRAM.\n",
    };
    return columns;
}

bool is_program(const std::string& name) {
    for (const game::Program& program : game::PROGRAMS) {
        if (name == program.name) return true;
    }
    return false;
}

// Where the program lies: installed beside this command's folder, or in it.
std::string program_file(const std::string& name) {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) return name;
    const std::filesystem::path folder = self.parent_path();
    for (const std::filesystem::path& place : {folder.parent_path() / "libexec" / "columns" / name, folder / name}) {
        if (::access(place.c_str(), X_OK) == 0) return place.string();
    }
    return (folder.parent_path() / "libexec" / "columns" / name).string();
}

int run(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        // Only columns' own options stand before the program.
        const game::CommandLine line = game::parse_command_line(tool(), std::min(argc, 2), argv);
        if (const std::optional<int> answered = game::answer(tool(), line)) return *answered;
        return game::usage_error(tool(), "lipsește programul de rulat");
    }
    const std::string name = argv[1];
    if (!is_program(name)) return game::usage_error(tool(), "„" + name + "” nu este un program al suitei");
    const std::string file = program_file(name);
    ::execv(file.c_str(), argv + 1);
    const int error = errno;
    (void)game::tool_failure(tool(), file + ": nu poate fi pornit: " + std::strerror(error));
    return error == ENOENT ? 127 : 126;
}

}  // namespace

int main(int argc, char** argv) { return game::guarded_main("columns", run, argc, argv); }
