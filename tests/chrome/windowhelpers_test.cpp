#include "chrome/controlarray.h"
#include "chrome/form.h"
#include "chrome/formregistry.h"
#include "chrome/imagecontrol.h"
#include "chrome/windowhelpers.h"
#include "chrome/windowpreparation.h"
#include "testserver.h"

#include <QBuffer>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace kivo::chrome {
namespace {

TEST(RoundUp, CeilsFractionsAndRoundsTheRestToEven) {
    EXPECT_EQ(RoundUp(2.0f), 2);
    EXPECT_EQ(RoundUp(2.1f), 3);
    EXPECT_EQ(RoundUp(2.5f), 3);
    EXPECT_EQ(RoundUp(-1.5f), -2);
    EXPECT_EQ(RoundUp(-1.2f), -1);
    EXPECT_EQ(RoundUp(0.0f), 0);
    EXPECT_EQ(RoundUp(32767.0f), 32767);
    EXPECT_THROW(RoundUp(32767.5f), std::overflow_error);
    EXPECT_THROW(RoundUp(-40000.0f), std::overflow_error);
}

TEST(Resources, EachJpegDecodesToItsListedSize) {
    const std::map<int, QSize> sizes{{101, {12, 12}},   {102, {11, 11}},   {103, {12, 12}},   {104, {12, 12}},
                                     {105, {12, 12}},   {106, {12, 12}},   {107, {1, 131}},   {108, {900, 602}},
                                     {109, {138, 40}},  {110, {312, 40}},  {111, {372, 260}}, {112, {91, 31}},
                                     {113, {372, 260}}, {114, {372, 260}}, {115, {445, 145}}};
    for (const auto& [id, size] : sizes) {
        const QByteArray bytes = ResourceBytes(id);
        ASSERT_TRUE(bytes.startsWith("\xFF\xD8")) << id << " is a JPEG";
        EXPECT_EQ(LoadJpegResource(bytes).size(), size) << id;
    }
    EXPECT_TRUE(LoadResourceImage(116).isNull());
    EXPECT_TRUE(LoadJpegResource({}).isNull());
    EXPECT_TRUE(LoadJpegResource("not a picture").isNull());
    EXPECT_EQ(LoadPicture("card").size(), QSize(372, 344));
}

// The pictures decoded ahead are the ones the window would decode itself, handed out until
// they are released; any other picture is read as before.
TEST(WindowPreparation, HandsOutThePicturesItDecodedUntilReleased) {
    const QString card = PicturePath("card");
    const QString background = ResourceImagePath(108);
    WindowPreparation preparation({background, card});
    const std::optional<QImage> prepared = WindowPreparation::Take(card);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(*prepared, QImage(card));
    EXPECT_EQ(LoadResourceImage(108), LoadJpegResource(ResourceBytes(108)));
    EXPECT_FALSE(WindowPreparation::Take(PicturePath("heading"))) << "not prepared";
    EXPECT_FALSE(LoadPicture("heading").isNull());
    preparation.Release();
    EXPECT_FALSE(WindowPreparation::Take(card));
    EXPECT_EQ(LoadPicture("card"), QImage(card));
}

TEST(LoadPictureFromPath, FilesAndWebAddresses) {
    QTemporaryDir dir;
    const QString file = dir.filePath("avatar.png");
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(file));
    EXPECT_EQ(LoadPictureFromPath(file).size(), QSize(8, 6));
    EXPECT_TRUE(LoadPictureFromPath(dir.filePath("missing.png")).isNull());
    EXPECT_TRUE(LoadPictureFromPath("").isNull());

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    test::TestServer server;
    server.server().Get("/avatar.png",
                        [&](const auto&, auto& res) { res.set_content(png.toStdString(), "image/png"); });
    server.start();
    EXPECT_EQ(LoadPictureFromPath(QString::fromStdString(server.url() + "/avatar.png")).size(), QSize(8, 6));
    EXPECT_TRUE(LoadPictureFromPath(QString::fromStdString(server.url() + "/missing.png")).isNull());
}

class TestForm : public Form {
public:
    TestForm(const QString& name, std::vector<QString>& log) : Form(name), log_(log) {}

protected:
    void onLoad() override { log_.push_back("load " + name()); }
    void onUnload() override { log_.push_back("unload " + name()); }

private:
    std::vector<QString>& log_;
};

