#pragma once
// A loopback TCP forwarder in front of the test server, standing in for the
// network between a user and the customer's server: it can add a fixed delay
// to every byte in each direction (a LAN, Wi-Fi or a VPN instead of
// loopback), and it can lose the link in the middle of some work without
// stopping the server that every other test shares.
//
// It listens on a free 127.0.0.1 port and forwards each connection to the
// server named by CORVELO_TEST_SERVER, on a thread of its own. cut() closes
// every forwarded connection at once and refuses new ones until restore().
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

class LinkForwarder {
public:
    // `oneWayDelay`: how long each byte takes from one side to the other, so a
    // round trip costs twice that on top of loopback's.
    explicit LinkForwarder(std::chrono::microseconds oneWayDelay = std::chrono::microseconds{0});
    ~LinkForwarder();
    LinkForwarder(const LinkForwarder&) = delete;
    LinkForwarder& operator=(const LinkForwarder&) = delete;

    int port() const { return port_; }
    // The connect string of a database file reached through this forwarder.
    std::string connectString(const std::string& databasePath) const;

    // Closes every open connection and refuses new ones; returns once done.
    void cut();
    // Accepts and forwards new connections again.
    void restore();
    // Cuts as soon as `bytes` more bytes have come from the clients: the
    // request that crosses the mark never reaches the server.
    void cutAfterClientBytes(std::size_t bytes);
    // Bytes forwarded from the clients to the server so far.
    std::size_t clientBytes() const { return clientBytes_; }

private:
    struct Pair;
    void run();
    void wake();

    const std::chrono::microseconds delay_;
    int listener_ = -1;
    int port_ = 0;
    int serverPort_ = 0;
    std::string serverHost_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;

    std::mutex mutex_;
    std::condition_variable done_;
    bool stop_ = false;
    bool cutRequested_ = false; // cut() waits until the thread has closed everything
    bool refusing_ = false;
    std::size_t cutMark_ = 0; // 0: not armed
    std::atomic<std::size_t> clientBytes_{0};
    std::thread thread_;
};
