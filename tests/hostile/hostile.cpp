#include "tests/hostile/hostile.h"

#include "common/version.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace hostile {

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

// Long enough for the slowest program under the sanitizers; a program that
// blocks on an endless pipe fails here instead of hanging the suite.
constexpr int RUN_TIMEOUT_MS = 30000;

void write_text(const std::string& path, const Text& text) {
    std::ofstream out(path, std::ios::binary);
    out << text.head;
    const std::string chunk(MEGABYTE, text.fill);
    for (std::size_t left = text.size; left > 0; left -= std::min(left, chunk.size())) {
        out.write(chunk.data(), static_cast<std::streamsize>(std::min(left, chunk.size())));
    }
    out << text.tail;
}

// The entries of a case, made in a directory; pipes stay open while it lives.
class Setup {
public:
    Setup(const TempDir& dir, const std::vector<Entry>& entries) {
        for (const Entry& entry : entries) make(dir.file(entry.name), entry);
    }
    ~Setup() {
        for (int fd : held_) ::close(fd);
    }
    Setup(const Setup&) = delete;
    Setup& operator=(const Setup&) = delete;

private:
    void make(const std::string& path, const Entry& entry) {
        switch (entry.kind) {
            case Entry::Kind::file: return write_text(path, entry.content);
            case Entry::Kind::directory: fs::create_directory(path); return;
            case Entry::Kind::locked:
                fs::create_directory(path);
                fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec);
                return;
            case Entry::Kind::unreadable:
                write_text(path, entry.content);
                fs::permissions(path, fs::perms::none);
                return;
            case Entry::Kind::script:
            case Entry::Kind::program:
                testing_support::write_file(
                    path, (entry.kind == Entry::Kind::script ? "#!/bin/sh\n" : "") + entry.content.str());
                fs::permissions(path, fs::perms::owner_all);
                return;
            case Entry::Kind::link: fs::create_symlink(entry.content.str(), path); return;
            case Entry::Kind::endless: {
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
                // Read and write: opening does not wait for a reader, and the
                // pipe never reports its end while we hold it.
                const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
                ASSERT_GE(fd, 0) << std::strerror(errno);
                held_.push_back(fd);
                const std::string content = entry.content.str();  // small: the pipe must take it all now
                ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
                return;
            }
        }
    }

    std::vector<int> held_;
};

struct Stamp {
    mode_t mode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const Stamp& o) const {
        return mode == o.mode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
               modified.tv_nsec == o.modified.tv_nsec;
    }
};

std::map<std::string, Stamp> stamps(const TempDir& dir, const std::vector<Entry>& entries) {
    std::map<std::string, Stamp> result;
    for (const Entry& entry : entries) {
        struct stat info {};
        EXPECT_EQ(::lstat(dir.file(entry.name).c_str(), &info), 0) << entry.name;
        // Writing through a FIFO changes its times, not the FIFO: only its kind counts.
        result[entry.name] =
            S_ISFIFO(info.st_mode) ? Stamp{info.st_mode} : Stamp{info.st_mode, info.st_size, info.st_mtim};
    }
    return result;
}

bool runs_unprivileged(const Case& c) {
    return c.unprivileged || std::any_of(c.setup.begin(), c.setup.end(), [](const Entry& e) {
               return e.kind == Entry::Kind::unreadable || e.kind == Entry::Kind::locked;
           });
}

// The files a run may use besides its working directory: TMPDIR.
struct Surroundings {
    TempDir tmp;
};

std::vector<std::string> command(const std::string& program, const Case& c, const Surroundings& around,
                                 const TempDir& dir) {
    std::vector<std::string> argv;
    if (c.output_to_full_device) argv = {"/bin/sh", "-c", "exec \"$@\" >/dev/full", "sh"};
    if (!c.shell.empty()) argv = {"/bin/sh", "-c", c.shell, "sh"};
    argv.push_back(testing_support::bin(program));
    for (std::string arg : c.args) {
        if (const std::size_t at = arg.find("{dir}"); at != std::string::npos) arg.replace(at, 5, dir.path());
        argv.push_back(arg);
    }
    argv.insert(argv.begin(), {"env", "TMPDIR=" + (c.tmpdir.empty() ? around.tmp.path() : c.tmpdir)});
    return runs_unprivileged(c) ? testing_support::as_ordinary_user(argv) : argv;
}

