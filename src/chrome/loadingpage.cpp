#include "chrome/loadingpage.h"

namespace kivo::chrome {

void ShowLoadingPage(platform::Browser& browser, const std::filesystem::path& appDir, const QString& baseUrl) {
    const QString gif = QString::fromStdString((appDir / "img" / "loding.gif").string());
    browser.writeDocument("<body style='width:100%;height:100%;background:url(" + browser.localFileUrl(gif) +
                              ") no-repeat center center'></body>",
                          baseUrl);
    browser.setBodyStyle("border", "none");
    browser.setBodyStyle("overflow", "hidden");
    browser.setBodyStyle("margin", "0px");
    browser.setBodyStyle("padding", "0px");
}

} // namespace kivo::chrome
