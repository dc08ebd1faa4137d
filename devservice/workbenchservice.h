#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kivo::devservice {

// The stand-in for the web workbench service: every endpoint answers with the response envelope
// (status, data, msg), the session lives in a cookie, and its data comes from workbench.json.
class WorkbenchService {
public:
    // `autoConfirmPolls` > 0 confirms a shown QR code by itself after that many polls (demos, tests).
    // With a certificate and its key (PEM files) the service speaks HTTPS.
    explicit WorkbenchService(const std::filesystem::path& dataDir, int autoConfirmPolls = 0,
                              const std::filesystem::path& tlsCertificate = {},
                              const std::filesystem::path& tlsKey = {});
    // False when the certificate or its key could not be read.
    bool valid() const { return server_->is_valid(); }
    // What is wrong with the data file (missing, unreadable, not JSON), in one line; empty when
    // it was read. A service with a problem must not be run.
    const std::string& dataProblem() const { return dataProblem_; }

    // Binds 127.0.0.1:port (0 picks a free port); returns the port, or -1.
    int bind(int port);
    void run();
    // From now on every request is accepted and never answered.
    void hang();
    // Ends run(); safe to call from another thread once run() was started.
    void stop();

private:
    struct Session {
        std::string user;     // the signed-in account's name, empty when nobody is
        bool qrShown = false; // a QR code was fetched with this session's cookie
        bool qrConfirmed = false;
        int qrPolls = 0;
    };

    using Endpoint = std::function<void(const httplib::Request&, httplib::Response&, Session&)>;
    // An endpoint of the service, run under the lock with the caller's session.
    void endpoint(const std::string& path, const Endpoint& handler);
    void routes();
    void signInRoutes(); // signinroutes.cpp
    void pageRoutes();   // pageroutes.cpp
    void devRoutes();    // devroutes.cpp
    // A plain page of the service in its own style.
    static std::string Page(const std::string& title, const std::string& body);
    // The caller's session, created (with its cookie on the response) when it has none.
    Session& session(const httplib::Request& req, httplib::Response& res);
    static void answer(httplib::Response& res, int status, const nlohmann::ordered_json& data,
                       const std::string& msg = "");
    std::string origin(const httplib::Request& req) const;
    std::string workbenchPage(const std::string& path) const;
    // The page's script that tells the client it has loaded.
    std::string announceScript() const;
    nlohmann::ordered_json userData(const nlohmann::ordered_json& account, const httplib::Request& req) const;

    std::unique_ptr<httplib::Server> server_;
    std::string scheme_;
    nlohmann::ordered_json data_;
    std::mutex mutex_;
    const nlohmann::ordered_json* account(const std::string& key, const std::string& value) const;

    std::filesystem::path dataDir_;
    std::string dataProblem_;
    int autoConfirmPolls_ = 0;
    std::map<std::string, Session> sessions_;
    std::map<std::string, std::string> smsCodes_; // mobile number -> the last code sent
    int nextSession_ = 1;
    int logouts_ = 0;
    std::atomic<int> announceDelay_{0};
    std::atomic<int> pageDelay_{0};
    std::atomic<int> avatarDelay_{0};
    std::atomic<int> logoutDelay_{0};
    std::string pageLanguage_; // the Accept-Language of the last workbench page asked for
    // After /dev/expire: how a workbench page answers a session nobody is signed in to (401,
    // redirect or command); empty while pages are served to anyone.
    std::string signedOutAnswer_;
    // The answer to a workbench page when the caller is not signed in and sessions are enforced;
    // false when the page is served.
    bool answerSignedOut(const httplib::Request& req, httplib::Response& res);
    std::mutex iconMutex_;
    std::map<std::string, int> iconRequests_; // menu icon path -> requests
    std::atomic<bool> stopping_ = false;
};

} // namespace kivo::devservice
