// The suite as a user installs it: into a temporary DESTDIR, then used with
// only that prefix's bin/ on the PATH, its manual pages and its completion;
// and the Debian package, unpacked, never installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "common/programs.h"
#include "tests/support/support.h"

namespace {

using testing_support::bin;
using testing_support::read_file;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;
using testing_support::without_times;

constexpr const char* PREFIX = "/usr";

// One install for every test: cmake --install with DESTDIR.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new TempDir;
        const RunResult installed =
            run({"/usr/bin/env", "DESTDIR=" + root_->path(), "cmake", "--install", GAME_BUILD_DIR, "--prefix", PREFIX});
        ASSERT_EQ(installed.exit_code, 0) << installed.err;
    }
    static void TearDownTestSuite() { delete root_; }

    static std::string prefix() { return root_->path() + PREFIX; }
    // The command with nothing on the PATH but the prefix's bin/.
    static std::vector<std::string> alone(std::vector<std::string> command) {
        command.insert(command.begin(), {"/usr/bin/env", "-i", "PATH=" + prefix() + "/bin", "LC_ALL=C.UTF-8"});
        return command;
    }
    static std::vector<std::string> manual_pages() {
        std::vector<std::string> pages = {"columns.1"};
        for (const game::Program& program : game::PROGRAMS) pages.push_back(std::string("columns-") + program.name + ".1");
        return pages;
    }
    static TempDir* root_;
};

TempDir* Installed::root_ = nullptr;

// The files of the install, as paths under the prefix.
TEST_F(Installed, PutsEachFileInItsPlaceAndNothingOutsideThePrefix) {
    std::vector<std::string> expected = {"bin/columns", "share/bash-completion/completions/columns"};
    for (const game::Program& program : game::PROGRAMS) expected.push_back(std::string("libexec/columns/") + program.name);
    for (const std::string& page : manual_pages()) expected.push_back("share/man/man1/" + page);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_->path())) {
        if (!entry.is_directory()) files.push_back(std::filesystem::relative(entry.path(), prefix()).string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected);
}

TEST_F(Installed, ColumnsPlaysTheMatchOfTheBuildTree) {
    const TempDir dir;
    const std::vector<std::string> match = {"match", "--deals", "3", "--seed", "1", "--quiet", "--csv", "-"};
    std::vector<std::string> built = match;
    built[0] = bin("match");
    const RunResult installed = run(alone([&] {
                                        std::vector<std::string> command = {"columns"};
                                        command.insert(command.end(), match.begin(), match.end());
                                        return command;
                                    }()),
                                    "", dir.path(), 120000);
    const RunResult here = run(built, "", dir.path(), 120000);
    ASSERT_EQ(installed.exit_code, 0) << installed.err;
    ASSERT_EQ(here.exit_code, 0) << here.err;
    // The same rows, but for the players' commands: each names the program it ran.
    auto rows_of = [](const std::string& csv, std::string& commands) {
        auto rows = testing_support::csv_rows(without_times(csv));
        for (auto& row : rows) {
            commands += row.at(18) + "\n";
            row.erase(row.begin() + 18);
        }
        return rows;
    };
    std::string installed_commands, built_commands;
    EXPECT_EQ(rows_of(installed.out, installed_commands), rows_of(here.out, built_commands));
    EXPECT_NE(installed_commands.find(prefix() + "/libexec/columns/zarvel-002\n"), std::string::npos)
        << installed_commands;
}

TEST_F(Installed, EveryProgramAnswersItsHelpThroughColumns) {
    const RunResult listed = run(alone({"columns", "--help"}));
    ASSERT_EQ(listed.exit_code, 0) << listed.err;
    EXPECT_EQ(listed.out, read_file(std::string(GAME_GOLDEN_DIR) + "/help/columns.txt"));
    for (const game::Program& program : game::PROGRAMS) {
        EXPECT_NE(listed.out.find(std::string("  ") + program.name + " "), std::string::npos) << program.name;
        const RunResult help = run(alone({"columns", program.name, "--help"}));
        EXPECT_EQ(help.exit_code, 0) << program.name << ": " << help.err;
        EXPECT_NE(help.out.find("Utilizare: "), std::string::npos) << program.name;
    }
    const RunResult unknown = run(alone({"columns", "rm"}));
    EXPECT_EQ(unknown.exit_code, 2);
    EXPECT_EQ(unknown.err, "columns: „rm” nu este un program al suitei\nÎncercați „columns --help”.\n");
}

