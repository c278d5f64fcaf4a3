// Files that people keep: written so that a crash leaves the old content or
// the new, never half; checked before long work rather than after it; and
// the removal of scratch directories.
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace game {

enum class Target {
    any,           // a symbolic link is followed; a device, FIFO or socket is written through
    regular_only,  // anything that is not a regular file, a link included, is refused untouched
};

enum class Durability {
    on_disk,   // flushed to the disk before it replaces the old file: survives a power cut
    rename,    // only the rename: survives a crash of the program, costs no disk flush
};

// Writes `content` to `path`. A regular file (or a new one) is written to a
// fresh temporary file beside it (mode 0600, a name nobody can foresee),
// flushed to the disk (unless asked not to: a flush can cost milliseconds,
// too much for a file per game), given the old file's mode (or the umask's default),
// then renamed over it. A device, FIFO or socket is written through, never
// replaced; a directory is an error. On failure nothing is left behind and
// the message names the path and the reason; a file size limit is such a
// failure, not a signal.
Status replace_file(const std::string& path, std::string_view content, Target target = Target::any,
                    Durability durability = Durability::on_disk);

// Whether replace_file writes `path` in place, as a device, FIFO or socket
// (then it cannot grow a file by appending to it either).
bool writes_in_place(const std::string& path);

// Whether replace_file can write `path`: the path is no directory, and its
// folder exists and takes new files (tried, not guessed). For checks before
// long work.
Status check_writable(const std::string& path);

// Makes the folder (and its parents) if needed and checks that it takes new files.
Status prepare_folder(const std::string& path);

// Writes `text` in one write to a file that exists and must be written in
// place, as the kernel's control files (a user namespace's maps, a
// cgroup's limits) are. False, errno set, when it is not written whole.
bool write_control_file(const std::string& path, std::string_view text);

// The whole content of a file, or a message naming it.
Result<std::string> read_whole_file(const std::string& path);

// Flushes standard output. A failure with the reason when what was printed
// is lost (a full disk, a closed terminal); a reader that went away (EPIPE)
// is not one.
Status flush_standard_output();

// Removes a directory with everything in it, also where someone took away
// the write or search permission of a directory inside (the owner may give
// it back). On failure the message names the path and the reason.
Status remove_tree(const std::string& path);

}  // namespace game