TEST(Forms, LoadedListUnloadOrderAndProgramEnd) {
    std::vector<QString> log;
    int ends = 0;
    FormRegistry::instance().setProgramEnd([&] { ++ends; });
    auto* tray = new TestForm("tray_form", log);
    auto* home = new TestForm("home", log);
    tray->Load();
    home->Load();
    home->Load(); // loading twice lists it once
    EXPECT_TRUE(IsFormLoaded("home"));
    EXPECT_FALSE(IsFormLoaded("Home"));
    EXPECT_FALSE(IsFormLoaded("login"));

    UnloadAllForms();
    EXPECT_EQ(log, (std::vector<QString>{"load tray_form", "load home", "unload tray_form", "unload home"}));
    EXPECT_FALSE(IsFormLoaded("home"));
    EXPECT_EQ(ends, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FormRegistry::instance().setProgramEnd({});
}

TEST(Forms, ADesktopCloseUnloadsThroughTheWindowsOwnSteps) {
    std::vector<QString> log;
    int ends = 0;
    FormRegistry::instance().setProgramEnd([&] { ++ends; });
    auto* form = new TestForm("about", log);
    form->Load();
    form->show();
    EXPECT_FALSE(form->close()) << "the window decides, not the desktop";
    EXPECT_EQ(log, (std::vector<QString>{"load about", "unload about"}));
    EXPECT_FALSE(IsFormLoaded("about"));
    EXPECT_EQ(ends, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FormRegistry::instance().setProgramEnd({});
}

TEST(Forms, GeometryIsInTwips) {
    std::vector<QString> log;
    TestForm form("sys", log);
    form.Move(1500, 3000, 13485, 9015);
    EXPECT_EQ(form.geometry(), QRect(100, 200, 899, 601));
    EXPECT_EQ(form.Width(), 13485);
    EXPECT_EQ(form.Left(), 1500);
    form.ApplyStick("0");
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.ApplyStick("1");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(ImageControl, ClicksWithItsIndexAlsoWithoutAPicture) {
    QWidget window;
    window.resize(200, 200);
    auto* image = new ImageControl(&window);
    image->setGeometry(10, 10, 50, 30);
    image->setIndex(3);
    std::vector<int> clicks;
    int downs = 0;
    QObject::connect(image, &ImageControl::Click, [&](int index) { clicks.push_back(index); });
    QObject::connect(image, &ImageControl::MouseDown, [&](int, Qt::MouseButton) { ++downs; });
    window.show();
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, std::vector<int>{3});
    EXPECT_EQ(downs, 2);

    QTemporaryDir dir;
    QFile empty(dir.filePath("empty.png"));
    empty.open(QIODevice::WriteOnly);
    empty.close();
    image->setPicture(LoadPicture("card"));
    image->LoadFile(dir.filePath("empty.png"));
    EXPECT_TRUE(image->picture().isNull());
    image->LoadFile(dir.filePath("missing.png"));
    EXPECT_TRUE(image->picture().isNull());
}

TEST(ControlArray, ElementsStartHiddenInTheTemplatesContainer) {
    QWidget window;
    auto* page = new QWidget(&window);
    auto* caption = new QLabel("模板", page);
    caption->setGeometry(0, 43, 78, 20);
    caption->setAlignment(Qt::AlignCenter);
    std::vector<int> configured;
    ControlArray<QLabel> labels(caption, [&](QLabel*, int index) { configured.push_back(index); });
    EXPECT_FALSE(caption->isVisible());

    QLabel* first = labels.Load(1);
    QLabel* second = labels.Load(2);
    EXPECT_EQ(first->parentWidget(), page);
    EXPECT_FALSE(first->isVisibleTo(page));
    EXPECT_EQ(first->geometry(), caption->geometry());
    EXPECT_EQ(first->text(), "模板");
    EXPECT_EQ(first->alignment(), Qt::AlignCenter);
    EXPECT_EQ(second->property("index").toInt(), 2);
    EXPECT_THROW(labels.Load(1), std::logic_error);
    EXPECT_EQ(labels.UBound(), 2);
    labels.Unload(1);
    EXPECT_EQ(labels(1), nullptr);
    EXPECT_EQ(labels.indexes(), std::vector<int>{2});
    EXPECT_THROW(labels.Unload(0), std::logic_error);
    EXPECT_EQ(configured, (std::vector<int>{1, 2}));

    auto* icon = new ImageControl(page);
    ControlArray<ImageControl> icons(icon);
    EXPECT_EQ(icons.Load(4)->index(), 4);
}

} // namespace
} // namespace kivo::chrome
