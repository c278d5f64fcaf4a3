// Why a player's program cannot be started, in words its author can act on:
// looked at before the start, and again when exec refuses it, so that the
// referee and match say the same whether the player runs in a cell or not.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "common/process.h"
#include "common/shell_words.h"
#include "common/split.h"

namespace proc {

namespace {

// The first bytes of a file: enough for "#!" and its interpreter, or ELF's mark.
std::string head_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(256, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

bool compiled(const std::string& head) { return head.starts_with("\x7f" "ELF"); }

// The words of a "#!" line; none for a file without one.
std::vector<std::string> interpreter_line(const std::string& head) {
    if (!head.starts_with("#!")) return {};
    std::string line = head.substr(2, head.find('\n') - 2);
    for (char& c : line) {
        if (c == '\t' || c == '\r') c = ' ';
    }
    return game::split(line, ' ');
}

// The interpreter to name before the script: the one its "#!" line names,
// else the one its extension suggests.
std::string interpreter_for(const std::string& path, const std::string& head) {
    const std::vector<std::string> words = interpreter_line(head);
    if (!words.empty()) {
        // "#!/usr/bin/env -S python3 -u" names python3.
        const auto named = std::find_if(words.begin() + 1, words.end(), [](const std::string& word) {
            return !word.starts_with("-");
        });
        return words[0].ends_with("/env") && named != words.end() ? *named : words[0];
    }
    for (const auto& [extension, interpreter] : {std::pair{".sh", "sh"}, {".pl", "perl"}, {".rb", "ruby"},
                                                 {".js", "node"}}) {
        if (path.ends_with(extension)) return interpreter;
    }
    return "python3";
}

std::string run_with_interpreter(const std::string& path, const std::string& head) {
    return "porniți-l prin interpretor: " + game::shell_quoted({interpreter_for(path, head), path});
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool is_bare(const std::string& program) { return program.find('/') == std::string::npos; }

// Where exec finds a bare name: the first file of that name in a folder of
// PATH (without one, of the widest default list); "" when none.
std::string found_in_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    for (const std::string& folder : game::split(path ? path : "/usr/local/bin:/usr/bin:/bin", ':')) {
        if (exists(folder + "/" + name)) return folder + "/" + name;
    }
    return "";
}

std::string missing(const std::string& program, const std::string& file) {
    if (file.empty()) {
        struct stat info {};
        if (::stat(program.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            return "nu este în PATH; cel din directorul curent se dă ca " + game::shell_quoted({"./" + program});
        }
        return "nu se găsește în PATH";
    }
    if (!exists(file)) return "nu există";
    // The file is there: what is missing is the interpreter its "#!" line names.
    const std::vector<std::string> interpreter = interpreter_line(head_of(file));
    if (interpreter.empty()) return std::strerror(ENOENT);
    return "interpretorul din rândul lui „#!”, " + interpreter[0] + ", nu există";
}

std::string refused(const std::string& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::strerror(EACCES);
    if (S_ISDIR(info.st_mode)) return "este un director";
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) return std::strerror(EACCES);
    const std::string head = head_of(file);
    const std::string chmod = "nu are dreptul de execuție: dați " + game::shell_quoted({"chmod", "+x", file});
    return compiled(head) ? chmod : chmod + " sau " + run_with_interpreter(file, head);
}

std::string no_format(const std::string& file) {
    const std::string head = head_of(file);
    if (compiled(head) || head.starts_with("#!")) return std::strerror(ENOEXEC);
    return "nu este un program compilat și nu începe cu „#!”: adăugați-i ca prim rând „#!/usr/bin/env " +
           interpreter_for(file, head) + "” sau " + run_with_interpreter(file, head);
}

}  // namespace

std::string start_failure(const std::string& program, int number) {
    // A bare name is the file exec found in PATH.
    const std::string file = is_bare(program) ? found_in_path(program) : program;
    std::string why;
    switch (number) {
        case ENOENT: why = missing(program, file); break;
        case EACCES: why = file.empty() ? std::strerror(EACCES) : refused(file); break;
        case ENOEXEC: why = file.empty() ? std::strerror(ENOEXEC) : no_format(file); break;
        default: why = std::strerror(number);
    }
    return program + ": nu poate fi pornit: " + why;
}

std::string start_problem(const std::string& program) {
    if (is_bare(program)) return found_in_path(program).empty() ? start_failure(program, ENOENT) : "";
    struct stat info {};
    if (::stat(program.c_str(), &info) != 0) return errno == ENOENT ? start_failure(program, ENOENT) : "";
    if (S_ISDIR(info.st_mode) || (S_ISREG(info.st_mode) && ::access(program.c_str(), X_OK) != 0)) {
        return start_failure(program, EACCES);
    }
    return "";
}

}  // namespace proc
