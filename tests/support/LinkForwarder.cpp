#include "tests/support/LinkForwarder.h"

#include "tests/support/TestDatabase.h"

#include <algorithm>
#include <arpa/inet.h>
#include <deque>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

struct LinkForwarder::Pair {
    // Bytes on their way, released to the other side once they are due.
    struct InFlight {
        std::chrono::steady_clock::time_point due;
        std::string bytes;
    };
    int client = -1;
    int server = -1;
    std::deque<InFlight> toServer;
    std::deque<InFlight> toClient;
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

LinkForwarder::LinkForwarder(std::chrono::microseconds oneWayDelay) : delay_(oneWayDelay) {
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
        throw std::runtime_error("the link forwarder cannot listen");
    port_ = ntohs(address.sin_port);
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    thread_ = std::thread([this] { run(); });
}

LinkForwarder::~LinkForwarder() {
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

std::string LinkForwarder::connectString(const std::string& databasePath) const {
    return "127.0.0.1/" + std::to_string(port_) + ":" + databasePath;
}

void LinkForwarder::wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &byte, 1);
}

void LinkForwarder::cut() {
    std::unique_lock lock(mutex_);
    cutRequested_ = true;
    refusing_ = true;
    wake();
    done_.wait(lock, [this] { return !cutRequested_; });
}

void LinkForwarder::restore() {
    std::lock_guard lock(mutex_);
    refusing_ = false;
    cutMark_ = 0;
}

void LinkForwarder::cutAfterClientBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    cutMark_ = clientBytes_ + bytes;
}

void LinkForwarder::run() {
    using SteadyClock = std::chrono::steady_clock;
    std::vector<Pair> pairs;
    std::vector<char> buffer(64 * 1024);
    auto cutAll = [&] {
        for (Pair& pair : pairs) {
            closeSocket(pair.client);
            closeSocket(pair.server);
        }
        pairs.clear();
    };
    // Writes what is due; false when the receiving side is gone.
    auto release = [](std::deque<Pair::InFlight>& queue, int to, SteadyClock::time_point now) {
        while (!queue.empty() && queue.front().due <= now) {
            if (!writeAll(to, queue.front().bytes.data(), queue.front().bytes.size()))
                return false;
            queue.pop_front();
        }
        return true;
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
        std::vector<std::size_t> finished;
        auto now = SteadyClock::now();
        std::optional<SteadyClock::time_point> nextDue;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            Pair& pair = pairs[i];
            if (!release(pair.toServer, pair.server, now) || !release(pair.toClient, pair.client, now))
                finished.push_back(i);
            for (const auto* queue : {&pair.toServer, &pair.toClient})
                if (!queue->empty() && (!nextDue || queue->front().due < *nextDue))
                    nextDue = queue->front().due;
        }

        std::vector<pollfd> polled{{wakeRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Pair& pair : pairs) {
            polled.push_back({pair.client, POLLIN, 0});
            polled.push_back({pair.server, POLLIN, 0});
        }
        timespec timeout{};
        timespec* wait = nullptr;
        if (nextDue) {
            const auto left = std::max(std::chrono::nanoseconds{0}, *nextDue - now);
            timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
            wait = &timeout;
        }
        if (finished.empty() && ::ppoll(polled.data(), polled.size(), wait, nullptr) < 0)
            continue;
        if (!finished.empty())
            for (pollfd& entry : polled)
                entry.revents = 0;
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
                    pairs.push_back({client, server, {}, {}});
                }
            }
        }
        bool cutNow = false;
        now = SteadyClock::now();
        for (std::size_t i = 0; i < polledPairs && !cutNow; ++i) {
            for (int side = 0; side < 2; ++side) {
                const pollfd& entry = polled[2 + 2 * i + side];
                if (!(entry.revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                Pair& pair = pairs[i];
                const int from = side == 0 ? pair.client : pair.server;
                const int to = side == 0 ? pair.server : pair.client;
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
                if (delay_.count() > 0) {
                    auto& queue = side == 0 ? pair.toServer : pair.toClient;
                    queue.push_back(
                        {now + delay_, std::string(buffer.data(), static_cast<std::size_t>(got))});
                } else if (!writeAll(to, buffer.data(), static_cast<std::size_t>(got))) {
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
        std::sort(finished.begin(), finished.end());
        finished.erase(std::unique(finished.begin(), finished.end()), finished.end());
        for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
            ::close(pairs[*it].client);
            ::close(pairs[*it].server);
            pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    cutAll();
}
