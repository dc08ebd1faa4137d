#include "startup/runparameters.h"

#include "platform/files/inifile.h"
#include "service/httprequest.h"
#include "startup/configuration.h"

namespace kivo::startup {

ProcessState& State() {
    static ProcessState state;
    return state;
}

std::filesystem::path RunParameterFile() {
    return State().options.dataFolder() / kRunParameterFileName;
}

std::string ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    return platform::IniFile::read(file, section, key);
}

std::int16_t WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                           std::string_view value) {
    std::error_code error; // a user's configuration folder is made on first use
    std::filesystem::create_directories(file.parent_path(), error);
    return platform::IniFile::write(file, section, key, value) ? 1 : 0;
}

void LoadRunParameters(bool inBackground) {
    ProcessState& state = State();
    service::ServiceState& service = service::Service();
    if (!service.HttpClient) {
        service::CreateHttpClient(state.network);
    }
    const auto file = RunParameterFile();
    std::string updateTime = ReadIniValue(file, kRunParameterSection, "updateTime");
    state.Powerboot = ReadIniValue(file, kRunParameterSection, "Powerboot");
    state.stick = ReadIniValue(file, kRunParameterSection, "stick");
    state.endStatus = ReadIniValue(file, kRunParameterSection, "endStatus");
    state.updateStatus = ReadIniValue(file, kRunParameterSection, "updateStatus");
    if (updateTime.empty()) {
        updateTime = "0";
    }
    service.BaseUrl = state.options.baseUrl;
    if (inBackground) {
        StartConfigurationDownload(updateTime);
    } else {
        DownloadConfiguration(updateTime);
    }
}

} // namespace kivo::startup
