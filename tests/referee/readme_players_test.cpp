// The players that README.md teaches with are taken from its code blocks and
// held to what it says of them: short, passing `referee --check`, and the C
// one playing the same games as the Python one.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::write_file;

// The code block right after the line `<!-- readme-player: NAME -->`, without
// its fences; "" when the README has no such block.
std::string readme_player(const std::string& name) {
    const std::string readme = read_file(GAME_SOURCE_DIR "/README.md");
    const std::string mark = "<!-- readme-player: " + name + " -->\n```";
    const std::size_t at = readme.find(mark);
    if (at == std::string::npos) return "";
    const std::size_t start = readme.find('\n', at + mark.size());
    const std::size_t end = readme.find("\n```\n", start);
    if (start == std::string::npos || end == std::string::npos) return "";
    return readme.substr(start + 1, end - start);
}

int lines_of(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// Both players made ready in `dir`, as the README tells: the script as it is
// run by the system's interpreter, the C source compiled with `cc`.
struct Players {
    std::vector<std::string> python, c;
};

Players ready_players(const TempDir& dir) {
    write_file(dir.file("p.py"), readme_player("p.py"));
    write_file(dir.file("p.c"), readme_player("p.c"));
    const RunResult compiled = run({"cc", "-std=c11", "-O2", "-Wall", "-Wextra", "-Werror", "-o", dir.file("p"),
                                    dir.file("p.c")});
    EXPECT_EQ(compiled.exit_code, 0) << compiled.err;
    // The python3 in PATH may be a version manager's shim, which a player may not be able to read.
    return {{"/usr/bin/python3", dir.file("p.py")}, {dir.file("p")}};
}

// A README player gone wrong mostly hangs: a short wait tells it soon.
RunResult referee(std::vector<std::string> args, const std::vector<std::string>& player) {
    args.insert(args.begin(), {bin("referee"), "--timeout-ms", "3000"});
    args.insert(args.end(), player.begin(), player.end());
    return run(args);
}

TEST(ReadmePlayers, FitTheLinesTheReadmePromises) {
    for (const auto& [name, most] : {std::pair{"p.py", 15}, std::pair{"p.c", 20}}) {
        const std::string code = readme_player(name);
        EXPECT_FALSE(code.empty()) << name << " not found in the README";
        EXPECT_LE(lines_of(code), most) << name << ":\n" << code;
    }
}

TEST(ReadmePlayers, PassTheCheck) {
    TempDir dir;
    const Players players = ready_players(dir);
    for (const auto& player : {players.python, players.c}) {
        const RunResult r = referee({"--check", "--seed", "7"}, player);
        EXPECT_EQ(r.exit_code, 0) << player.back() << ":\n" << r.out << r.err;
        EXPECT_EQ(r.out.find("Eșuat"), std::string::npos) << r.out;
    }
}

TEST(ReadmePlayers, PlayTheSameGamesInBothLanguages) {
    TempDir dir;
    const Players players = ready_players(dir);
    for (const std::string seed : {"1", "2", "3"}) {
        const RunResult python = referee({"--seed", seed, "--record", dir.file("python.dat")}, players.python);
        const RunResult c = referee({"--seed", seed, "--record", dir.file("c.dat")}, players.c);
        ASSERT_EQ(python.exit_code, 0) << python.err;
        ASSERT_EQ(c.exit_code, 0) << c.err;
        EXPECT_EQ(read_file(dir.file("python.dat")), read_file(dir.file("c.dat"))) << "seed " << seed;
    }
}

}  // namespace
