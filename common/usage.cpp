#include "common/usage.h"

#include <algorithm>
#include <cstdio>

#include "common/result.h"
#include "common/version.h"

namespace game {

namespace {

using Ask = CommandLine::Ask;

// Help and version: the text on standard output, or a message and status 2.
int print(const char* program, const std::string& text, const char* what) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "%s: nu se poate scrie %s\n", program, what);
    return 2;
}

CommandLine asking(Ask ask, std::string error = "") {
    CommandLine line;
    line.ask = ask;
    line.error = std::move(error);
    return line;
}

// Every tool's own, besides those it declares.
const std::vector<Option> BUILT_IN = {{"help", nullptr, ""}, {"version", nullptr, ""}};

const Option* find_option(const Tool& tool, const std::string& name) {
    for (const std::vector<Option>* options : {&tool.options, &BUILT_IN}) {
        const auto found =
            std::find_if(options->begin(), options->end(), [&](const Option& o) { return name == o.name; });
        if (found != options->end()) return &*found;
    }
    return nullptr;
}

// Takes the declared option at argv[i] ("--name" or "--name=value"), and its
// value from the next argument when it needs one there.
Status take_option(const Tool& tool, int argc, char** argv, int& i, CommandLine& line) {
    const std::string arg = argv[i];
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const Option* option = find_option(tool, name);
    if (option == nullptr) return failure("opțiune necunoscută: --" + name);
    if (option->value == nullptr) {
        if (equals != std::string::npos) return failure("opțiunea --" + name + " nu primește o valoare");
        line.options.emplace_back(name, "");
    } else if (equals != std::string::npos) {
        line.options.emplace_back(name, arg.substr(equals + 1));
    } else if (i + 1 < argc) {
        line.options.emplace_back(name, argv[++i]);
    } else {
        return failure("opțiunea --" + name + " cere o valoare");
    }
    return {};
}


// Every player is run the same way, so this part of its usage is shared.
std::string player_help(const std::string& program, const char* what_it_does) {
    return "Utilizare: " + program + "\n" + what_it_does +
           "Primește câte o carte pe intrarea standard și răspunde pe ieșirea standard\n"
           "coloana ei (1..4), după protocolul arbitrului. Se rulează prin arbitru, de\n"
           "exemplu:\n"
           "  referee --seed 7 " + program + "\n"
           "  referee --check " + program + "\n";
}

}  // namespace

std::optional<std::string> CommandLine::value(const std::string& name) const {
    const auto last = std::find_if(options.rbegin(), options.rend(), [&](const auto& o) { return o.first == name; });
    if (last == options.rend()) return std::nullopt;
    return last->second;
}

CommandLine parse_command_line(const Tool& tool, int argc, char** argv) {
    CommandLine line;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options_ended || arg == STANDARD_INPUT || !arg.starts_with("-")) {
            line.operands.push_back(arg);
        } else if (arg == "--") {
            options_ended = true;
        } else if (arg == "-h") {
            return asking(Ask::help);
        } else if (!arg.starts_with("--")) {
            return asking(Ask::usage_error, "opțiune necunoscută: " + arg);
        } else if (const Status taken = take_option(tool, argc, argv, i, line); !taken) {
            return asking(Ask::usage_error, taken.error());
        } else if (const std::string& name = line.options.back().first; name == "help" || name == "version") {
            return asking(name == "help" ? Ask::help : Ask::version);
        }
    }
    return line;
}

std::string help_text(const Tool& tool) {
    std::vector<std::pair<std::string, std::string>> named;
    for (const Option& option : tool.options) {
        named.emplace_back(std::string("--") + option.name + (option.value ? std::string(" ") + option.value : ""),
                           option.help);
    }
    for (const Operand& operand : tool.operands) named.emplace_back(operand.name, operand.help);
    return std::string(tool.synopsis) + tool.description + help_entries(named) + tool.epilogue;
}

std::optional<int> answer(const Tool& tool, const CommandLine& line) {
    switch (line.ask) {
        case Ask::run: break;
        case Ask::help: return print(tool.program, help_text(tool), "ajutorul");
        case Ask::version: return print(tool.program, version_line(tool.program), "versiunea");
        case Ask::usage_error: return usage_error(tool, line.error);
    }
    return std::nullopt;
}

int usage_error(const Tool& tool, const std::string& message) {
    std::fprintf(stderr, "%s: %s\nÎncercați „%s --help”.\n", tool.program, message.c_str(), tool.program);
    return tool.usage_status;
}

int tool_failure(const Tool& tool, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", tool.program, message.c_str());
    return 2;
}

std::optional<int> answer_player_arguments(int argc, char** argv, const char* program, const char* what_it_does) {
    if (argc < 2) return std::nullopt;
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") return print(program, player_help(program, what_it_does), "ajutorul");
    if (first == "--version") return print(program, version_line(program), "versiunea");
    return std::nullopt;
}

std::size_t width(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string help_entries(const std::vector<std::pair<std::string, std::string>>& named) {
    std::size_t widest = 0;
    for (const auto& [name, help] : named) widest = std::max(widest, width(name));
    const std::string indent(2 + widest + 2, ' ');
    std::string text;
    for (const auto& [name, help] : named) {
        text += "  " + name + std::string(widest - width(name) + 2, ' ');
        for (const char c : help) text += c == '\n' ? "\n" + indent : std::string(1, c);
        text += "\n";
    }
    return text;
}

}  // namespace game
