#include "common/files.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace game {

namespace {

std::string cannot_write(const std::string& path, int number) {
    return path + ": nu se poate scrie: " + std::strerror(number);
}

std::string not_regular(const std::string& path) { return path + ": nu se scrie decât într-un fișier obișnuit"; }

// A write beyond the file size limit then fails with EFBIG, which is
// reported like any other failure, instead of killing the writer half-way.
void ignore_file_size_signal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// The mode of a new file: 0666 less the umask, which the kernel shows
// without our changing it (setting and restoring it would race with other
// threads creating files).
mode_t new_file_mode() {
    static const mode_t mode = [] {
        mode_t mask = 022;
        if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
            char line[256];
            while (std::fgets(line, sizeof line, status)) {
                if (std::strncmp(line, "Umask:", 6) == 0) {
                    mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
                }
            }
            std::fclose(status);
        }
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// Where a path's content goes and how.
struct Destination {
    std::string path;      // the path, or the file its symbolic link names
    bool through = false;  // written in place: a device, FIFO or socket
    mode_t mode = 0;
};

Result<Destination> find_destination(const std::string& path, Target target) {
    Destination to{path, false, new_file_mode()};
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return to;
        return failure(cannot_write(path, errno));
    }
    if (S_ISLNK(info.st_mode)) {
        if (target == Target::regular_only) return failure(not_regular(path));
        if (::stat(path.c_str(), &info) != 0) {
            // A link to nothing is replaced, not followed.
            if (errno == ENOENT) return to;
            return failure(cannot_write(path, errno));
        }
        if (S_ISREG(info.st_mode)) {
            // The new file goes beside the one the link names; a link that
            // cannot be spelled as a path (/dev/stdout onto a deleted file)
            // is written through.
            const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), std::free);
            if (real) to.path = real.get();
            to.through = !real;
        }
    }
    if (S_ISDIR(info.st_mode)) return failure(cannot_write(path, EISDIR));
    if (!S_ISREG(info.st_mode)) {
        if (target == Target::regular_only) return failure(not_regular(path));
        to.through = true;
    }
    to.mode = info.st_mode & 0777;
    return to;
}

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A FIFO waits for its reader here, as it does for a shell's redirection;
// an interrupt ends the wait.
Status write_through(const Destination& to, const std::string& path, std::string_view content) {
    const int fd = ::open(to.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failure(cannot_write(path, errno));
    bool written = write_all(fd, content);
    int number = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        number = errno;
    }
    if (!written) return failure(cannot_write(path, number));
    return {};
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the file, completed by mkostemp.
std::string temporary_pattern(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder_of(path) + "/." + name + ".XXXXXX";
}

Status write_beside(const Destination& to, const std::string& path, std::string_view content, Durability durability) {
    std::string temporary = temporary_pattern(to.path);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return failure(cannot_write(path, errno));
    // A file system without modes or without fsync is no reason to fail.
    ::fchmod(fd, to.mode);
    bool written = write_all(fd, content) &&
                   (durability == Durability::rename || ::fsync(fd) == 0 || errno == EINVAL);
    int number = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        number = errno;
    }
    if (written && ::rename(temporary.c_str(), to.path.c_str()) != 0) {
        written = false;
        number = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return failure(cannot_write(path, number));
    }
    return {};
}

// Creates and removes a file of a name nobody can foresee in the folder.
Status takes_new_files(const std::string& folder, const std::string& shown) {
    std::string probe = folder + "/.probe-XXXXXX";
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) return failure(cannot_write(shown, errno));
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

}  // namespace

Status replace_file(const std::string& path, std::string_view content, Target target, Durability durability) {
    ignore_file_size_signal();
    const Result<Destination> to = find_destination(path, target);
    if (!to) return failure(to.error());
    return to->through ? write_through(*to, path, content) : write_beside(*to, path, content, durability);
}

bool writes_in_place(const std::string& path) {
    const Result<Destination> to = find_destination(path, Target::any);  // a path we cannot look at is no device
    return to && to->through;
}

Status check_writable(const std::string& path) {
    const Result<Destination> to = find_destination(path, Target::any);
    if (!to) return failure(to.error());
    if (!to->through) return takes_new_files(folder_of(to->path), path);
    // Opening a FIFO to try it would end its reader's input: asking must do.
    if (::access(to->path.c_str(), W_OK) != 0) return failure(cannot_write(path, errno));
    return {};
}

Status prepare_folder(const std::string& path) {
    std::error_code failed;
    std::filesystem::create_directories(path, failed);
    if (!failed && !std::filesystem::is_directory(path, failed)) {
        failed = std::make_error_code(std::errc::not_a_directory);
    }
    if (failed) return failure(path + ": " + failed.message());
    return takes_new_files(path, path);
}

bool write_control_file(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return written;
}

Result<std::string> read_whole_file(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (!file) return failure(path + ": nu se poate deschide: " + std::strerror(errno));
    std::string content;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, n);
    const bool read = !std::ferror(file);
    const int number = errno;
    std::fclose(file);
    if (!read) return failure(path + ": nu se poate citi: " + std::strerror(number));
    return content;
}

Status flush_standard_output() {
    const bool lost = std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!lost || errno == EPIPE) return {};
    return failure(std::string("nu se poate scrie ieșirea standard: ") + std::strerror(errno));
}

Status remove_tree(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code failed;
    fs::remove_all(path, failed);
    if (!failed) return {};
    // Give every directory inside back to its owner, then try once more.
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, failed);
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, failed);
         !failed && it != fs::recursive_directory_iterator(); it.increment(failed)) {
        std::error_code ignored;
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path, failed);
    if (!failed) return {};
    return failure(path + ": nu se poate șterge: " + failed.message());
}

}  // namespace game
