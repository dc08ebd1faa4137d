#include "platform/packages/packageversions.h"

#include "platform/packages/debianversion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

#include <memory>
#include <sstream>

Q_LOGGING_CATEGORY(lcPackages, "kivo.platform.packages")

namespace kivo::platform {

namespace {

// The package manager is asked only for a program that runs from where the package puts it.
bool installedByPackage() {
    return QCoreApplication::instance() != nullptr &&
           QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath() ==
               QFileInfo(KIVO_INSTALLED_BINDIR).canonicalFilePath();
}

QProcess* policyProcess(QObject* parent) {
    auto* apt = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C"); // its words, not translated
    apt->setProcessEnvironment(environment);
    apt->setProgram("apt-cache");
    apt->setArguments({"policy", PackageVersions::kPackage});
    return apt;
}

PackageVersions answerOf(QProcess& apt) {
    PackageVersions versions;
    if (apt.exitStatus() == QProcess::NormalExit && apt.exitCode() == 0) {
        versions = PackageVersions::FromPolicy(apt.readAllStandardOutput().toStdString());
    } else {
        qCInfo(lcPackages) << "apt-cache could not say which versions there are:" << apt.errorString();
    }
    versions.companySource = QFileInfo::exists(PackageVersions::kSourceFile);
    return versions;
}

} // namespace

PackageVersions PackageVersions::FromPolicy(const std::string& policy) {
    PackageVersions versions;
    std::string candidate;
    std::istringstream lines(policy);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key;
        std::string value;
        words >> key >> value;
        if (value == "(none)") {
            value.clear();
        }
        if (key == "Installed:") {
            versions.installed = value;
        } else if (key == "Candidate:") {
            candidate = value;
        }
    }
    if (!candidate.empty() && (versions.installed.empty() || CompareDebianVersions(candidate, versions.installed) > 0)) {
        versions.available = candidate;
    }
    return versions;
}

PackageVersions PackageVersions::AskNow() {
    if (!installedByPackage()) {
        return {};
    }
    const std::unique_ptr<QProcess> apt(policyProcess(nullptr));
    apt->start();
    apt->waitForFinished(30000);
    return answerOf(*apt);
}

PackageVersions::Asker& PackageVersions::Asking() {
    static Asker asker;
    return asker;
}

void PackageVersions::Ask(QObject* context, std::function<void(const PackageVersions&)> answer) {
    if (Asking()) {
        Asking()(context, std::move(answer));
        return;
    }
    if (!installedByPackage()) {
        QMetaObject::invokeMethod(context, [answer] { answer({}); }, Qt::QueuedConnection);
        return;
    }
    QProcess* apt = policyProcess(context);
    auto answered = [apt, answer] {
        answer(answerOf(*apt));
        apt->deleteLater();
    };
    QObject::connect(apt, &QProcess::finished, context, answered);
    // A missing apt-cache never starts, so it never finishes either.
    QObject::connect(apt, &QProcess::errorOccurred, context, [answered](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            answered();
        }
    });
    apt->start();
}

} // namespace kivo::platform
