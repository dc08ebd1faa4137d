#include "bridge/hyperapp.h"

#include "bridge/decodehex.h"

#include <QLoggingCategory>
#include <QMessageBox>

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
    MainIE->setBeforeNavigate([this](const QString& url, const QString& post, const QString& headers, bool& cancel) {
        MainIE_Sink_BeforeNavigate2(url, post, headers, cancel);
    });
    return true;
}

void HyperApp::AddObject(const std::u16string& szObjName, std::shared_ptr<script::ScriptObject> Obj) {
    Script.AddObject(szObjName, std::move(Obj), true);
}

std::u16string HyperApp::DecodeHex(std::u16string_view szString) {
    return bridge::DecodeHex(szString);
}

void HyperApp::MainIE_Sink_BeforeNavigate2(const QString& URL, const QString& PostData, const QString& Headers,
                                           bool& Cancel) {
    LastPostData = PostData;
    LastHeaders = Headers;
    if (!URL.startsWith(QLatin1String("happ://"))) {
        return;
    }
    Cancel = true;
    std::u16string s = URL.mid(7).toStdU16String();
    if (!s.empty() && s.back() == u'/') {
        s.pop_back();
        s = DecodeHex(s);
    }
    Script.ExecuteStatement(s);
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
