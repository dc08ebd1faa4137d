#include "startup/configuration.h"

#include "service/httprequest.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "service/queryencoding.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcConfig, "kivo.startup.configuration")

namespace kivo::startup {

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
    // Only an object with both menu arrays carries menus; anything else would replace the cache
    // with empty ones.
    if (!data.isDictionary() || !Field(data, u"topMenu").isCollection() || !Field(data, u"leftMenu").isCollection()) {
        qCWarning(lcConfig) << "the configuration answer carries no object; the cached menus stay";
        return;
    }
    const auto file = RunParameterFile();
    // The stamp goes last: should a write fail midway, the old stamp makes the next start ask again.
    const bool ok = WriteIniValue(file, kRunParameterSection, "topMenu",
                                  json::Utf16ToUtf8(json::JsonText(Field(data, u"topMenu")))) &&
                    WriteIniValue(file, kRunParameterSection, "leftMenu",
                                  json::Utf16ToUtf8(json::JsonText(Field(data, u"leftMenu")))) &&
                    WriteIniValue(file, kRunParameterSection, "updateTime",
                                  json::Utf16ToUtf8(service::FieldText(Field(data, u"time"))));
    if (!ok) {
        qCWarning(lcConfig) << "the menu configuration could not be cached in" << file.c_str();
    }
}

} // namespace kivo::startup
