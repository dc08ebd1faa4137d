#include "platform/web/browserengine.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

// Where the engine draws in software the windows compose its pages in software too; a choice
// of the user's stands.
TEST(BrowserEngine, ComposesInSoftwareWhereTheEngineDrawsInSoftware) {
    struct Case {
        QByteArray engineFlags;
        QByteArray userChoice; // empty: none
        QByteArray composition;
    };
    const Case cases[] = {
        {"--no-first-run --disable-gpu", "", "software"},
        {"--disable-gpu-compositing", "", ""},
        {"", "", ""},
        {"--disable-gpu", "rhi", "rhi"},
    };
    for (const Case& c : cases) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", c.engineFlags);
        qputenv("QT_QUICK_BACKEND", c.userChoice);
        BrowserEngine::ChooseComposition();
        EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), c.composition) << c.engineFlags.constData();
    }
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qunsetenv("QT_QUICK_BACKEND");
}

} // namespace
} // namespace kivo::platform
