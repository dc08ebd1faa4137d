// At twice the density the sign-in window keeps its layout and draws the pictures made for it.
#include "chrome/imagecontrol.h"
#include "signin/login.h"
#include "windowtest.h"

#include <QDir>
#include <QGuiApplication>

namespace kivo::signin {
namespace {

class DoubleDensity : public test::WindowTest {};

TEST_F(DoubleDensity, TheSignInWindowKeepsItsLayoutWithSharpPictures) {
    ASSERT_EQ(qGuiApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    auto* window = new login;
    window->Load();
    window->show();
    EXPECT_EQ(window->size(), QSize(899, 601)) << "the same layout in logical pixels";
    const auto* card = test::find<chrome::ImageControl>(window, "aicAlphaImage1");
    EXPECT_EQ(card->picture().devicePixelRatio(), 2.0) << "the card drawn at twice its size";
    EXPECT_EQ(card->picture().deviceIndependentSize().toSize(), QSize(372, 344));

    const QPixmap shot = window->grab();
    EXPECT_EQ(shot.size(), QSize(1798, 1202));
    QDir().mkpath(KIVO_SCREENSHOTS);
    EXPECT_TRUE(shot.save(KIVO_SCREENSHOTS "/signin-scale2.png"));
}

} // namespace
} // namespace kivo::signin
