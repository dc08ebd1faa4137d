// What the browser engine is told to accept: the service host's certificates that chain to the
// run's authority file, and nothing else; and the proxy it is given.
#include "platform/web/browsernetwork.h"
#include "platform/net/servicetrust.h"
#include "testauthority.h"

#include <QNetworkProxy>
#include <QProcess>
#include <QSslCertificate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

QList<QSslCertificate> chainOf(const std::string& file) {
    return QSslCertificate::fromPath(QString::fromStdString(file));
}

TEST(ServiceTrust, TheAuthorityFileVouchesForTheServiceHostOnly) {
    test::TestAuthority authority;
    test::TestAuthority stranger;
    ASSERT_TRUE(authority.ok() && stranger.ok());
    ASSERT_TRUE(authority.issue("service", "127.0.0.1") && authority.issue("elsewhere", "elsewhere.kivo.test"));
    ASSERT_TRUE(stranger.issue("service", "127.0.0.1"));
    const QUrl page("https://127.0.0.1:8443/desktop/site/index");
    const auto service = chainOf(authority.certificate("service"));

    ASSERT_TRUE(ShareNetworkWithBrowser("https://127.0.0.1:8443", {authority.caFile(), "http://u:p@proxy.corp:3128"}));
    EXPECT_TRUE(ServiceTrust::Accepts(page, service));
    EXPECT_TRUE(ServiceTrust::Accepts(page, service + chainOf(authority.caFile()))) << "the root sent along";
    EXPECT_FALSE(ServiceTrust::Accepts(page, chainOf(authority.certificate("elsewhere")))) << "another host's";
    EXPECT_FALSE(ServiceTrust::Accepts(page, chainOf(stranger.certificate("service")))) << "another authority's";
    EXPECT_FALSE(
        ServiceTrust::Accepts(QUrl("https://elsewhere.kivo.test/"), chainOf(authority.certificate("elsewhere"))))
        << "a sound certificate of a host that is not the service";
    EXPECT_FALSE(ServiceTrust::Accepts(page, {}));
    for (const char* other : {"wss://127.0.0.1:8443/socket", "http://127.0.0.1:8443/desktop/site/index"}) {
        EXPECT_FALSE(ServiceTrust::Accepts(QUrl(other), service)) << other << ": only the service's https pages";
    }
    const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
    EXPECT_EQ(proxy.type(), QNetworkProxy::HttpProxy);
    EXPECT_EQ(proxy.hostName(), "proxy.corp");
    EXPECT_EQ(proxy.password(), "p");

    // Without the file the system's authorities alone are asked, and they do not know this one.
    ASSERT_TRUE(ShareNetworkWithBrowser("https://127.0.0.1:8443", {}));
    EXPECT_FALSE(ServiceTrust::Accepts(page, service));
    EXPECT_EQ(QNetworkProxy::applicationProxy().type(), QNetworkProxy::NoProxy);
    // A file that holds no certificate is reported.
    EXPECT_FALSE(ShareNetworkWithBrowser("https://127.0.0.1:8443", {authority.key("service"), ""}));
    EXPECT_FALSE(ServiceTrust::Accepts(page, service));
}

TEST(ServiceTrust, AServicesSelfSignedCertificateInTheFileIsAccepted) {
    QTemporaryDir folder;
    const QString certificate = folder.filePath("self.crt");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-keyout", folder.filePath("self.key"), "-out", certificate, "-days", "30", "-subj",
                              "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    ASSERT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    ASSERT_TRUE(ShareNetworkWithBrowser("https://127.0.0.1:8443", {certificate.toStdString(), ""}));
    EXPECT_TRUE(ServiceTrust::Accepts(QUrl("https://127.0.0.1:8443/"), chainOf(certificate.toStdString())));
    ASSERT_TRUE(ShareNetworkWithBrowser("https://127.0.0.1:8443", {}));
}

} // namespace
} // namespace kivo::platform
