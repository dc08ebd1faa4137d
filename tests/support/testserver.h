#pragma once

#include <httplib.h>

#include <string>
#include <thread>

namespace kivo::test {

// An HTTP server on 127.0.0.1 and a free port, serving from its own thread for one test.
class TestServer {
public:
    TestServer() = default;
    ~TestServer() { stop(); }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    httplib::Server& server() { return server_; }

    // Binds and starts serving; routes must be added before.
    void start() {
        // One request per connection, so stopping never waits out a client's idle keep-alive.
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }

    void stop() {
        if (thread_.joinable()) {
            // A stop before the loop runs would be lost; the listening socket already queues.
            while (!server_.is_running()) {
                std::this_thread::yield();
            }
            server_.stop();
            thread_.join();
        }
    }

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

} // namespace kivo::test
