// Runs a real program on hostile input and checks everything it did: its
// exit status, its standard error, its standard output, and every file
// around it, in a fresh working directory and with a fresh TMPDIR.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/support.h"

namespace hostile {

constexpr std::size_t MEGABYTE = 1 << 20;

// A head, `size` copies of one byte, and a tail: megabytes of input that
// cost nothing until the case that needs them runs.
struct Text {
    Text(const std::string& text = "") : head(text) {}
    Text(const char* text) : head(text) {}
    Text(const std::string& head, char fill, std::size_t size, const std::string& tail = "")
        : head(head), fill(fill), size(size), tail(tail) {}
    std::string str() const { return head + std::string(size, fill) + tail; }

    std::string head;
    char fill = 0;
    std::size_t size = 0;
    std::string tail;
};

// What stands in the working directory before the run.
struct Entry {
    enum class Kind { file, directory, unreadable, endless, script, program, link, locked };
    Kind kind = Kind::file;
    std::string name;
    Text content;
};

Entry file(const std::string& name, const Text& content);
// The content, then `megabytes` of text that is not a number and must never be parsed.
Entry huge(const std::string& name, const std::string& content, std::size_t megabytes);
Entry directory(const std::string& name);
// A directory whose files can be read but none added (meaningless to root:
// cases with one run as an ordinary user).
Entry locked(const std::string& name);
// No read permission (meaningless to root, so such cases are skipped then).
Entry unreadable(const std::string& name, const std::string& content);
// A pipe that holds the content and never ends: a program that reads one
// byte past it blocks, and the run fails on its timeout.
Entry endless(const std::string& name, const std::string& content);
// An executable shell script.
Entry script(const std::string& name, const std::string& body);
// An executable file of this content, its "#!" line included.
Entry program(const std::string& name, const std::string& content);
// A symbolic link to `target`.
Entry link(const std::string& name, const std::string& target);

struct Output {
    enum class Kind { exact, answers, clean_lines, contains };
    Kind kind = Kind::exact;
    std::string text;
    int count = 0;
    std::string absent = {};  // with contains: a text that must not be there
};

Output exactly(const std::string& text);
// `count` answer lines, no column twice in a round.
Output answers(int count);
// The first `count` lines of what the program writes on the table's clean run.
Output clean_lines(int count);
Output containing(const std::string& text);
Output containing_but_not(const std::string& text, const std::string& absent);

struct Expected {
    int exit_code = 0;
    std::string error = {};              // a part of standard error; empty: standard error stays empty
    Output out = {};                     // by default: standard output stays empty
    std::vector<std::string> made = {};  // the files that the program creates in its directory
    std::string record_head = {};        // when not empty: how the game record "game.dat" begins
    bool whole_error = false;            // standard error is exactly `error`, not only holds it
};

// A usage error as every program tells it: one line, then where the help is; status 2.
Expected usage_error(const std::string& program, const std::string& message);
// `program --version`: its name, the version and the commit it was built from.
Expected version_of(const std::string& program);

struct Case {
    const char* name = "";
    std::vector<Entry> setup = {};
    std::vector<std::string> args = {};
    Text input = {};
    Expected expect = {};
    bool output_to_full_device = false;  // standard output is /dev/full
    std::string shell = {};               // when set: run through `sh -c shell sh PROGRAM ARGS...`
    std::string tmpdir = {};              // TMPDIR, when not a fresh empty directory
    bool unprivileged = false;            // run as an ordinary user, also when the tests run as root
    bool needs_sandbox = false;           // skipped, saying why, where the players' sandbox is not whole
};

// A hostile player's case, which means something only in a whole sandbox.
// "{dir}" in the arguments stands for the folder the run starts in.
Case attack(const char* name, std::vector<Entry> setup, std::vector<std::string> args, Expected expect,
            std::string shell = "");

// Shell wrappers for Case::shell.
// The shell resets a trapped SIGCHLD for what it runs; perl's "IGNORE" is
// inherited across exec, as any caller's may be.
inline const std::string SIGCHLD_IGNORED = "exec perl -e '$SIG{CHLD}=\"IGNORE\"; exec @ARGV' \"$@\"";
inline const std::string FILE_SIZE_LIMIT_ZERO = "ulimit -f 0; exec \"$@\"";
// The leak checker of the sanitizer build needs descriptors of its own at exit.
inline std::string few_files(int limit) {
    return "ulimit -n " + std::to_string(limit) + "; export ASAN_OPTIONS=detect_leaks=0; exec \"$@\"";
}

// What `program --help` prints: its snapshot in tests/golden/help/.
std::string help_of(const std::string& program);

std::string case_name(const ::testing::TestParamInfo<Case>& info);

// The groups of a table, one after another.
std::vector<Case> joined(std::initializer_list<std::vector<Case>> groups);

// Why the players' sandbox is not whole here (then exit 2 of --sandbox
// require), or "" when it is.
std::string sandbox_missing();
// How a failing case is named in gtest's messages (not as its bytes).
void PrintTo(const Case& c, std::ostream* out);

// Runs `program` as `c` says and checks every part of the outcome; `clean`
// is the run that clean_lines() refers to.
void expect_outcome(const std::string& program, const Case& c, const Case& clean = {});

// argv run with TMPDIR set to `tmp`.
std::vector<std::string> with_tmpdir(const testing_support::TempDir& tmp, std::vector<std::string> argv);


// The deck file of the codes 0..23 in order, and the record of its best board
// (every column a straight flush, 400 points).
std::string ascending_deck();
std::string ascending_record();

}  // namespace hostile
