#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/cards.h"
#include "common/process.h"

namespace testing_support {

std::string bin(const std::string& name) { return std::string(GAME_BIN_DIR) + "/" + name; }
std::string helper(const std::string& name) { return std::string(GAME_HELPER_DIR) + "/" + name; }

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "game-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> entries_of(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        names.push_back(entry.path().lexically_relative(dir).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

RunResult run(const std::vector<std::string>& argv, const std::string& input, const std::string& cwd,
              int timeout_ms) {
    RunResult result;
    game::Result<proc::CommandResult> done = proc::run_command(argv, cwd, input, timeout_ms);
    if (!done) {
        ADD_FAILURE() << done.error();
        return result;
    }
    (done->exit.signalled ? result.signal : result.exit_code) = done->exit.code;
    result.out = std::move(done->out);
    result.err = std::move(done->err);
    return result;
}

void adopt_orphans() {
    if (::prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) ADD_FAILURE() << "no child subreaper: " << std::strerror(errno);
}

namespace {

struct ProcessEntry {
    pid_t pid = 0, parent = 0;
    bool zombie = false;
};

std::vector<ProcessEntry> all_processes() {
    std::vector<ProcessEntry> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = read_file(entry.path().string() + "/stat");
        if (stat.empty()) continue;  // gone meanwhile
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));  // after the command name
        ProcessEntry process{static_cast<pid_t>(std::stoi(name))};
        std::string state;
        fields >> state >> process.parent;
        process.zombie = state == "Z" || state == "X";
        found.push_back(process);
    }
    return found;
}

std::string described(pid_t pid) {
    std::string command = read_file("/proc/" + std::to_string(pid) + "/cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    return std::to_string(pid) + ": " + command;
}

}  // namespace

std::vector<std::string> live_descendants() {
    const std::vector<ProcessEntry> processes = all_processes();
    std::vector<pid_t> tree = {::getpid()};
    std::vector<std::string> live;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (const ProcessEntry& process : processes) {
            if (process.parent != tree[i]) continue;
            tree.push_back(process.pid);
            if (!process.zombie) live.push_back(described(process.pid));
        }
    }
    return live;
}

std::vector<std::string> leftovers_after(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::vector<std::string> live;
    while (!(live = live_descendants()).empty() && std::chrono::steady_clock::now() < end) {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {}
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (const std::string& process : live) ::kill(std::stoi(process), SIGKILL);
    while (::waitpid(-1, nullptr, live.empty() ? WNOHANG : 0) > 0) {}
    return live;
}

namespace {
constexpr uid_t NOBODY = 65534;
}  // namespace

std::vector<std::string> as_ordinary_user(std::vector<std::string> argv) {
    if (::geteuid() != 0) return argv;
    const std::string id = std::to_string(NOBODY);
    argv.insert(argv.begin(), {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
    return argv;
}

void hand_to_ordinary_user(const std::vector<std::string>& directories) {
    if (::geteuid() != 0) return;
    for (const std::string& directory : directories) {
        ASSERT_EQ(::lchown(directory.c_str(), NOBODY, NOBODY), 0) << directory;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
            ASSERT_EQ(::lchown(entry.path().c_str(), NOBODY, NOBODY), 0) << entry.path();
        }
    }
}

void expect_golden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(GAME_GOLDEN_DIR) + "/" + name;
    const char* update = std::getenv("GAME_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") write_file(path, actual);
    EXPECT_EQ(actual, read_file(path)) << "snapshot " << path;
}

std::vector<std::vector<std::string>> csv_rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            fields.emplace_back();
        } else if (!quoted && c == '\n') {
            rows.push_back(fields);
            fields.assign(1, "");
        } else {
            fields.back() += c;
        }
    }
    return rows;
}

std::string without_times(const std::string& csv) {
    const auto rows = csv_rows(csv);
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const bool time =
                !rows.empty() && i < rows[0].size() && rows[0][i].ends_with("seconds") && &row != &rows[0];
            out += (i ? "," : "") + (time ? std::string("·") : row[i]);
        }
        out += "\n";
    }
    return out;
}

// The places of the build's programs, which differ from one checkout to another, as BIN and HELPERS.
std::string without_build_paths(std::string line) {
    for (const auto& [path, shown] : {std::pair{std::string(GAME_BIN_DIR), "BIN"},
                                      std::pair{std::string(GAME_HELPER_DIR), "HELPERS"}}) {
        for (std::size_t at; (at = line.find(path)) != std::string::npos;) line.replace(at, path.size(), shown);
    }
    return line;
}

std::string results_without_times(const std::string& page) {
    std::istringstream lines(page);
    std::string masked;
    bool in_players = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Timp: ")) continue;
        line = without_build_paths(line);
        if (line.starts_with("plafon:")) in_players = false;
        if (in_players) {
            line.erase(line.find_last_not_of(' ', line.find_last_of(' ')) + 1);
            line += " ·";
        }
        if (line.starts_with("jucător ")) in_players = true;
        masked += line + "\n";
    }
    while (masked.ends_with("\n\n")) masked.pop_back();
    return masked;
}

std::string lines(const std::vector<std::string>& tokens) {
    std::string text;
    for (const std::string& token : tokens) text += token + "\n";
    return text;
}

std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}


std::string deck_text(const std::vector<std::string>& tokens) {
    std::vector<bool> named(game::DECK_SIZE, false);
    std::string text;
    for (const std::string& token : tokens) {
        const auto card = game::parse_token(token);
        if (!card) throw std::invalid_argument("not a card token: " + token);
        named[game::code_of(*card)] = true;
        text += std::to_string(game::code_of(*card)) + " ";
    }
    for (int code = 0; code < game::DECK_SIZE; ++code) {
        if (!named[code]) text += std::to_string(code) + " ";
    }
    return text + "\n";
}

}  // namespace testing_support
