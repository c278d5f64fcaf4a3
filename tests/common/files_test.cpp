// The safe writer: what stands at the target decides how it is written, and
// a failed write leaves the old file and no temporary behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/files.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using game::Target;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

const std::string NEW = "the new content\n";

mode_t mode_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

struct WriteCase {
    const char* name;
    void (*setup)(const TempDir& dir);  // what stands in the directory; the target is "out"
    Target target;
    bool written;
    std::string error_part;                // when not written
    void (*check)(const TempDir& dir);     // what stands there afterwards, besides the entries
    std::vector<std::string> entries;      // everything in the directory afterwards
};

class SafeWriter : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SafeWriter, LeavesTheRightThingAndNothingElse) {
    const WriteCase& c = GetParam();
    TempDir dir;
    c.setup(dir);
    const game::Status written = game::replace_file(dir.file("out"), NEW, c.target);
    EXPECT_EQ(static_cast<bool>(written), c.written) << written.error();
    if (!c.written) {
        EXPECT_NE(written.error().find(c.error_part), std::string::npos) << written.error();
    }
    c.check(dir);
    EXPECT_EQ(testing_support::entries_of(dir.path()), c.entries) << "no temporary file may stay";
}

void nothing(const TempDir&) {}
void old_file(const TempDir& dir) {
    write_file(dir.file("out"), "old");
    ::chmod(dir.file("out").c_str(), 0600);
}
void link_to_victim(const TempDir& dir) {
    write_file(dir.file("victim"), "precious");
    fs::create_symlink("victim", dir.file("out"));
}
void link_to_nowhere(const TempDir& dir) { fs::create_symlink("nowhere", dir.file("out")); }
void directory(const TempDir& dir) { fs::create_directory(dir.file("out")); }
void fifo(const TempDir& dir) { ::mkfifo(dir.file("out").c_str(), 0600); }
// The name the writer once used for its temporary file, planted to redirect it.
void planted_at_the_old_temporary_name(const TempDir& dir) {
    write_file(dir.file("victim"), "precious");
    fs::create_symlink("victim", dir.file("out.tmp" + std::to_string(::getpid())));
}

void is_new(const TempDir& dir) {
    EXPECT_EQ(read_file(dir.file("out")), NEW);
    EXPECT_TRUE(S_ISREG(mode_of(dir.file("out"))));
}
void kept_its_mode(const TempDir& dir) {
    is_new(dir);
    EXPECT_EQ(mode_of(dir.file("out")) & 0777, 0600u);
}
void is_old(const TempDir& dir) { EXPECT_EQ(read_file(dir.file("out")), "old"); }
void victim_untouched(const TempDir& dir) { EXPECT_EQ(read_file(dir.file("victim")), "precious"); }
void victim_written_link_kept(const TempDir& dir) {
    EXPECT_EQ(read_file(dir.file("victim")), NEW);
    EXPECT_TRUE(S_ISLNK(mode_of(dir.file("out"))));
}
void link_kept(const TempDir& dir) { EXPECT_TRUE(S_ISLNK(mode_of(dir.file("out")))); }
void still_a_directory(const TempDir& dir) { EXPECT_TRUE(fs::is_directory(dir.file("out"))); }
void still_a_fifo(const TempDir& dir) { EXPECT_TRUE(S_ISFIFO(mode_of(dir.file("out")))); }
void planted_link_untouched(const TempDir& dir) {
    is_new(dir);
    victim_untouched(dir);
}

const std::vector<std::string> OUT = {"out"};
const std::string PLANTED = "out.tmp" + std::to_string(::getpid());

INSTANTIATE_TEST_SUITE_P(
    Targets, SafeWriter,
    ::testing::Values(
        WriteCase{"new_file", nothing, Target::any, true, "", is_new, OUT},
        WriteCase{"existing_file_keeps_its_mode", old_file, Target::any, true, "", kept_its_mode, OUT},
        WriteCase{"planted_link_at_the_old_temporary_name", planted_at_the_old_temporary_name, Target::any, true, "",
                  planted_link_untouched, {"out", PLANTED, "victim"}},
        // A link the user made is followed: the file it names gets the content.
        WriteCase{"link_to_a_file", link_to_victim, Target::any, true, "", victim_written_link_kept, {"out", "victim"}},
        WriteCase{"link_to_nothing_is_replaced_not_followed", link_to_nowhere, Target::any, true, "", is_new, OUT},
        WriteCase{"directory", directory, Target::any, false, "out: nu se poate scrie: Is a directory",
                  still_a_directory, OUT},
        WriteCase{"regular_only_refuses_a_link", link_to_victim, Target::regular_only, false,
                  "nu se scrie decât într-un fișier obișnuit", [](const TempDir& d) {
                      victim_untouched(d);
                      link_kept(d);
                  },
                  {"out", "victim"}},
        WriteCase{"regular_only_refuses_a_dangling_link", link_to_nowhere, Target::regular_only, false,
                  "nu se scrie decât", link_kept, OUT},
        WriteCase{"regular_only_refuses_a_fifo", fifo, Target::regular_only, false, "nu se scrie decât", still_a_fifo,
                  OUT},
        WriteCase{"regular_only_writes_a_regular_file", old_file, Target::regular_only, true, "", kept_its_mode, OUT}),
    [](const auto& info) { return info.param.name; });

TEST(SafeWriter, WritesThroughAFifoWithoutReplacingIt) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("out").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = read_file(dir.file("out")); });
    const game::Status written = game::replace_file(dir.file("out"), NEW);
    EXPECT_TRUE(written) << written.error();
    reader.join();
    EXPECT_EQ(received, NEW);
    EXPECT_TRUE(S_ISFIFO(mode_of(dir.file("out"))));
}

TEST(SafeWriter, ANewFileGetsTheUmasksMode) {
    TempDir dir;
    const game::Status written = game::replace_file(dir.file("out"), NEW);
    ASSERT_TRUE(written) << written.error();
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(mode_of(dir.file("out")) & 0777, 0666u & ~mask);
}

// In a child: the file size limit is the process's, and so is SIGXFSZ.
TEST(SafeWriter, AFileSizeLimitIsAnErrorThatKeepsTheOldFile) {
    TempDir dir;
    write_file(dir.file("out"), "old");
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit small{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const game::Status written = game::replace_file(dir.file("out"), NEW);
        ::_exit(!written && written.error().find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with EFBIG";
    is_old(dir);
    EXPECT_EQ(testing_support::entries_of(dir.path()), OUT);
}

TEST(SafeWriter, ChecksBeforeTheWorkWithoutLeavingAnything) {
    TempDir dir;
    const game::Status file = game::check_writable(dir.file("out"));
    EXPECT_TRUE(file) << file.error();
    fs::create_directory(dir.file("d"));
    const game::Status folder = game::check_writable(dir.file("d"));
    EXPECT_FALSE(folder);
    EXPECT_NE(folder.error().find("Is a directory"), std::string::npos) << folder.error();
    const game::Status missing = game::check_writable(dir.file("missing/out"));
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error().find("missing/out: nu se poate scrie: No such file or directory"), std::string::npos)
        << missing.error();
    const game::Status prepared = game::prepare_folder(dir.file("made/here"));
    EXPECT_TRUE(prepared) << prepared.error();
    EXPECT_EQ(testing_support::entries_of(dir.path()), (std::vector<std::string>{"d", "made", "made/here"}));
}

}  // namespace
