// The command line of the programs that judge players, the referee and
// match: each option is declared once, with its value, range, default and
// help line. CLI11 parses (--name value and --name=value alike); the help,
// the messages and the exit statuses are ours.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/result.h"

// CLI11's header costs seconds to compile: only cli.cpp includes it.
namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace cli {

// A value as a message quotes it: bytes that a terminal could obey escaped,
// and cut short, since a value may come from a file (match's CSV).
inline constexpr std::size_t VALUE_SHOWN = 40;
std::string shown_value(const std::string& text);

// A whole number, decimal or 0x hex, within [min, max]: the message names
// the option and the range.
[[nodiscard]] game::Result<std::uint64_t> number_in(const std::string& option, const std::string& text,
                                                    std::uint64_t min, std::uint64_t max);

// Where parsing leaves a program: on to its work, or to its end with this
// status, what was asked for (help, version) or the usage error already shown.
struct Parsed {
    bool run = true;
    int status = 0;
};

class CommandLine {
public:
    // `synopsis`: the "Utilizare: ..." lines; `epilogue`: what follows the options.
    CommandLine(const char* program, std::string synopsis, std::string epilogue = "");
    ~CommandLine();

    // The options declared next are shown under this heading ("" for none).
    void heading(const std::string& text) { heading_ = text; }

    // `value` names the value in the help ("N", "FIȘIER"); a help text may
    // hold line breaks. Given twice, an option keeps its last value.
    CLI::Option* flag(const std::string& name, bool& target, const std::string& help);
    CLI::Option* text(const std::string& name, std::string& target, const std::string& value, const std::string& help);
    // Any option whose value `take` checks and keeps; its failure is the usage error.
    // Given twice, it keeps its last value, unless made repeatable: then each counts.
    CLI::Option* custom(const std::string& name, const std::string& value, const std::string& help,
                        std::function<game::Status(const std::string&)> take);
    // `refused`, when given, says what a bad value is instead of naming the option and range.
    template <typename Number>
    CLI::Option* number(const std::string& name, Number& target, std::uint64_t min, std::uint64_t max,
                        const std::string& value, const std::string& help, const std::string& refused = "") {
        return custom(name, value, help, [&target, name, min, max, refused](const std::string& text) -> game::Status {
            const auto parsed = number_in(name, text, min, max);
            if (!parsed) return game::failure(refused.empty() ? parsed.error() : refused + ": " + text);
            target = static_cast<Number>(*parsed);
            return {};
        });
    }

    // The operands: every word that is no option, anywhere (match)...
    void operands(std::vector<std::string>& target);
    // ...or a command: the first word that is no option, and everything after it (the referee).
    void command(std::vector<std::string>& target);

    [[nodiscard]] Parsed parse(int argc, char** argv);
    // "program: message", then where the help is; the status to end with, 2.
    [[nodiscard]] int usage_error(const std::string& message) const;
    static void repeatable(CLI::Option* option);
    static bool given(const CLI::Option* option);
    static std::string name_of(const CLI::Option* option);
    std::string help() const;

private:
    struct Shown {
        std::string name, value, help, heading;
    };
    CLI::Option* declared(CLI::Option* option, const std::string& name, const std::string& value,
                          const std::string& help);
    std::vector<Shown> in_help_order() const;
    [[nodiscard]] Parsed checked_operands();

    const char* program_;
    std::string synopsis_, epilogue_, heading_;
    std::unique_ptr<CLI::App> app_;
    std::vector<Shown> shown_;
    std::vector<std::string>* operands_ = nullptr;
    bool is_command_ = false;
};

}  // namespace cli
