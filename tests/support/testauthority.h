#pragma once

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kivo::test {

// A certificate authority made for one test with the openssl tool, and the server certificates it
// signs. Nothing of it outlives the test.
class TestAuthority {
public:
    TestAuthority() {
        ok_ = openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       path("ca.key"), "-out", path("ca.crt"), "-days", "30", "-subj", "/CN=Kivo Test Authority",
                       "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                       "keyUsage=critical,keyCertSign,cRLSign"});
    }
    bool ok() const { return ok_; }
    std::string caFile() const { return path("ca.crt").toStdString(); }
    std::string certificate(const QString& name) const { return path(name + ".crt").toStdString(); }
    std::string key(const QString& name) const { return path(name + ".key").toStdString(); }

    // Signs a server certificate `name`.crt (and its key) for `host`, a DNS name or an IPv4 address.
    bool issue(const QString& name, const QString& host) {
        const bool ip = !QHostAddress(host).isNull();
        QFile extensions(path(name + ".ext"));
        extensions.open(QIODevice::WriteOnly);
        extensions.write(QStringLiteral("subjectAltName=%1:%2\nextendedKeyUsage=serverAuth\n"
                                        "basicConstraints=CA:FALSE\n")
                             .arg(ip ? "IP" : "DNS", host)
                             .toUtf8());
        extensions.close();
        return openssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                        path(name + ".key"), "-out", path(name + ".csr"), "-subj", "/CN=" + host}) &&
               openssl({"x509", "-req", "-in", path(name + ".csr"), "-CA", path("ca.crt"), "-CAkey", path("ca.key"),
                        "-CAcreateserial", "-out", path(name + ".crt"), "-days", "30", "-extfile",
                        path(name + ".ext")});
    }

private:
    QString path(const QString& file) const { return folder_.filePath(file); }
    static bool openssl(const QStringList& arguments) {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        tool.start("openssl", arguments);
        return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    QTemporaryDir folder_;
    bool ok_ = false;
};

} // namespace kivo::test
