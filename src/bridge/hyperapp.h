#pragma once

#include "bridge/bridgeorigins.h"
#include "platform/web/browser.h"
#include "platform/script/scriptengine.h"

#include <QJsonArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kivo::bridge {

/// @brief The page bridge: sees every navigation of its browser, cancels those to happ://
/// addresses, decodes the statement they carry and runs it in its script engine, where the owner
/// has added the objects pages may use. Script errors are reported and never end the program.
///
/// It also reads and writes the fields of the shown page for its owner. Those members wait for
/// the page's answer (up to pageTimeout) and raise BridgeError when it fails or does not come;
/// forms and elements are counted from 0, names compare exactly, and a name nothing has gives
/// the empty text or false.
class HyperApp {
public:
    HyperApp();
    ~HyperApp();
    HyperApp(const HyperApp&) = delete;
    HyperApp& operator=(const HyperApp&) = delete;

    /// @brief Watches `brw`'s navigations from now on; false when that failed.
    bool Init(platform::Browser* brw);
    /// @brief The pages whose commands run; none until this is called.
    void AllowOrigins(BridgeOrigins origins) { origins_ = std::move(origins); }
    /// @brief Adds `Obj` under `szObjName`, its members also global.
    void AddObject(const std::u16string& szObjName, std::shared_ptr<script::ScriptObject> Obj);
    QString GetLastPostData() const { return LastPostData; }
    QString GetLastHeaders() const { return LastHeaders; }

    QString GetTextValue(std::int16_t nIndex, const QString& szName);
    void SetTextValue(std::int16_t nIndex, const QString& szName, const QString& szText);
    bool GetChecked(std::int16_t nIndex, const QString& szName);
    void SetChecked(std::int16_t nIndex, const QString& szName, bool bChecked);
    /// @brief The selected option's value of the last list of that name; empty when none is selected.
    QString GetComboValue(std::int16_t nIndex, const QString& szName);
    /// @brief Selects, in every list of that name, the first option with that value.
    void SetComboByValue(std::int16_t nIndex, const QString& szName, const QString& szValue);
    QString GetComboText(std::int16_t nIndex, const QString& szName);
    void SetComboByText(std::int16_t nIndex, const QString& szName, const QString& szText);
    /// @brief Whether the radio button of group `szGroupID` with the value `szName` is checked.
    bool GetRadioState(std::int16_t nIndex, const QString& szGroupID, const QString& szName);
    void SetRadioState(std::int16_t nIndex, const QString& szGroupID, const QString& szName, bool bOn);
    QString GetCheckedRadioFromGroup(std::int16_t nIndex, const QString& szGroupID);
    QString GetLink(std::int16_t nIndex);
    QString GetImage(std::int16_t nIndex);
    /// @brief The markup of the whole page.
    QString GetSource();
    /// @brief Shows `szSource` as a page of its own (address about:blank, so no site's cookies).
    void LoadHTML(const QString& szSource);
    QString GetTitle();

    /// @brief The document the last of the members above read: its address and title.
    struct Document {
        QString url;
        QString title;
    };
    /// @brief Nothing before the first member call.
    const std::optional<Document>& DocumentObject() const { return CurrentDocument; }
    void setPageTimeout(std::chrono::milliseconds limit) { pageTimeout_ = limit; }

    /// @brief Percent-decoding by 256 fixed passes, %00 to %FF in ascending order, upper-case
    /// digits only; bytes 80 to FF (no character on their own) become U+FFFD.
    static std::u16string DecodeHex(std::u16string_view szString);

    /// @brief The interception of one navigation by a frame of `Origin`. A happ address of an
    /// origin not allowed is cancelled without running, with a log line; refused() says so.
    void MainIE_Sink_BeforeNavigate2(const QString& URL, const QString& Origin, const QString& PostData,
                                     const QString& Headers, bool& Cancel);
    /// @brief Whether the last happ address was refused for its origin.
    bool refused() const { return refused_; }

    /// @brief The last script error (for tools and tests); empty after a statement that ran.
    const std::optional<script::ScriptError>& lastError() const { return Script.Error(); }
    script::ScriptEngine& engine() { return Script; }

private:
    // Runs one page script and waits for its answer, keeping its document.
    QJsonValue runOnPage(const platform::PageScript& script, const QJsonObject& argument);
    QJsonArray formFields(std::int16_t nIndex);
    void setField(std::int16_t nIndex, int element, const char* property, const QJsonValue& value);
    void selectWhere(std::int16_t nIndex, const QString& szName, const char* key, const QString& wanted);
    QString selectedOf(std::int16_t nIndex, const QString& szName, const char* key);

    void Script_Sink_Error(const script::ScriptError& error, std::u16string_view statement);

    script::ScriptEngine Script;
    platform::Browser* MainIE = nullptr;
    QString LastPostData;
    QString LastHeaders;
    std::optional<Document> CurrentDocument;
    std::chrono::milliseconds pageTimeout_{5000};
    bool intercepting_ = false; // a page command runs: the page cannot answer now
    BridgeOrigins origins_;
    bool refused_ = false;
};

} // namespace kivo::bridge
