#include "startup/configuration.h"

#include "service/httprequest.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "service/queryencoding.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcConfig, "kivo.startup.configuration")

namespace kivo::startup {

namespace {

// The stamp is the service's own; it comes back as text or as a number.
std::string stampText(const json::JsonValue& time) {
    if (time.isText()) {
        return json::Utf16ToUtf8(time.text());
    }
    if (time.isNumber()) {
        return time.number().toString();
    }
    return json::Utf16ToUtf8(json::JsonText(time));
}

} // namespace

void DownloadConfiguration(const std::string& updateTime) {
    using service::Field;
    const json::JsonValue answer = service::HttpRequest(
        service::Service().BaseUrl + "/desktop/site/getConfig?time=" + service::EncodeQueryValue(updateTime), "");
    if (answer.isNothing() || !service::IsSuccess(answer)) {
        return;
    }
    const json::JsonValue& data = Field(answer, u"data");
    if (!service::HasValue(data)) {
        return;
    }
    const auto file = RunParameterFile();
    // The stamp goes last: should a write fail midway, the old stamp makes the next start ask again.
    const bool ok = WriteIniValue(file, kRunParameterSection, "topMenu",
                                  json::Utf16ToUtf8(json::JsonText(Field(data, u"topMenu")))) &&
                    WriteIniValue(file, kRunParameterSection, "leftMenu",
                                  json::Utf16ToUtf8(json::JsonText(Field(data, u"leftMenu")))) &&
                    WriteIniValue(file, kRunParameterSection, "updateTime", stampText(Field(data, u"time")));
    if (!ok) {
        qCWarning(lcConfig) << "the menu configuration could not be cached in" << file.c_str();
    }
}

} // namespace kivo::startup
