// What a cell's init and we say to each other, over a socket pair that
// keeps messages whole: a small header, a body, and up to three descriptors.
//   init -> us   ready    once set up: the steps that did not work
//   us -> init   start    the command, NUL-separated; the player's 0, 1, 2
//   init -> us   started  the player's pidfd, to stop it with
//               failed   the step that failed, and its errno
//   init -> us   ended    the player's wait status, once everything else
//                         in the cell has been killed and reaped
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace proc::cell {

enum class Kind : std::uint32_t { ready = 1, start, started, failed, ended };

struct Header {
    Kind kind{};
    std::int32_t first = 0;   // ready: the failed steps; failed: the step; ended: the wait status
    std::int32_t second = 0;  // failed: the errno
};

// The longest body: a command line a kernel would take is shorter.
inline constexpr std::size_t MAX_BODY = 128 * 1024;
inline constexpr int MAX_DESCRIPTORS = 3;

// False, errno set, when it cannot be sent whole.
bool send(int socket, const Header& header, std::string_view body = {}, const int* descriptors = nullptr,
          int count = 0);

struct Message {
    Header header;
    std::string body;
    int descriptors[MAX_DESCRIPTORS] = {-1, -1, -1};  // received open, close-on-exec; the receiver closes them
    int count = 0;
};

// Waits for one message, whose body may be at most `max_body` bytes. False
// at the other end's close, on a message too long, or on an error (errno
// set; 0 at the close).
bool receive(int socket, Message& message, std::size_t max_body = 0);

}  // namespace proc::cell
