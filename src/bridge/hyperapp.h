#pragma once

#include "platform/browser.h"
#include "platform/script/scriptengine.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::bridge {

/// @brief The page bridge: sees every navigation of its browser, cancels those to happ://
/// addresses, decodes the statement they carry and runs it in its script engine, where the owner
/// has added the objects pages may use. Script errors are reported and never end the program.
class HyperApp {
public:
    HyperApp();
    ~HyperApp();
    HyperApp(const HyperApp&) = delete;
    HyperApp& operator=(const HyperApp&) = delete;

    /// @brief Watches `brw`'s navigations from now on; false when that failed.
    bool Init(platform::Browser* brw);
    /// @brief Adds `Obj` under `szObjName`, its members also global.
    void AddObject(const std::u16string& szObjName, std::shared_ptr<script::ScriptObject> Obj);
    QString GetLastPostData() const { return LastPostData; }
    QString GetLastHeaders() const { return LastHeaders; }

    /// @brief Percent-decoding by 256 fixed passes, %00 to %FF in ascending order, upper-case
    /// digits only; bytes 80 to FF (no character on their own) become U+FFFD.
    static std::u16string DecodeHex(std::u16string_view szString);

    /// @brief The interception of one navigation.
    void MainIE_Sink_BeforeNavigate2(const QString& URL, const QString& PostData, const QString& Headers, bool& Cancel);

    /// @brief The last script error (for tools and tests); empty after a statement that ran.
    const std::optional<script::ScriptError>& lastError() const { return Script.Error(); }
    script::ScriptEngine& engine() { return Script; }

private:
    void Script_Sink_Error(const script::ScriptError& error, std::u16string_view statement);

    script::ScriptEngine Script;
    platform::Browser* MainIE = nullptr;
    QString LastPostData;
    QString LastHeaders;
};

} // namespace kivo::bridge
