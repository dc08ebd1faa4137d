#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kivo::test {

// A company's HTTP proxy on a free port of 127.0.0.1: it tunnels CONNECT requests, whatever host they
// name, to that port of 127.0.0.1 (so a name only the proxy knows reaches a local service), and
// records the "host:port" and the User-Agent of each (the browser engine sends one, libcurl none).
// With credentials it asks for them (407) as a company proxy does.
class ConnectProxy {
public:
    explicit ConnectProxy(std::string user = {}, std::string password = {})
        : user_(std::move(user)), password_(std::move(password)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 16);
        socklen_t size = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { acceptAll(); });
    }
    ~ConnectProxy() {
        stopping_ = true;
        acceptor_.join();
        for (std::thread& tunnel : tunnels_) {
            tunnel.join();
        }
        ::close(listener_);
    }

    std::string url() const {
        const std::string credentials = user_.empty() ? "" : user_ + ":" + password_ + "@";
        return "http://" + credentials + "127.0.0.1:" + std::to_string(port_);
    }
    struct Tunnel {
        std::string target;
        std::string userAgent;
    };
    std::vector<Tunnel> tunnelled() const {
        const std::lock_guard lock(mutex_);
        return tunnelled_;
    }
    // Open tunnels close and every request from now on is refused, as a proxy that no longer lets
    // the service's host through.
    void refuse() { refusing_ = true; }

private:
    static bool readable(int fd) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 50) > 0;
    }
    static void sendAll(int fd, const std::string& text) {
        for (size_t sent = 0; sent < text.size();) {
            const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return;
            }
            sent += static_cast<size_t>(n);
        }
    }
    // The request's Proxy-Authorization (its name in any case) carries the user and password.
    static std::string header(const std::string& head, std::string name) {
        std::string lower = head;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        name = "\r\n" + name + ":";
        const size_t at = lower.find(name);
        if (at == std::string::npos) {
            return {};
        }
        const size_t start = head.find_first_not_of(' ', at + name.size());
        return head.substr(start, head.find("\r\n", start) - start);
    }
    bool authorised(const std::string& head) const {
        return header(head, "proxy-authorization") ==
               "Basic " + QByteArray::fromStdString(user_ + ":" + password_).toBase64().toStdString();
    }

    void acceptAll() {
        while (!stopping_) {
            if (readable(listener_)) {
                const int client = ::accept(listener_, nullptr, nullptr);
                if (client >= 0) {
                    tunnels_.emplace_back([this, client] { serve(client); });
                }
            }
        }
    }

    void serve(int client) {
        std::string head;
        char buffer[16384];
        while (!stopping_ && head.find("\r\n\r\n") == std::string::npos && head.size() < 16384) {
            if (!readable(client)) {
                continue;
            }
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(client);
                return;
            }
            head.append(buffer, static_cast<size_t>(n));
        }
        const size_t space = head.find(' ');
        const std::string target = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
        if (head.rfind("CONNECT ", 0) != 0 || refusing_) {
            sendAll(client, "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            ::close(client);
            return;
        }
        if (!user_.empty() && !authorised(head)) {
            sendAll(client, "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
                            "realm=\"company\"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            ::close(client);
            return;
        }
        {
            const std::lock_guard lock(mutex_);
            tunnelled_.push_back({target, header(head, "user-agent")});
        }
        const int service = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(std::stoi(target.substr(target.rfind(':') + 1))));
        if (::connect(service, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            sendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        } else {
            sendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n");
            relay(client, service);
        }
        ::close(service);
        ::close(client);
    }

    void relay(int a, int b) {
        char buffer[16384];
        while (!stopping_ && !refusing_) {
            pollfd both[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
            if (::poll(both, 2, 50) <= 0) {
                continue;
            }
            for (int i = 0; i < 2; ++i) {
                if (both[i].revents == 0) {
                    continue;
                }
                const ssize_t n = ::recv(both[i].fd, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    return;
                }
                sendAll(both[1 - i].fd, std::string(buffer, static_cast<size_t>(n)));
            }
        }
    }

    std::string user_;
    std::string password_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::atomic<bool> refusing_ = false;
    std::thread acceptor_;
    std::list<std::thread> tunnels_; // only the acceptor adds to it
    mutable std::mutex mutex_;
    std::vector<Tunnel> tunnelled_;
};

} // namespace kivo::test
