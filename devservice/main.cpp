// kivo-devservice: the stand-in web workbench service on 127.0.0.1 for development and tests.
#include "workbenchservice.h"

#include <charconv>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

namespace {
kivo::devservice::WorkbenchService* running = nullptr;
void stopOnSignal(int) {
    if (running != nullptr) {
        running->stop();
    }
}
} // namespace

// A whole number and nothing else; false for anything else (the usage is shown then).
static bool number(const char* text, int& value) {
    const std::string_view view(text);
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    return !view.empty() && error == std::errc() && end == view.data() + view.size();
}

int main(int argc, char** argv) {
    int port = 8765;
    std::string dataDir = KIVO_DEVSERVICE_DATA;
    int autoConfirm = 0;
    bool hang = false;
    std::string certificate;
    std::string key;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc && number(argv[i + 1], port)) {
            ++i;
        } else if (arg == "--auto-confirm" && i + 1 < argc && number(argv[i + 1], autoConfirm)) {
            ++i;
        } else if (arg == "--hang") {
            hang = true;
        } else if (arg == "--data" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (arg == "--tls" && i + 2 < argc) {
            certificate = argv[++i];
            key = argv[++i];
        } else {
            std::cout << "usage: kivo-devservice [--port N] [--data DIR]\n"
                         "  --port N    listen on 127.0.0.1:N (default 8765; 0 picks a free port)\n"
                         "  --data DIR  the folder holding workbench.json (default: the source tree's)\n"
                         "  --tls CERT KEY\n"
                         "              speak HTTPS with this certificate and key (PEM files)\n"
                         "  --auto-confirm N\n"
                         "              confirm a shown QR code by itself after N polls (for demos)\n"
                         "  --hang      accept every connection and never answer (a network that swallows\n"
                         "              packets; for the start-up benchmark)\n"
                         "Demo account: demo / kivo&2026#, mobile 13800138000.\n"
                         "SMS codes are printed here and served at /dev/sms?mobile=...;\n"
                         "/dev/qr/confirm-all confirms every shown QR code, as the phone app would.\n";
            return arg == "--help" ? 0 : 2;
        }
    }
    kivo::devservice::WorkbenchService service(dataDir, autoConfirm, certificate, key);
    if (!service.dataProblem().empty()) {
        std::cerr << "kivo-devservice: " << service.dataProblem() << "\n";
        return 2;
    }
    if (!service.valid()) {
        std::cerr << "kivo-devservice: cannot read the certificate " << certificate << " or its key\n";
        return 1;
    }
    if (hang) {
        service.hang();
    }
    const int bound = service.bind(port);
    if (bound < 0) {
        std::cerr << "kivo-devservice: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "kivo-devservice listening on " << (certificate.empty() ? "http" : "https") << "://127.0.0.1:" << bound
              << std::endl;
    running = &service;
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    service.run();
    return 0;
}
