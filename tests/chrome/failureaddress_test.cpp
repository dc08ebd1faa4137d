#include "chrome/failureaddress.h"

#include <gtest/gtest.h>

namespace kivo::chrome {
namespace {

TEST(ShownAddress, HostAndPathOnlyCleanAndShort) {
    EXPECT_EQ(ShownAddress("https://u:pw@svc.test:8443/desktop/a?password=x#token"), "svc.test:8443/desktop/a");
    EXPECT_EQ(ShownAddress("https://svc.test/a#frag"), "svc.test/a") << "never the fragment";
    EXPECT_EQ(ShownAddress(QString("https://svc.test/") + QChar(0x202E) + "fdp" + QChar(0x200B) + ".exe"),
              "svc.test/fdp.exe")
        << "bidirectional and other format characters removed";
    const QString shown = ShownAddress("https://svc.test/" + QString(300, 'a'));
    EXPECT_EQ(shown.size(), kShownAddressLength);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
}

} // namespace
} // namespace kivo::chrome
