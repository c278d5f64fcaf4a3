// The tools' command-line layer in process, on a tool with both kinds of
// option: what each command line asks for, and what it leaves to run. The
// tools' own tables (tests/hostile/tools_test.cpp) hold the rest.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/usage.h"

namespace {

using Ask = game::CommandLine::Ask;
using Options = std::vector<std::pair<std::string, std::string>>;

const game::Tool TOOL = {
    .program = "tool",
    .synopsis = "Utilizare: tool [--quiet] [--color MOD] [FIȘIER]...\n",
    .description = "Face ceva.\n",
    .options = {{"quiet", nullptr, "fără mesaje"}, {"color", "MOD", "always sau never"}},
};

struct Line {
    const char* name;
    std::vector<std::string> args;
    Ask ask = Ask::run;
    std::string error = {};
    std::vector<std::string> operands = {};
    Options options = {};
};

game::CommandLine parsed(std::vector<std::string> args) {
    args.insert(args.begin(), "tool");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return game::parse_command_line(TOOL, static_cast<int>(argv.size()), argv.data());
}

class CommandLine : public ::testing::TestWithParam<Line> {};

TEST_P(CommandLine, AsksForWhatItSays) {
    const Line& expected = GetParam();
    const game::CommandLine line = parsed(expected.args);
    EXPECT_EQ(line.ask, expected.ask);
    EXPECT_EQ(line.error, expected.error);
    if (line.ask != Ask::run) return;
    EXPECT_EQ(line.operands, expected.operands);
    EXPECT_EQ(line.options, expected.options);
}

INSTANTIATE_TEST_SUITE_P(
    Tool, CommandLine,
    ::testing::Values(
        Line{.name = "empty_value_and_one_that_looks_like_an_option", .args = {"--color=", "--color", "--quiet"},
             .options = {{"color", ""}, {"color", "--quiet"}}},
        Line{.name = "option_without_value", .args = {"a", "--quiet", "b"}, .operands = {"a", "b"},
             .options = {{"quiet", ""}}},
        Line{.name = "double_dash_ends_the_options", .args = {"--", "--quiet", "-h", "--"},
             .operands = {"--quiet", "-h", "--"}},
        Line{.name = "version_anywhere", .args = {"f", "--quiet", "--version", "--bogus"}, .ask = Ask::version},
        Line{.name = "first_error_before_help", .args = {"--bogus", "--help"}, .ask = Ask::usage_error,
             .error = "opțiune necunoscută: --bogus"},
        Line{.name = "unknown_short_option", .args = {"-q"}, .ask = Ask::usage_error,
             .error = "opțiune necunoscută: -q"},
        Line{.name = "unknown_option_with_a_value", .args = {"--colour=never"}, .ask = Ask::usage_error,
             .error = "opțiune necunoscută: --colour"},
        Line{.name = "value_where_none_is_taken", .args = {"--quiet=yes"}, .ask = Ask::usage_error,
             .error = "opțiunea --quiet nu primește o valoare"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
