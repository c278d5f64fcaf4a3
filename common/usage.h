// The command line of the players and the tools. A tool declares its options
// once; the help text and the parsing both come from that declaration.
// Nothing here exits: each program's main turns what it is told into its
// exit status.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace game {

// An option of a tool, given as "--name". One that takes a value takes it as
// "--name=value" or as the next argument, "--name value".
struct Option {
    const char* name;   // without the two dashes
    const char* value;  // what the help calls its value ("MOD"); nullptr when it takes none
    const char* help;   // its help; each "\n" starts a line aligned under the first
};

// An operand, for the help.
struct Operand {
    const char* name;
    const char* help;
};

// How a tool is run.
struct Tool {
    const char* program;
    const char* synopsis;     // the "Utilizare: ..." lines
    const char* description;  // what the tool does
    std::vector<Option> options = {};
    std::vector<Operand> operands = {};
    const char* epilogue = "";  // the help's last lines, after the options and operands
    int usage_status = 2;       // the exit status of a usage error
};

// What a tool's command line asks for.
struct CommandLine {
    enum class Ask { run, help, version, usage_error };
    Ask ask = Ask::run;
    std::string error;  // with usage_error: what is wrong
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;  // name and value ("" for none), in order

    // The value of the option's last occurrence, if it was given.
    std::optional<std::string> value(const std::string& name) const;
};

// The operand that names standard input, and how messages call it.
inline constexpr const char* STANDARD_INPUT = "-";
inline constexpr const char* STANDARD_INPUT_NAME = "intrarea standard";

// Reads the arguments as the tool declares them, in order: --help or -h, and
// --version, ask for themselves wherever they stand, unless a usage error
// comes first; "--" ends the options; "-" is an operand like a file name.
[[nodiscard]] CommandLine parse_command_line(const Tool& tool, int argc, char** argv);

// The help: synopsis, description, a line per option and operand, epilogue.
std::string help_text(const Tool& tool);

// Answers a command line that asks for anything but run: the help or the
// version line on standard output (status 0, or 2 with a message when it
// cannot be written), or the usage error. Returns the exit status then;
// nothing when the tool is to run.
[[nodiscard]] std::optional<int> answer(const Tool& tool, const CommandLine& line);

// "program: message", then "Încercați „program --help”." on standard error.
// Returns the tool's usage status.
[[nodiscard]] int usage_error(const Tool& tool, const std::string& message);

// Columns of the terminal that UTF-8 text takes: one per character.
std::size_t width(const std::string& text);

// "  NAME  help" lines, every line of a help aligned after the widest name
// (a "\n" in a help starts a line there).
std::string help_entries(const std::vector<std::pair<std::string, std::string>>& named);

// "program: message" on standard error. Returns 2, a tool's failure status.
[[nodiscard]] int tool_failure(const Tool& tool, const std::string& message);

// A player ignores its arguments, all but an argv[1] of --help or -h (its
// usage: what it does, then how every player is run) or --version, which it
// answers on standard output without touching any file. Returns the exit
// status when it answered one (0, or 2 when the answer cannot be written);
// nothing when the player is to play.
[[nodiscard]] std::optional<int> answer_player_arguments(int argc, char** argv, const char* program,
                                                         const char* what_it_does);

}  // namespace game