TEST_F(Installed, EveryManualPageRendersWithoutAWarning) {
    for (const std::string& page : manual_pages()) {
        const std::string path = prefix() + "/share/man/man1/" + page;
        const RunResult shown = run({"/usr/bin/env", "LC_ALL=C.UTF-8", "MANWIDTH=80", "man", "--warnings", "-l", path});
        EXPECT_EQ(shown.exit_code, 0) << page;
        EXPECT_EQ(shown.err, "") << page;
        // Justified text: any run of blanks between the words.
        std::istringstream words(shown.out);
        std::string text;
        for (std::string word; words >> word;) text += word + " ";
        const std::string name = page.substr(0, page.size() - 2);
        EXPECT_NE(text.find("NAME " + name + " - "), std::string::npos) << shown.out;
    }
}

// What bash offers after the words typed, through the installed completion script.
std::string completed(const std::string& script, const std::string& words, const std::string& cwd) {
    const RunResult offered =
        run({"/bin/bash", "-c",
             "source '" + script + "'; COMP_WORDS=(" + words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _columns; "
             "printf '%s\\n' \"${COMPREPLY[@]}\""},
            "", cwd);
    EXPECT_EQ(offered.exit_code, 0) << offered.err;
    return offered.out;
}

TEST_F(Installed, BashCompletesProgramsTheirOptionsAndFiles) {
    const TempDir dir;
    testing_support::write_file(dir.file("game.dat"), "");
    const std::string script = prefix() + "/share/bash-completion/completions/columns";
    const std::string columns = prefix() + "/bin/columns";
    EXPECT_EQ(completed(script, "columns ma", dir.path()), "match\n");
    EXPECT_EQ(completed(script, "columns ev-player-a", dir.path()), "ev-player-anchored\n");
    EXPECT_EQ(completed(script, columns + " match --dea", dir.path()), "--deals\n");
    EXPECT_EQ(completed(script, columns + " record-view gam", dir.path()), "game.dat\n");
}

// The package holds the files of an install to /usr, and nothing else.
TEST_F(Installed, TheDebianPackageHoldsExactlyTheInstalledFiles) {
#ifdef GAME_SANITIZED
    GTEST_SKIP() << "the package is made of the release build's programs";
#endif
    const TempDir out;
    const RunResult made = run({"cpack", "-G", "DEB", "--config", std::string(GAME_BUILD_DIR) + "/CPackConfig.cmake",
                                "-B", out.path()},
                               "", out.path(), 120000);
    ASSERT_EQ(made.exit_code, 0) << made.out << made.err;
    std::string deb;
    for (const auto& entry : std::filesystem::directory_iterator(out.path())) {
        if (entry.path().extension() == ".deb") deb = entry.path().string();
    }
    ASSERT_FALSE(deb.empty()) << made.out;
    EXPECT_TRUE(std::filesystem::path(deb).filename().string().ends_with("_amd64.deb")) << deb;
    const TempDir unpacked;
    ASSERT_EQ(run({"dpkg-deb", "-x", deb, unpacked.path()}).exit_code, 0);
    std::vector<std::string> in_package, installed;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(unpacked.path())) {
        if (!entry.is_directory()) in_package.push_back(std::filesystem::relative(entry.path(), unpacked.path()));
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_->path())) {
        if (!entry.is_directory()) installed.push_back(std::filesystem::relative(entry.path(), root_->path()));
    }
    std::sort(in_package.begin(), in_package.end());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(in_package, installed);
    const RunResult info = run({"dpkg-deb", "-f", deb, "Package", "Depends"});
    EXPECT_EQ(info.out, "Package: columns\n") << "a static suite depends on no other package";
    const RunResult version = run({unpacked.path() + "/usr/bin/columns", "--version"});
    EXPECT_TRUE(version.out.starts_with("columns ")) << version.out << version.err;
}

}  // namespace
