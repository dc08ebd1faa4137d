#include "chrome/loadingpage.h"

#include <QFileInfo>

namespace kivo::chrome {

QString LoadingAnimationFile(const std::filesystem::path& appDir) {
    const QString beside = QString::fromStdString((appDir / "img" / "loding.gif").string());
    return QFileInfo::exists(beside) ? beside : QStringLiteral(":/img/loding.gif");
}

void ShowLoadingPage(platform::Browser& browser, const std::filesystem::path& appDir, const QString& baseUrl) {
    const QString gif = LoadingAnimationFile(appDir);
    browser.writeDocument("<body style='width:100%;height:100%;background:url(" + browser.localFileUrl(gif) +
                              ") no-repeat center center'></body>",
                          baseUrl);
    browser.setBodyStyle("border", "none");
    browser.setBodyStyle("overflow", "hidden");
    browser.setBodyStyle("margin", "0px");
    browser.setBodyStyle("padding", "0px");
}

} // namespace kivo::chrome
