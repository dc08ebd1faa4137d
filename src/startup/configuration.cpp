#include "startup/configuration.h"

#include "platform/process/responsivewait.h"
#include "service/httprequest.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "service/queryencoding.h"
#include "startup/firstframe.h"
#include "startup/runparameters.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>

#include <mutex>
#include <thread>
#include <vector>

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

namespace {

// The download in the background and what waits for its end.
struct Background {
    std::mutex mutex;
    std::thread worker;
    bool running = false;
    std::vector<std::function<void()>> waiting; // run on the GUI thread at the end
};

Background& background() {
    static Background state;
    return state;
}

void runOnGuiThread(std::function<void()> step) {
    if (QCoreApplication::instance() == nullptr) {
        step();
    } else {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(step), Qt::QueuedConnection);
    }
}

} // namespace

void StartConfigurationDownload(const std::string& updateTime) {
    Background& b = background();
    AwaitConfiguration(); // one at a time
    {
        const std::lock_guard lock(b.mutex);
        b.running = true;
    }
    auto start = [updateTime, &b] {
        b.worker = std::thread([updateTime, &b] {
            DownloadConfiguration(updateTime);
            std::vector<std::function<void()>> waiting;
            {
                const std::lock_guard lock(b.mutex);
                b.running = false;
                waiting.swap(b.waiting);
            }
            for (auto& step : waiting) {
                runOnGuiThread(std::move(step));
            }
        });
    };
    // In the program the thread starts after the first window's first frame: loading the HTTP
    // client and starting the TLS library would otherwise take the processor from that frame.
    if (QCoreApplication::instance() != nullptr && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        FirstFrame::Then(QCoreApplication::instance(), std::move(start));
    } else {
        start();
    }
}

void WhenConfigurationDownloaded(std::function<void()> step) {
    Background& b = background();
    {
        const std::lock_guard lock(b.mutex);
        if (b.running) {
            b.waiting.push_back(std::move(step));
            return;
        }
    }
    step();
}

void AwaitConfiguration() {
    Background& b = background();
    bool running = false;
    {
        const std::lock_guard lock(b.mutex);
        running = b.running;
    }
    if (running && QCoreApplication::instance() != nullptr &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        platform::WaitResponsively([](std::function<void()> finished) {
            WhenConfigurationDownloaded([finished = std::move(finished)] { finished(); });
        });
    }
    if (b.worker.joinable()) {
        b.worker.join();
    }
}

} // namespace kivo::startup
