#include "startup/networksetup.h"

#include "platform/web/browsernetwork.h"
#include "platform/net/logaddress.h"
#include "platform/net/proxychoice.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcNetwork, "kivo.startup.network")

namespace kivo::startup {

NetworkSetup NetworkSetup::Choose(const RunOptions& options, const std::filesystem::path& runParameterFile,
                                  const std::function<std::string(const char*)>& env) {
    NetworkSetup setup;
    const std::string configuredCa = ReadIniValue(runParameterFile, kNetworkSection, "CaFile");
    const std::pair<std::string, const char*> authorities[] = {{options.caFile, "--ca-file"},
                                                               {env("KIVO_CA_FILE"), "KIVO_CA_FILE"},
                                                               {configuredCa, "the run parameters"},
                                                               {KIVO_CA_FILE, "the build"}};
    for (const auto& [file, from] : authorities) {
        if (!file.empty()) {
            setup.network.caFile = file;
            setup.trustFrom = from;
            break;
        }
    }
    const bool optionGiven = !options.proxy.empty();
    const platform::ProxyChoice proxy = platform::ChooseProxy(
        options.baseUrl, optionGiven ? options.proxy : ReadIniValue(runParameterFile, kNetworkSection, "Proxy"),
        optionGiven ? "--proxy" : "the run parameters", env, &platform::DesktopProxy);
    setup.network.proxy = proxy.proxy;
    setup.proxyFrom = proxy.from;
    return setup;
}

NetworkSetup NetworkSetup::ForThisRun() {
    ProcessState& state = State();
    const NetworkSetup setup = Choose(state.options, RunParameterFile());
    state.network = setup.network;
    qCInfo(lcNetwork, "%s; %s", setup.proxyLine().c_str(), setup.trustLine().c_str());
    if (!platform::ShareNetworkWithBrowser(state.options.baseUrl, setup.network)) {
        qCWarning(lcNetwork, "%s holds no certificate: only the system's authorities are trusted",
                  setup.network.caFile.c_str());
    }
    return setup;
}

std::string NetworkSetup::proxyLine() const {
    return "proxy " + (network.proxy.empty() ? std::string("none") : platform::AddressForLog(network.proxy)) +
           " (from " + proxyFrom + ")";
}

std::string NetworkSetup::trustLine() const {
    return network.caFile.empty() ? std::string("trust system")
                                  : "trust system + " + network.caFile + " (from " + trustFrom + ")";
}

} // namespace kivo::startup
