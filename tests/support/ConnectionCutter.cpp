#include "tests/support/ConnectionCutter.h"

#include "tests/support/TestDatabase.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

struct ConnectionCutter::Pair {
    int client = -1;
    int server = -1;
};

namespace {

void closeSocket(int& fd) {
    if (fd >= 0) {
        // Reset rather than an orderly close: the client sees a broken link, as
        // with a server that went away.
        linger hard{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd);
        fd = -1;
    }
}

int connectTo(const std::string& host, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

// Writes everything; false when the peer is gone.
bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

ConnectionCutter::ConnectionCutter() {
    // CORVELO_TEST_SERVER is "host/port".
    const std::string server = TestDatabase::server();
    const auto slash = server.find('/');
    serverHost_ = server.substr(0, slash);
    serverPort_ = slash == std::string::npos ? 3050 : std::stoi(server.substr(slash + 1));

    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int fds[2];
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("the connection cutter cannot listen");
    port_ = ntohs(address.sin_port);
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    thread_ = std::thread([this] { run(); });
}

ConnectionCutter::~ConnectionCutter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake();
    thread_.join();
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::string ConnectionCutter::connectString(const std::string& databasePath) const {
    return "127.0.0.1/" + std::to_string(port_) + ":" + databasePath;
}

void ConnectionCutter::wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &byte, 1);
}

void ConnectionCutter::cut() {
    std::unique_lock lock(mutex_);
    cutRequested_ = true;
    refusing_ = true;
    wake();
    done_.wait(lock, [this] { return !cutRequested_; });
}

void ConnectionCutter::restore() {
    std::lock_guard lock(mutex_);
    refusing_ = false;
    cutMark_ = 0;
}

void ConnectionCutter::cutAfterClientBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    cutMark_ = clientBytes_ + bytes;
}

void ConnectionCutter::run() {
    std::vector<Pair> pairs;
    std::vector<char> buffer(64 * 1024);
    auto cutAll = [&] {
        for (Pair& pair : pairs) {
            closeSocket(pair.client);
            closeSocket(pair.server);
        }
        pairs.clear();
    };
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                break;
            if (cutRequested_) {
                cutAll();
                cutRequested_ = false;
                done_.notify_all();
            }
        }
        std::vector<pollfd> polled{{wakeRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Pair& pair : pairs) {
            polled.push_back({pair.client, POLLIN, 0});
            polled.push_back({pair.server, POLLIN, 0});
        }
        if (::poll(polled.data(), polled.size(), -1) < 0)
            continue;
        // A pair accepted below was not polled yet: it waits for the next round.
        const std::size_t polledPairs = pairs.size();
        if (polled[0].revents) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {
            }
        }
        if (polled[1].revents & POLLIN) {
            int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            bool refusing;
            {
                std::lock_guard lock(mutex_);
                refusing = refusing_;
            }
            if (client >= 0) {
                const int server = refusing ? -1 : connectTo(serverHost_, serverPort_);
                if (server < 0) {
                    closeSocket(client);
                } else {
                    const int on = 1;
                    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                    pairs.push_back({client, server});
                }
            }
        }
        bool cutNow = false;
        std::vector<std::size_t> finished;
        for (std::size_t i = 0; i < polledPairs && !cutNow; ++i) {
            for (int side = 0; side < 2; ++side) {
                const pollfd& entry = polled[2 + 2 * i + side];
                if (!(entry.revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                const int from = side == 0 ? pairs[i].client : pairs[i].server;
                const int to = side == 0 ? pairs[i].server : pairs[i].client;
                const ssize_t got = ::recv(from, buffer.data(), buffer.size(), 0);
                if (got <= 0) {
                    finished.push_back(i);
                    break;
                }
                if (side == 0) {
                    std::lock_guard lock(mutex_);
                    if (cutMark_ != 0 && clientBytes_ + static_cast<std::size_t>(got) >= cutMark_) {
                        cutNow = true;
                        refusing_ = true;
                        break;
                    }
                    clientBytes_ += static_cast<std::size_t>(got);
                }
                if (!writeAll(to, buffer.data(), static_cast<std::size_t>(got))) {
                    finished.push_back(i);
                    break;
                }
            }
        }
        if (cutNow) {
            cutAll();
            continue;
        }
        // One side closed: close the other too, newest first so indexes hold.
        for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
            ::close(pairs[*it].client);
            ::close(pairs[*it].server);
            pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    cutAll();
}
