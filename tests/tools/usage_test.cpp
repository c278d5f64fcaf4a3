// The tools' command-line layer in process, on a tool with both kinds of
// option: what each command line asks for, and what it leaves to run. The
// tools' own tables (tests/hostile/tools_test.cpp) hold the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/programs.h"
#include "common/usage.h"
#include "tests/support/support.h"

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

// Every program's help, as its snapshot holds it byte for byte, reads whole
// on an 80-column terminal: no line wider, counted in characters.
TEST(Help, EveryProgramsHelpFitsEightyColumns) {
    const std::string folder = std::string(GAME_GOLDEN_DIR) + "/help/";
    for (const game::Program& program : game::PROGRAMS) {
        EXPECT_TRUE(std::filesystem::exists(folder + program.name + ".txt")) << program.name;
    }
    EXPECT_TRUE(std::filesystem::exists(folder + "columns.txt"));
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::istringstream text(testing_support::read_file(entry.path().string()));
        for (std::string line; std::getline(text, line);) {
            const auto width = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
            EXPECT_LE(width, 80) << entry.path().filename() << ": " << line;
        }
    }
}

}  // namespace
