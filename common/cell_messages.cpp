#include "common/cell_messages.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <vector>

namespace proc::cell {

bool send(int socket, const Header& header, std::string_view body, const int* descriptors, int count) {
    iovec parts[2] = {{const_cast<Header*>(&header), sizeof header},
                      {const_cast<char*>(body.data()), body.size()}};
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = body.empty() ? 1 : 2;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * MAX_DESCRIPTORS)] = {};
    if (count > 0) {
        message.msg_control = control;
        message.msg_controllen = CMSG_SPACE(sizeof(int) * static_cast<std::size_t>(count));
        cmsghdr* rights = CMSG_FIRSTHDR(&message);
        rights->cmsg_level = SOL_SOCKET;
        rights->cmsg_type = SCM_RIGHTS;
        rights->cmsg_len = CMSG_LEN(sizeof(int) * static_cast<std::size_t>(count));
        std::memcpy(CMSG_DATA(rights), descriptors, sizeof(int) * static_cast<std::size_t>(count));
    }
    ssize_t sent;
    while ((sent = ::sendmsg(socket, &message, MSG_NOSIGNAL)) < 0 && errno == EINTR) {}
    return sent == static_cast<ssize_t>(sizeof header + body.size());
}

bool receive(int socket, Message& received, std::size_t max_body) {
    received = Message{};
    // The body's own size, found first: a start's few hundred bytes cost no page of memory.
    ssize_t whole;
    while ((whole = ::recv(socket, nullptr, 0, MSG_PEEK | MSG_TRUNC)) < 0 && errno == EINTR) {}
    const std::size_t announced = whole > static_cast<ssize_t>(sizeof received.header)
                                      ? static_cast<std::size_t>(whole) - sizeof received.header
                                      : 0;
    std::vector<char> body(std::min(announced, max_body));
    iovec parts[2] = {{&received.header, sizeof received.header}, {body.data(), body.size()}};
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = body.empty() ? 1 : 2;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * MAX_DESCRIPTORS)] = {};
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got;
    while ((got = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {}
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
        const auto count = static_cast<int>((c->cmsg_len - CMSG_LEN(0)) / sizeof(int));
        std::memcpy(received.descriptors, CMSG_DATA(c), sizeof(int) * static_cast<std::size_t>(count));
        received.count = count;
    }
    if (got < static_cast<ssize_t>(sizeof received.header) || (message.msg_flags & MSG_TRUNC)) {
        if (got >= 0) errno = got == 0 ? 0 : EMSGSIZE;
        return false;
    }
    received.body.assign(body.data(), static_cast<std::size_t>(got) - sizeof received.header);
    return true;
}

}  // namespace proc::cell
