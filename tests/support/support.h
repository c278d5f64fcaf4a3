// Helpers for tests that run the real programs: where they are, scratch
// directories, whole files, and one run of a program with given input.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Path of a built program, e.g. bin("referee").
std::string bin(const std::string& name);
// Path of a program built only for the tests, e.g. helper("fake-player").
std::string helper(const std::string& name);

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string read_file(const std::string& path);
// Everything under dir, as sorted relative paths.
std::vector<std::string> entries_of(const std::string& dir);
void write_file(const std::string& path, const std::string& content);

struct RunResult {
    int exit_code = -1;  // -1 when killed by a signal
    int signal = 0;
    std::string out, err;
};

// Runs argv with `input` on standard input (then closed) in `cwd`, collecting
// both outputs. A run that takes longer than timeout_ms is killed and fails
// the test.
RunResult run(const std::vector<std::string>& argv, const std::string& input = "", const std::string& cwd = "",
              int timeout_ms = 60000);

// From now on, what this process starts cannot slip away unseen: whatever
// is orphaned below it becomes its child (the kernel's child subreaper).
void adopt_orphans();
// The processes below this one that still run (zombies aside), as
// "pid: command line".
std::vector<std::string> live_descendants();
// What still runs below this one once `ms` have passed (or at once when
// nothing does): killed, reaped, and returned as "pid: command line". With
// adopt_orphans, nothing a finished run started can escape this.
std::vector<std::string> leftovers_after(int ms);

// Permissions mean nothing to root: when the tests run as root, a program
// whose permissions are tested runs as an ordinary user (setpriv), and the
// directories it works in are handed to that user first. Otherwise both
// leave things as they are.
std::vector<std::string> as_ordinary_user(std::vector<std::string> argv);
void hand_to_ordinary_user(const std::vector<std::string>& directories);

// Holds `actual` against the snapshot tests/golden/NAME. With
// GAME_UPDATE_GOLDEN=1 in the environment the snapshot is written instead,
// for a change of what people see that is meant (review its diff).
void expect_golden(const std::string& name, const std::string& actual);

// The rows of a CSV, its quoted fields unquoted.
std::vector<std::vector<std::string>> csv_rows(const std::string& text);
// A match's CSV with the columns of times blanked, the only ones that differ
// between two runs of one match.
std::string without_times(const std::string& csv);

// A match's results page with what the clock changes masked: the players
// table's last column (its times) and the line of the time the run took,
// which a merge, that plays nothing, does not print; and the build's
// folders in commands, as BIN and HELPERS.
std::string results_without_times(const std::string& page);

// Tokens separated by line feeds, as the referee writes them.
std::string lines(const std::vector<std::string>& tokens);
std::vector<std::string> split(const std::string& text);
// Words joined by single blanks.
std::string join(const std::vector<std::string>& words);

}  // namespace testing_support

namespace testing_support {

// A deck file's text for a deal given as tokens in deal order: the given
// cards first, then the cards not named, in ascending code order.
std::string deck_text(const std::vector<std::string>& tokens);

}  // namespace testing_support