testing_support::RunResult run_case(const std::string& program, const Case& c, const TempDir& dir) {
    Surroundings around;
    const Setup setup(dir, c.setup);
    const auto before = stamps(dir, c.setup);
    if (runs_unprivileged(c)) testing_support::hand_to_ordinary_user({dir.path(), around.tmp.path()});
    testing_support::adopt_orphans();
    const auto result =
        testing_support::run(command(program, c, around, dir), c.input.str(), dir.path(), RUN_TIMEOUT_MS);
    EXPECT_EQ(stamps(dir, c.setup), before) << "the program changed a file it was given";
    EXPECT_TRUE(fs::is_empty(around.tmp.path())) << "the program left files in TMPDIR";
    EXPECT_EQ(testing_support::leftovers_after(1000), std::vector<std::string>{}) << "processes outlived the run";
    return result;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void expect_answers(const std::string& out, int count) {
    ASSERT_TRUE(out.empty() || out.back() == '\n') << "an unfinished answer line: " << out;
    const auto lines = lines_of(out);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count)) << out;
    std::string round;
    for (const std::string& line : lines) {
        ASSERT_TRUE(line.size() == 1 && line[0] >= '1' && line[0] <= '4') << "not an answer: " << line;
        if (round.size() == 4) round.clear();
        EXPECT_EQ(round.find(line[0]), std::string::npos) << "column " << line << " twice in a round: " << out;
        round += line[0];
    }
}

std::string first_lines(const std::string& text, int count) {
    std::string head;
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i < count && std::getline(in, line); ++i) head += line + "\n";
    return head;
}

void expect_output(const std::string& program, const Output& expected, const std::string& out, const Case& clean) {
    switch (expected.kind) {
        case Output::Kind::exact: EXPECT_EQ(out, expected.text); return;
        case Output::Kind::answers: return expect_answers(out, expected.count);
        case Output::Kind::contains:
            EXPECT_NE(out.find(expected.text), std::string::npos) << out;
            if (!expected.absent.empty()) {
                EXPECT_EQ(out.find(expected.absent), std::string::npos) << out;
            }
            return;
        case Output::Kind::clean_lines: {
            TempDir dir;
            const auto reference = run_case(program, clean, dir);
            ASSERT_EQ(reference.exit_code, 0) << "the clean run: " << reference.err;
            ASSERT_GE(lines_of(reference.out).size(), static_cast<std::size_t>(expected.count));
            EXPECT_EQ(out, first_lines(reference.out, expected.count));
            return;
        }
    }
}

void expect_files(const TempDir& dir, const Case& c) {
    std::vector<std::string> expected = c.expect.made;
    for (const Entry& entry : c.setup) expected.push_back(entry.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(testing_support::entries_of(dir.path()), expected);
    if (!c.expect.record_head.empty()) {
        const std::string record = testing_support::read_file(dir.file("game.dat"));
        EXPECT_EQ(record.rfind(c.expect.record_head, 0), 0u) << record;
    }
}

}  // namespace

Entry file(const std::string& name, const Text& content) { return {Entry::Kind::file, name, content}; }
Entry huge(const std::string& name, const std::string& content, std::size_t megabytes) {
    return {Entry::Kind::file, name, Text(content, 'x', megabytes * MEGABYTE)};
}
Entry directory(const std::string& name) { return {Entry::Kind::directory, name, ""}; }
Entry locked(const std::string& name) { return {Entry::Kind::locked, name, ""}; }
Entry unreadable(const std::string& name, const std::string& content) {
    return {Entry::Kind::unreadable, name, content};
}
Entry endless(const std::string& name, const std::string& content) { return {Entry::Kind::endless, name, content}; }
Entry script(const std::string& name, const std::string& body) { return {Entry::Kind::script, name, body}; }
Entry program(const std::string& name, const std::string& content) { return {Entry::Kind::program, name, content}; }
Entry link(const std::string& name, const std::string& target) { return {Entry::Kind::link, name, target}; }

