#include "mainwin/menuiconcache.h"

#include "mainwin/menuiconanswer.h"
#include "mainwin/menuiconpath.h"

#include "platform/net/curlhttpsession.h"
#include "service/httprequest.h"

#include <QLoggingCategory>

#include <fstream>
#include <system_error>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcIcons, "kivo.mainwin.menuiconcache")

namespace kivo::mainwin {

namespace fs = std::filesystem;

static_assert(kIconAnswerLimit == platform::CurlHttpSession::kPictureLimit);

MenuIconCache::MenuIconCache(fs::path appDir, std::string baseUrl, std::shared_ptr<platform::HttpSession> session)
    : appDir_(std::move(appDir)), baseUrl_(std::move(baseUrl)), session_(std::move(session)) {
    if (!session_) {
        session_ = std::make_shared<platform::CurlHttpSession>(
            platform::HttpTimeouts{kTimeLimit, kTimeLimit, kTimeLimit, kTimeLimit}, service::Service().network,
            platform::CurlHttpSession::kPictureLimit);
    }
}

const char* MenuIconCache::OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Downloaded:
        return "downloaded";
    case Outcome::Cached:
        return "cached";
    case Outcome::Empty:
        return "empty";
    case Outcome::Refused:
        return "refused";
    case Outcome::Failed:
        return "failed";
    }
    return "failed";
}

std::string MenuIconCache::fail(Outcome outcome) {
    outcome_ = outcome;
    return {};
}

std::string MenuIconCache::FetchMenuIcon(const std::string& iconPath) {
    if (iconPath.empty()) {
        return fail(Outcome::Empty);
    }
    const std::string relative = MenuIconPath(iconPath, baseUrl_);
    if (relative.empty()) {
        qCWarning(lcIcons) << "refused an icon path that does not name a file under the service";
        return fail(Outcome::Refused);
    }
    std::error_code error;
    const fs::path file = (appDir_ / relative.substr(1)).lexically_normal();
    // The file must stay inside the application folder, links in between included.
    const fs::path root = fs::weakly_canonical(appDir_, error);
    const fs::path target = fs::weakly_canonical(file, error);
    const auto [rootEnd, targetAt] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
    if (error || rootEnd != root.end() || targetAt == target.end()) {
        qCWarning(lcIcons) << "refused an icon path that leaves the application folder";
        return fail(Outcome::Refused);
    }
    if (fs::is_regular_file(file, error)) {
        outcome_ = Outcome::Cached;
        return file.string();
    }

    fs::create_directories(file.parent_path(), error);
    if (error) {
        qCWarning(lcIcons) << "cannot make the icon folder:" << QString::fromStdString(error.message());
        return fail(Outcome::Failed);
    }
    const auto response = session_->get(baseUrl_ + relative);
    if (!response || !IsIconAnswer(response->status, response->body)) {
        qCInfo(lcIcons) << "icon download failed:" << QString::fromStdString(relative)
                        << (response ? response->status : 0);
        return fail(Outcome::Failed);
    }
    // Written aside and renamed, so that no half-written file is ever taken for the icon.
    const fs::path part = file.string() + ".part" + std::to_string(::getpid());
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(response->body.data(), static_cast<std::streamsize>(response->body.size()));
        out.close();
        if (!out) {
            fs::remove(part, error);
            qCWarning(lcIcons) << "cannot write the icon" << QString::fromStdString(relative);
            return fail(Outcome::Failed);
        }
    }
    fs::rename(part, file, error);
    if (error) {
        fs::remove(part, error);
        qCWarning(lcIcons) << "cannot store the icon" << QString::fromStdString(relative);
        return fail(Outcome::Failed);
    }
    outcome_ = Outcome::Downloaded;
    return file.string();
}

} // namespace kivo::mainwin
