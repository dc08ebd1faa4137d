#include "servicecommands.h"

#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "service/sessioncookies.h"
#include "startup/configuration.h"
#include "startup/networksetup.h"
#include "startup/runparameters.h"

#include <fstream>
#include <ostream>

namespace kivo::tools {

namespace {

// Options first, the rest are operands.
std::vector<std::string> operands(const std::vector<std::string>& args) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base-url" || args[i] == "--app-dir" || args[i] == "--ca-file" || args[i] == "--proxy") {
            ++i;
        } else if (args[i].rfind("--", 0) != 0) {
            rest.push_back(args[i]);
        }
    }
    return rest;
}

// The network is chosen as the program chooses it, from the same settings.
std::shared_ptr<tools::RecordingCookieStore> connect(const startup::RunOptions& options,
                                                     const startup::NetworkSetup& network) {
    auto& service = service::Service();
    service.BaseUrl = options.baseUrl;
    if (!service.HttpClient) {
        service::CreateHttpClient(network.network);
    }
    auto cookies = std::make_shared<tools::RecordingCookieStore>();
    service.cookieStore = cookies;
    return cookies;
}

} // namespace

int runRequestCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const startup::RunOptions options = startup::RunOptions::FromArguments(args);
    const std::vector<std::string> paths = operands(args);
    if (!options.error.empty() || paths.empty()) {
        err << "usage: kivoctl request [--base-url URL] [--proxy URL|none] [--ca-file FILE] PATH...\n";
        return 2;
    }
    const auto network = startup::NetworkSetup::Choose(options, options.dataFolder() / startup::kRunParameterFileName);
    err << network.proxyLine() << '\n' << network.trustLine() << '\n';
    const auto cookies = connect(options, network);
    for (const std::string& path : paths) {
        const json::JsonValue answer = service::HttpRequest(service::Service().BaseUrl + path, "");
        out << (answer.isNothing() ? std::string("nothing") : json::Utf16ToUtf8(json::JsonText(answer))) << '\n';
        cookies->cookies.clear();
        service::CopySessionCookies();
        for (const auto& cookie : cookies->cookies) {
            out << "cookie " << cookie.name << '=' << cookie.value << '\n';
        }
    }
    return 0;
}

int runConfigCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    startup::ProcessState& state = startup::State();
    state.options = startup::RunOptions::FromArguments(args);
    if (!state.options.error.empty() || !operands(args).empty()) {
        err << "usage: kivoctl config [--base-url URL] [--app-dir DIR]\n";
        return 2;
    }
    connect(state.options, startup::NetworkSetup::Choose(state.options, startup::RunParameterFile()));
    startup::LoadRunParameters();
    std::ifstream file(startup::RunParameterFile(), std::ios::binary);
    out << file.rdbuf();
    return 0;
}

} // namespace kivo::tools
