#include "bridge/hyperapp.h"

#include "bridge/bridgeerror.h"
#include "bridge/decodehex.h"
#include "bridge/pagescripts.h"
#include "platform/process/responsivewait.h"

#include <QJsonObject>
#include <QLoggingCategory>
#include <QMessageBox>

#include <utility>

Q_LOGGING_CATEGORY(lcBridge, "kivo.bridge.hyperapp")

namespace kivo::bridge {

namespace {

// MsgBox through a Qt message box: OK, OK/Cancel, Yes/No/Cancel, Yes/No.
int showMessage(const std::u16string& prompt, int buttons, const std::u16string& title) {
    QMessageBox box(QMessageBox::Information, QString::fromStdU16String(title), QString::fromStdU16String(prompt));
    switch (buttons & 7) {
    case 1:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case 3:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case 4:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return 2;
    case QMessageBox::Yes:
        return 6;
    case QMessageBox::No:
        return 7;
    default:
        return 1;
    }
}

// A property of a form element as the page gave it; an element without it is a failure.
QJsonValue property(const QJsonValue& field, const char* key, int position) {
    const QJsonValue value = field.toObject().value(QLatin1String(key));
    if (value.isNull() || value.isUndefined()) {
        throw BridgeError(QStringLiteral("the element at position %1 has no %2").arg(position).arg(key).toStdString());
    }
    return value;
}

bool named(const QJsonValue& field, const QString& name) {
    return field.toObject().value("name").toString() == name;
}

// Both conditions are read for every element, as the radio members compare both.
bool isRadio(const QJsonValue& field, const QString& group, const QString& value) {
    const bool inGroup = named(field, group);
    const bool hasValue = field.toObject().value("value").toString() == value;
    return inGroup && hasValue;
}

// The position of the first element that matches; -1 when none does.
template <typename Match> int firstMatch(const QJsonArray& fields, Match match) {
    for (int i = 0; i < fields.size(); ++i) {
        if (match(fields[i])) {
            return i;
        }
    }
    return -1;
}

} // namespace

HyperApp::HyperApp() {
    Script.msgBox = showMessage; // the engine may show its own dialogs
    Script.onError = [this](const script::ScriptError& error, std::u16string_view statement) {
        Script_Sink_Error(error, statement);
    };
}

HyperApp::~HyperApp() {
    Script.onError = nullptr;
    if (MainIE != nullptr) {
        MainIE->setBeforeNavigate({});
    }
}

bool HyperApp::Init(platform::Browser* brw) {
    if (brw == nullptr) {
        return false;
    }
    MainIE = brw;
    MainIE->setBeforeNavigate(
        [this](const QString& url, const QString& origin, const QString& post, const QString& headers, bool& cancel) {
            MainIE_Sink_BeforeNavigate2(url, origin, post, headers, cancel);
        });
    return true;
}

void HyperApp::AddObject(const std::u16string& szObjName, std::shared_ptr<script::ScriptObject> Obj) {
    Script.AddObject(szObjName, std::move(Obj), true);
}

std::u16string HyperApp::DecodeHex(std::u16string_view szString) {
    return bridge::DecodeHex(szString);
}

void HyperApp::MainIE_Sink_BeforeNavigate2(const QString& URL, const QString& Origin, const QString& PostData,
                                           const QString& Headers, bool& Cancel) {
    LastPostData = PostData;
    LastHeaders = Headers;
    if (!URL.startsWith(QLatin1String("happ://"))) {
        return;
    }
    Cancel = true;
    refused_ = !origins_.allows(Origin);
    if (refused_) {
        // The origin only: the statement's arguments may be anything a foreign page wrote.
        qCWarning(lcBridge).noquote() << "refused a page command from"
                                      << (Origin.isEmpty() ? QStringLiteral("an unknown origin") : Origin);
        return;
    }
    std::u16string s = URL.mid(7).toStdU16String();
    if (!s.empty() && s.back() == u'/') {
        s.pop_back();
        s = DecodeHex(s);
    }
    const bool outer = !std::exchange(intercepting_, true);
    Script.ExecuteStatement(s);
    if (outer) {
        intercepting_ = false;
    }
}

// ---- the fields of the shown page ----

QJsonValue HyperApp::runOnPage(const platform::PageScript& script, const QJsonObject& argument) {
    if (MainIE == nullptr) {
        throw BridgeError("the bridge has no browser");
    }
    if (intercepting_) {
        // The browser waits for the navigation being intercepted; it could not answer.
        throw BridgeError("the page cannot be read while one of its commands runs");
    }
    auto answer = std::make_shared<platform::PageScriptResult>();
    const bool answered = platform::WaitResponsively(
        [&](std::function<void()> finished) {
            MainIE->runPageScript(script, argument, [answer, finished](const platform::PageScriptResult& result) {
                *answer = result;
                finished();
            });
        },
        pageTimeout_);
    if (!answered) {
        throw BridgeError(
            QStringLiteral("the page did not answer within %1 ms").arg(pageTimeout_.count()).toStdString());
    }
    CurrentDocument = Document{answer->url, answer->title};
    if (!answer->ok) {
        throw BridgeError(answer->error.toStdString());
    }
    return answer->value;
}

QJsonArray HyperApp::formFields(std::int16_t nIndex) {
    return runOnPage(pagescripts::kFormFields, {{"form", nIndex}}).toArray();
}

void HyperApp::setField(std::int16_t nIndex, int element, const char* property, const QJsonValue& value) {
    runOnPage(pagescripts::kSetField,
              {{"form", nIndex}, {"element", element}, {"property", QLatin1String(property)}, {"value", value}});
}

QString HyperApp::GetTextValue(std::int16_t nIndex, const QString& szName) {
    const QJsonArray fields = formFields(nIndex);
    const int i = firstMatch(fields, [&](const QJsonValue& field) { return named(field, szName); });
    return i < 0 ? QString() : property(fields[i], "value", i).toString();
}

void HyperApp::SetTextValue(std::int16_t nIndex, const QString& szName, const QString& szText) {
    const int i = firstMatch(formFields(nIndex), [&](const QJsonValue& field) { return named(field, szName); });
    if (i >= 0) {
        setField(nIndex, i, "value", szText);
    }
}

bool HyperApp::GetChecked(std::int16_t nIndex, const QString& szName) {
    const QJsonArray fields = formFields(nIndex);
    const int i = firstMatch(fields, [&](const QJsonValue& field) { return named(field, szName); });
    return i >= 0 && property(fields[i], "checked", i).toBool();
}

void HyperApp::SetChecked(std::int16_t nIndex, const QString& szName, bool bChecked) {
    const int i = firstMatch(formFields(nIndex), [&](const QJsonValue& field) { return named(field, szName); });
    if (i >= 0) {
        setField(nIndex, i, "checked", bChecked);
    }
}

// `key` ("value" or "text") of the selected option of the last list so named.
QString HyperApp::selectedOf(std::int16_t nIndex, const QString& szName, const char* key) {
    const QJsonArray fields = formFields(nIndex);
    QString result;
    for (int i = 0; i < fields.size(); ++i) {
        if (named(fields[i], szName)) {
            const int selected = property(fields[i], "selectedIndex", i).toInt();
            const QJsonArray options = property(fields[i], "options", i).toArray();
            // Nothing selected (-1) reads as the empty text.
            result = selected >= 0 && selected < options.size()
                         ? options[selected].toObject().value(QLatin1String(key)).toString()
                         : QString();
        }
    }
    return result;
}

// In every list so named, selects the first option whose `key` is `wanted`.
void HyperApp::selectWhere(std::int16_t nIndex, const QString& szName, const char* key, const QString& wanted) {
    const QJsonArray fields = formFields(nIndex);
    for (int i = 0; i < fields.size(); ++i) {
        if (!named(fields[i], szName)) {
            continue;
        }
        const QJsonArray options = property(fields[i], "options", i).toArray();
        for (int j = 0; j < options.size(); ++j) {
            if (options[j].toObject().value(QLatin1String(key)).toString() == wanted) {
                runOnPage(pagescripts::kSelectOption, {{"form", nIndex}, {"element", i}, {"option", j}});
                break;
            }
        }
    }
}

QString HyperApp::GetComboValue(std::int16_t nIndex, const QString& szName) {
    return selectedOf(nIndex, szName, "value");
}

void HyperApp::SetComboByValue(std::int16_t nIndex, const QString& szName, const QString& szValue) {
    selectWhere(nIndex, szName, "value", szValue);
}

QString HyperApp::GetComboText(std::int16_t nIndex, const QString& szName) {
    return selectedOf(nIndex, szName, "text");
}

void HyperApp::SetComboByText(std::int16_t nIndex, const QString& szName, const QString& szText) {
    selectWhere(nIndex, szName, "text", szText);
}

bool HyperApp::GetRadioState(std::int16_t nIndex, const QString& szGroupID, const QString& szName) {
    const QJsonArray fields = formFields(nIndex);
    const int i = firstMatch(fields, [&](const QJsonValue& field) { return isRadio(field, szGroupID, szName); });
    return i >= 0 && property(fields[i], "checked", i).toBool();
}

void HyperApp::SetRadioState(std::int16_t nIndex, const QString& szGroupID, const QString& szName, bool bOn) {
    const int i =
        firstMatch(formFields(nIndex), [&](const QJsonValue& field) { return isRadio(field, szGroupID, szName); });
    if (i >= 0) {
        setField(nIndex, i, "checked", bOn);
    }
}

QString HyperApp::GetCheckedRadioFromGroup(std::int16_t nIndex, const QString& szGroupID) {
    const QJsonArray fields = formFields(nIndex);
    const int i = firstMatch(fields, [&](const QJsonValue& field) {
        return named(field, szGroupID) && field.toObject().value("checked").toBool();
    });
    return i < 0 ? QString() : property(fields[i], "value", i).toString();
}

QString HyperApp::GetLink(std::int16_t nIndex) {
    return runOnPage(pagescripts::kLink, {{"index", nIndex}}).toString();
}

QString HyperApp::GetImage(std::int16_t nIndex) {
    return runOnPage(pagescripts::kImage, {{"index", nIndex}}).toString();
}

QString HyperApp::GetSource() {
    return runOnPage(pagescripts::kSource, {}).toString();
}

QString HyperApp::GetTitle() {
    return runOnPage(pagescripts::kTitle, {}).toString();
}

void HyperApp::LoadHTML(const QString& szSource) {
    if (MainIE == nullptr) {
        throw BridgeError("the bridge has no browser");
    }
    if (!MainIE->showMarkup(szSource)) {
        throw BridgeError("the markup is larger than the browser can show");
    }
}

void HyperApp::Script_Sink_Error(const script::ScriptError& error, std::u16string_view statement) {
    const QString where = error.position() == script::ScriptError::kNoPosition
                              ? QString()
                              : QStringLiteral(" at column %1").arg(error.position() + 1);
    qCWarning(lcBridge).noquote() << "script error" << error.number() << QString::fromStdU16String(error.source())
                                  << QString::fromStdU16String(error.description()) + where
                                  << "in:" << QString::fromStdU16String(std::u16string(statement));
}

} // namespace kivo::bridge
