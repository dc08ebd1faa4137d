#include "settings/updatetexts.h"

namespace kivo::settings {

UpdateTexts UpdateTexts::Asking() {
    return {"正在检查新版本…", "正在向系统的软件源查询新版本…"};
}

UpdateTexts UpdateTexts::For(const platform::PackageVersions& versions, const std::string& updateStatus) {
    // New versions install by themselves only where the setting says so and the company's
    // source is there for the system's updates to take them from.
    const bool installsItself = updateStatus != "1" && versions.companySource;
    if (versions.installed.empty()) {
        // Not installed from a package (a build folder), or no package manager to ask.
        return {"无法检查新版本", "此 VelmoraKivo 不是从软件包安装的，无法得知是否有新版本。"};
    }
    if (!versions.available.empty()) {
        const QString next = "V" + QString::fromStdString(versions.available);
        return {"发现新版本 " + next, installsItself ? "新版本 " + next + " 将随系统更新自动安装。"
                                                     : "新版本 " + next + " 已发布，请通过系统的“软件更新”安装。"};
    }
    return {"当前已经是最新版本", installsItself ? "已是最新版本！新版本将随系统更新自动安装。" : "已是最新版本！"};
}

} // namespace kivo::settings
