#include "common/usage.h"

#include <cstdio>
#include <cstdlib>

namespace game {

namespace {

bool is_help(const std::string& arg) { return arg == "--help" || arg == "-h"; }

[[noreturn]] void print_help(const char* program, const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "%s: nu se poate scrie ajutorul\n", program);
        std::exit(1);
    }
    std::exit(0);
}

// Every player is run the same way, so this part of its usage is shared.
std::string player_help(const std::string& program, const char* what_it_does) {
    return "Utilizare: " + program + "\n" + what_it_does +
           "Primește câte o carte pe intrarea standard și răspunde pe ieșirea standard coloana\n"
           "ei (1..4), după protocolul arbitrului. Se rulează prin arbitru, de exemplu:\n"
           "  referee --seed 7 " + program + "\n"
           "  referee --check " + program + "\n";
}

}  // namespace

void show_usage(const Usage& usage) {
    print_help(usage.program, std::string(usage.synopsis) + usage.details);
}

void usage_error(const Usage& usage, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n%s", usage.program, message.c_str(), usage.synopsis);
    std::exit(2);
}

void answer_player_help(int argc, char** argv, const char* program, const char* what_it_does) {
    if (argc > 1 && is_help(argv[1])) print_help(program, player_help(program, what_it_does));
}

std::vector<std::string> tool_operands(int argc, char** argv, const Usage& usage) {
    std::vector<std::string> operands;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options_ended || arg == STANDARD_INPUT || !arg.starts_with("-")) {
            operands.push_back(arg);
        } else if (arg == "--") {
            options_ended = true;
        } else if (is_help(arg)) {
            show_usage(usage);
        } else {
            usage_error(usage, "opțiune necunoscută: " + arg);
        }
    }
    return operands;
}

}  // namespace game