Output exactly(const std::string& text) { return {Output::Kind::exact, text}; }
Output answers(int count) { return {Output::Kind::answers, "", count}; }
Output clean_lines(int count) { return {Output::Kind::clean_lines, "", count}; }
Output containing(const std::string& text) { return {Output::Kind::contains, text}; }
Output containing_but_not(const std::string& text, const std::string& absent) {
    return {Output::Kind::contains, text, 0, absent};
}

std::string help_of(const std::string& program) {
    return testing_support::read_file(std::string(GAME_GOLDEN_DIR) + "/help/" + program + ".txt");
}

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

Case attack(const char* name, std::vector<Entry> setup, std::vector<std::string> args, Expected expect,
            std::string shell) {
    Case c{name, std::move(setup), std::move(args), "", std::move(expect)};
    c.shell = std::move(shell);
    c.needs_sandbox = true;
    return c;
}

std::string sandbox_missing() {
    static const std::string missing = [] {
        const TempDir dir;
        const auto r = testing_support::run({testing_support::bin("referee"), "--sandbox", "require", "--check",
                                             "--seed", "1", testing_support::helper("fake-player")},
                                            "", dir.path());
        return r.exit_code == 0 ? std::string() : "the players' sandbox is not whole here: " + r.err;
    }();
    return missing;
}
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

void expect_outcome(const std::string& program, const Case& c, const Case& clean) {
    if (c.needs_sandbox) {
        if (const std::string missing = sandbox_missing(); !missing.empty()) GTEST_SKIP() << missing;
    }
    TempDir dir;
    const auto r = run_case(program, c, dir);
    EXPECT_EQ(r.signal, 0) << r.err;
    EXPECT_EQ(r.exit_code, c.expect.exit_code) << r.err;
    // A sanitizer report also ends with status 1: it must not pass for the program's own stop.
    EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
    if (c.expect.error.empty() || c.expect.whole_error) {
        EXPECT_EQ(r.err, c.expect.error);
    } else {
        EXPECT_NE(r.err.find(c.expect.error), std::string::npos) << r.err;
    }
    expect_output(program, c.expect.out, r.out, clean);
    expect_files(dir, c);
}

std::vector<Case> joined(std::initializer_list<std::vector<Case>> groups) {
    std::vector<Case> all;
    for (const auto& group : groups) all.insert(all.end(), group.begin(), group.end());
    return all;
}

Expected usage_error(const std::string& program, const std::string& message) {
    Expected expected{2, program + ": " + message + "\nÎncercați „" + program + " --help”.\n", exactly("")};
    expected.whole_error = true;
    return expected;
}

Expected version_of(const std::string& program) {
    return {0, "", exactly(program + " " + game::VERSION + " (commit " + game::COMMIT + ")\n")};
}

std::vector<std::string> with_tmpdir(const TempDir& tmp, std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"env", "TMPDIR=" + tmp.path()});
    return argv;
}

std::string ascending_deck() {
    std::string text;
    for (int code = 0; code < 24; ++code) text += std::to_string(code) + (code % 4 == 3 ? "\n" : " ");
    return text;
}

std::string ascending_record() {
    std::string text = "0\n400\n8 100 8 100 8 100 8 100 \n";
    for (int k = 0; k < 20; ++k) {
        text += std::to_string(k / 4) + " " + std::to_string(k % 4) + " " + std::to_string(k % 4) + "\n";
    }
    return text;
}

}  // namespace hostile
