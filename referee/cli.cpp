#include "referee/cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>

#include "common/files.h"
#include "common/usage.h"
#include "common/version.h"
#include "referee/error_excerpt.h"

namespace cli {

namespace {

std::optional<std::uint64_t> digits_in(const std::string& text, unsigned base) {
    if (text.empty()) return std::nullopt;
    std::uint64_t parsed = 0;
    for (char c : text) {
        const unsigned digit = c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0')
                               : base == 16 && c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                               : base == 16 && c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
                                                                    : base;
        if (digit >= base || parsed > (UINT64_MAX - digit) / base) return std::nullopt;
        parsed = parsed * base + digit;
    }
    return parsed;
}

// The option a message of CLI11's starts with ("--deals: ...").
std::string option_named_in(const std::string& message) { return message.substr(0, message.find(':')); }

// Our words for what CLI11 found wrong.
std::string message_of(const CLI::ParseError& error) {
    const std::string said = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        return "lipsește valoarea pentru " + option_named_in(said);
    }
    if (dynamic_cast<const CLI::ConversionError*>(&error)) return "valoare invalidă: " + said;
    return said;
}

// What was asked for on standard output; lost, it is exit status 2.
Parsed show(const char* program, const std::string& text) {
    std::fputs(text.c_str(), stdout);
    const game::Status flushed = game::flush_standard_output();
    if (flushed) return {false, 0};
    std::fprintf(stderr, "%s: %s\n", program, flushed.error().c_str());
    return {false, 2};
}

}  // namespace

std::string shown_value(const std::string& text) { return referee::shown_text(text, VALUE_SHOWN); }

game::Result<std::uint64_t> number_in(const std::string& option, const std::string& text, std::uint64_t min,
                                      std::uint64_t max) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto parsed = hex ? digits_in(text.substr(2), 16) : digits_in(text, 10);
    if (parsed && *parsed >= min && *parsed <= max) return *parsed;
    return game::failure("valoare invalidă pentru " + option + " (" + std::to_string(min) + ".." +
                         std::to_string(max) + "): " + shown_value(text));
}

CommandLine::CommandLine(const char* program, std::string synopsis, std::string epilogue)
    : program_(program),
      synopsis_(std::move(synopsis)),
      epilogue_(std::move(epilogue)),
      app_(std::make_unique<CLI::App>(program)) {
    app_->set_help_flag("-h,--help");
    app_->set_version_flag("--version", std::string());
    app_->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

CommandLine::~CommandLine() = default;

void CommandLine::repeatable(CLI::Option* option) { option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll); }

bool CommandLine::given(const CLI::Option* option) { return option->count() > 0; }

std::string CommandLine::name_of(const CLI::Option* option) { return option->get_name(); }

CLI::Option* CommandLine::declared(CLI::Option* option, const std::string& name, const std::string& value,
                                   const std::string& help) {
    shown_.push_back({name, value, help, heading_});
    return option;
}

CLI::Option* CommandLine::flag(const std::string& name, bool& target, const std::string& help) {
    return declared(app_->add_flag(name, target), name, "", help);
}

CLI::Option* CommandLine::text(const std::string& name, std::string& target, const std::string& value,
                               const std::string& help) {
    return declared(app_->add_option(name, target), name, value, help);
}

CLI::Option* CommandLine::custom(const std::string& name, const std::string& value, const std::string& help,
                                 std::function<game::Status(const std::string&)> take) {
    // One value, the last given, unless the option is made repeatable.
    auto checked = [take = std::move(take)](const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            if (const game::Status taken = take(text); !taken) throw CLI::ValidationError(taken.error());
        }
    };
    return declared(app_->add_option_function<std::vector<std::string>>(name, checked), name, value, help)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void CommandLine::operands(std::vector<std::string>& target) {
    operands_ = &target;
    app_->add_option("operands", target);
    app_->allow_extras();
}

void CommandLine::command(std::vector<std::string>& target) {
    operands_ = &target;
    is_command_ = true;
    app_->prefix_command();
}

Parsed CommandLine::parse(int argc, char** argv) {
    try {
        app_->parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return show(program_, help());
    } catch (const CLI::CallForVersion&) {
        return show(program_, game::version_line(program_));
    } catch (const CLI::ParseError& error) {
        return {false, usage_error(message_of(error))};
    }
    return checked_operands();
}

// What CLI11 left over: an option it does not know, or the operands.
Parsed CommandLine::checked_operands() {
    std::vector<std::string> left = app_->remaining();
    if (is_command_ && !left.empty() && left.front() == "--") {
        left.erase(left.begin());
    } else if (!left.empty() && left.front().starts_with("-") && left.front() != "-") {
        return {false, usage_error("opțiune necunoscută: " + left.front())};
    }
    if (is_command_) *operands_ = left;
    return {};
}

int CommandLine::usage_error(const std::string& message) const {
    std::fprintf(stderr, "%s: %s\nÎncercați „%s --help”.\n", program_, message.c_str(), program_);
    return 2;
}

// The declared options, with help and version last among those without a heading.
std::vector<CommandLine::Shown> CommandLine::in_help_order() const {
    std::vector<Shown> order = shown_;
    const auto headed = std::find_if(order.begin(), order.end(), [](const Shown& s) { return !s.heading.empty(); });
    order.insert(headed, {{"-h, --help", "", "arată acest ajutor", ""},
                          {"--version", "", "arată versiunea și commitul din care a fost construit", ""}});
    return order;
}

// Each group of options under its heading, their help lines in one column.
std::string CommandLine::help() const {
    const std::vector<Shown> order = in_help_order();
    std::string text = synopsis_;
    for (auto group = order.begin(); group != order.end();) {
        const auto end = std::find_if(group, order.end(), [&](const Shown& s) { return s.heading != group->heading; });
        std::vector<std::pair<std::string, std::string>> named;
        for (auto s = group; s != end; ++s) {
            named.emplace_back(s->name + (s->value.empty() ? "" : " " + s->value), s->help);
        }
        if (!group->heading.empty()) text += group->heading + "\n";
        text += game::help_entries(named);
        group = end;
    }
    return text + epilogue_;
}

}  // namespace cli
