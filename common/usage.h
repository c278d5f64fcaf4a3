// The command line that every program shares: --help and -h, usage errors,
// and the tools' operands, where "-" stands for standard input.
#pragma once

#include <string>
#include <vector>

namespace game {

// How a program is run. --help prints the synopsis and the details; a usage
// error only the synopsis, after the message.
struct Usage {
    const char* program;
    const char* synopsis;  // the "Utilizare: ..." lines
    const char* details;   // what the program does, and its arguments
};

// The usage on standard output, then exit status 0 (1 when it cannot be written).
[[noreturn]] void show_usage(const Usage& usage);
// "program: message" and the synopsis on standard error, then exit status 2.
[[noreturn]] void usage_error(const Usage& usage, const std::string& message);

// The referee passes a player no arguments, so a player ignores them all but
// an argv[1] of exactly --help or -h. Then it shows its usage (what it does,
// then how every player is run) without touching any file.
void answer_player_help(int argc, char** argv, const char* program, const char* what_it_does);

// The operand that names standard input, and how messages call it.
inline constexpr const char* STANDARD_INPUT = "-";
inline constexpr const char* STANDARD_INPUT_NAME = "intrarea standard";

// A tool's operands, in order. --help or -h anywhere shows the usage; "--"
// ends the options; any other argument that starts with "-", except "-"
// itself, is a usage error.
std::vector<std::string> tool_operands(int argc, char** argv, const Usage& usage);

}  // namespace game
