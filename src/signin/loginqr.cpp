// The sign-in window's QR code: its browser, started after the first paint, the code shown in
// it, and the polls that learn when the phone app has confirmed it.
#include "chrome/keyboardaccess.h"
#include "chrome/loadingpage.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/twips.h"
#include "platform/process/responsivewait.h"
#include "service/httprequest.h"
#include "service/sessioncookies.h"
#include "signin/login.h"
#include "startup/configuration.h"
#include "startup/runparameters.h"

#include <QPointer>

namespace kivo::signin {

using platform::MoveTwips;

// The browser engine takes longer to start than the whole window: it starts once the window has
// painted. Its first page waits for the configuration download, whose answer brings the session
// cookie that the page needs.
void login::StartBrowser() {
    if (loding || !platform::Browsers()) {
        return;
    }
    loding = platform::Browsers()(code_box);
    if (!loding) { // no browser engine: the log says why; the other tabs still sign in
        return;
    }
    loding->widget()->setObjectName("loding");
    chrome::PresentAsPicture(loding->widget(), "登录二维码");
    loding->widget()->setFocusPolicy(Qt::NoFocus);
    MoveTwips(loding->widget(), 1320, 360, 3000, 3000);
    loding->widget()->show();
    startup::WhenConfigurationDownloaded([window = QPointer<login>(this)] {
        if (!window) {
            return;
        }
        service::CopySessionCookies();
        if (window->loding && window->QrCount_ == 0) { // a QR code shown meanwhile stays
            window->loding->navigate(QString::fromStdString(service::Service().BaseUrl));
        }
    });
}

void login::ShowQrCode() {
    const QString base = QString::fromStdString(service::Service().BaseUrl);
    StartBrowser(); // the tab may be chosen before the window painted
    if (loding) {
        chrome::ShowLoadingPage(*loding, startup::State().options.appDir, base);
    }
    QrCount_ += 1;
    if (loding) {
        loding->setBodyInnerHtml("");
        loding->setBodyInnerHtml("<img style='width:100%;height:100%' src='" + base +
                                 "/desktop/site/showLoginQrcode?time=" + QString::number(QrCount_) + "'>");
    }
    // A refreshed code keeps the poll's rhythm; restarting it on every refresh could stop it.
    if (!code_time.isActive()) {
        code_time.start();
    }
}

void login::Poll() {
    // A tick that comes while another request runs would only queue behind it.
    if (platform::WorkRunning()) {
        return;
    }
    const json::JsonValue answer =
        service::HttpRequest(service::Service().BaseUrl + "/desktop/site/checkQrlogintmp", "");
    service::CopySessionCookies();
    if (answer.isNothing()) {
        code_time.stop();
        return;
    }
    if (service::IsSuccess(answer)) {
        startup::State().UserData = service::Field(answer, u"data");
        Succeed();
    }
}

} // namespace kivo::signin
