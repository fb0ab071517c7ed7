#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk41::testing {

// A plain TCP connection to a loopback port, for what no master library
// sends; -1 when it cannot connect.
inline int rawConnect(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

inline bool sendAll(int fd, const std::vector<std::uint8_t>& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

inline constexpr ssize_t kNothingCame = -2;

// What the other end sends within `boundMs`, up to `size` bytes: the count,
// kNothingCame when nothing comes, 0 when it has closed the connection and
// -1 when it has reset it.
inline ssize_t readWithin(int fd, std::uint8_t* into, std::size_t size, int boundMs) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, boundMs) <= 0) return kNothingCame;
    return ::recv(fd, into, size, 0);
}

// Everything up to the other end's close, within `boundMs`; `closed` tells
// whether the close came.
inline std::vector<std::uint8_t> readToClose(int fd, int boundMs, bool& closed) {
    std::vector<std::uint8_t> got;
    std::uint8_t chunk[256];
    closed = false;
    for (;;) {
        const ssize_t n = readWithin(fd, chunk, sizeof chunk, boundMs);
        if (n <= 0) {
            closed = n != kNothingCame;
            return got;
        }
        got.insert(got.end(), chunk, chunk + n);
    }
}

}  // namespace vk41::testing
