#include "tray/menu.h"

#include "chrome/formregistry.h"
#include "chrome/menustyle.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/urlopener.h"
#include "service/httprequest.h"
#include "service/json/textcodec.h"

#include <QLoggingCategory>
#include <QPixmap>
#include <QPointer>

#include <algorithm>

Q_LOGGING_CATEGORY(lcMenu, "kivo.tray.menu")

namespace kivo::tray {

namespace {

QPointer<menu>& instance() {
    static QPointer<menu> window;
    return window;
}

std::function<void(QWidget*)>& showSettings() {
    static std::function<void(QWidget*)> show;
    return show;
}

std::function<void(QWidget*)>& showAbout() {
    static std::function<void(QWidget*)> show;
    return show;
}

void call(const std::function<void(QWidget*)>& show) {
    if (show) {
        show(chrome::FindForm("home"));
    }
}

} // namespace

menu* menu::Instance() {
    if (!instance()) {
        auto* window = new menu;
        instance() = window;
        window->Load();
    }
    return instance();
}

void menu::SetShowSettings(std::function<void(QWidget*)> show) {
    showSettings() = std::move(show);
}

void menu::SetShowAbout(std::function<void(QWidget*)> show) {
    showAbout() = std::move(show);
}

menu::menu() : Form("menu", Qt::Tool) {
    men_ = new QMenu(this);
    men_->setObjectName("men");
    chrome::DressMenu(men_);
    // The entries in menu order with their pictures (resources 101 to 106); empty: the separator.
    const std::tuple<const char*, const char*, std::function<void()>> items[] = {
        {"menus(0)", "设置", [] { call(showSettings()); }},
        {"menus(1)", "检测更新", [] { call(showAbout()); }},
        {"menus(2)", "退出系统", [] { chrome::UnloadAllForms(); }},
        {"m", "", {}},
        {"menuss(0)", "专属客服", [this] { Consultant(); }},
        {"menuss(1)", "论坛求助", [] { platform::UrlOpener::open(KIVO_FORUM_URL); }},
        {"menuss(2)", "Velmora官网",
         [] { platform::UrlOpener::open(QString::fromStdString(service::Service().BaseUrl)); }},
    };
    for (const auto& [name, caption, action] : items) {
        QAction* entry = std::string_view(caption).empty() ? men_->addSeparator() : men_->addAction(caption);
        entry->setObjectName(name);
        if (action) {
            connect(entry, &QAction::triggered, this, action);
        }
    }
}

void menu::onLoad() {
    // The item pictures: resource 101 for position 0 and onwards, none for the separator.
    int resource = 101;
    for (QAction* entry : men_->actions()) {
        if (!entry->isSeparator()) {
            entry->setIcon(QPixmap::fromImage(chrome::LoadResourceImage(resource++)));
        }
    }
}

void menu::Popup(const QPoint& position) {
    men_->popup(position);
}

QString menu::ConsultantNumber() {
    const json::JsonValue answer =
        service::HttpRequest(service::Service().BaseUrl + "/desktop/site/getConsultantQq", "");
    const json::JsonValue& data = service::Field(answer, u"data");
    if (!service::IsSuccess(answer) || !service::HasValue(data)) {
        return {};
    }
    const json::JsonValue& qq = service::Field(data, u"qq");
    const std::string number = json::Utf16ToUtf8(service::FieldText(qq));
    const bool digits =
        !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    // A whole number as the service sends it, or a text of 5 to 12 digits; nothing else goes
    // into the address.
    if (digits && (qq.isNumber() || (number.size() >= 5 && number.size() <= 12))) {
        return QString::fromStdString(number);
    }
    qCWarning(lcMenu) << "the consultant's number is not one; nothing opened";
    return {};
}

void menu::Consultant() {
    const QString qq = ConsultantNumber();
    if (!qq.isEmpty()) {
        platform::UrlOpener::open("tencent://message/?uin=" + qq + "&site=qq&menu=yes");
    }
}

} // namespace kivo::tray
