// The main of end-to-end tests: the happ scheme must be known before the application exists.
#include "chrome/language.h"
#include "platform/web/browserengine.h"
#include "platform/web/webenginebrowser.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    kivo::platform::WebEngineBrowser::RegisterSchemes();
    kivo::platform::BrowserEngine::ChooseComposition(); // the pages drawn as the program draws them
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    kivo::chrome::SpeakChinese(); // as the program: before the browser engine starts
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
