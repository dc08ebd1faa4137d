// The settings and about windows offscreen: the load sequence, every control's write, pages,
// the autostart failure path, and that no text is cut with this desktop's fonts.
#include "activewindow.h"
#include "chrome/formregistry.h"
#include "chrome/keyboardaccess.h"
#include "fakeautostart.h"
#include "keyboardwalk.h"
#include "platform/desktop/twips.h"
#include "settings/sys.h"
#include "settings/version.h"
#include "startup/runoptions.h"
#include "startup/runparameters.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace kivo::settings {
namespace {

class SettingsTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        saved_ = platform::Autostarts();
        platform::Autostarts() = autostart_;
        // The package manager says the version in use is the newest.
        platform::PackageVersions::Asking() = [](QObject*, auto answer) { answer({"0.1", "", false}); };
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::Autostarts() = saved_;
        platform::PackageVersions::Asking() = {};
    }

    void stored(const char* key, const char* value) {
        startup::WriteIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key, value);
    }
    // What the file holds, "-" for a key it lacks.
    std::string file(const char* key) const {
        if (!std::filesystem::exists(startup::RunParameterFile())) {
            return "-";
        }
        const std::string text = test::ReadFile(startup::RunParameterFile());
        return text.find(std::string(key) + "=") == std::string::npos
                   ? "-"
                   : startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key);
    }
    // The settings window after start-up has read the stored values.
    sys* open() {
        startup::ProcessState& s = startup::State();
        for (auto [key, field] : {std::pair{"Powerboot", &s.Powerboot},
                                  {"stick", &s.stick},
                                  {"endStatus", &s.endStatus},
                                  {"updateStatus", &s.updateStatus}}) {
            *field = startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key);
        }
        return sys::Show();
    }
    template <typename T = QWidget> T* control(QWidget* window, const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    template <typename T> bool checked(QWidget* window, const QString& name) {
        return control<T>(window, name)->isChecked();
    }

    std::shared_ptr<test::FakeAutostart> autostart_ = std::make_shared<test::FakeAutostart>();
    std::shared_ptr<platform::Autostart> saved_;
};

TEST_F(SettingsTest, WithNoFileOnlyTheUpdateChoiceIsWritten) {
    sys* w = open();
    EXPECT_EQ(w->size(), QSize(630, 500));
    EXPECT_EQ(w->page(), 0);
    EXPECT_FALSE(checked<QCheckBox>(w, "Check1"));
    EXPECT_TRUE(checked<QRadioButton>(w, "Option1(0)"));
    EXPECT_TRUE(checked<QRadioButton>(w, "update(0)")) << "replaces the design's choice";
    EXPECT_EQ(file("updateStatus"), "0");
    EXPECT_EQ(startup::State().updateStatus, "0");
    for (const char* key : {"Powerboot", "stick", "endStatus"}) {
        EXPECT_EQ(file(key), "-") << key;
    }
    EXPECT_EQ(autostart_->enables + autostart_->disables, 0);
}

TEST_F(SettingsTest, StoredValuesAreShownAndAutostartIsRegisteredAgain) {
    stored("Powerboot", "1");
    stored("stick", "1");
    stored("endStatus", "1");
    stored("updateStatus", "1");
    sys* w = open();
    EXPECT_TRUE(checked<QCheckBox>(w, "Check1"));
    EXPECT_TRUE(checked<QCheckBox>(w, "Check2"));
    EXPECT_TRUE(checked<QRadioButton>(w, "Option1(1)"));
    EXPECT_TRUE(checked<QRadioButton>(w, "update(1)"));
    EXPECT_EQ(autostart_->enables, 1) << "opening registers the program again";
    EXPECT_TRUE(autostart_->enabled);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(SettingsTest, ValuesOutsideTheChoicesShowTheDefaultAndStayAsTheyAre) {
    const std::vector<std::array<const char*, 4>> odd = {
        {"7", "2", "5", "-1"}, {"01", "&H1", "-1", "5"}, {"yes", "1.0", "01", "&H1"}};
    for (const auto& [powerboot, stick, endStatus, updateStatus] : odd) {
        stored("Powerboot", powerboot);
        stored("stick", stick);
        stored("endStatus", endStatus);
        stored("updateStatus", updateStatus);
        sys* w = open();
        EXPECT_FALSE(checked<QCheckBox>(w, "Check1")) << powerboot;
        EXPECT_FALSE(checked<QCheckBox>(w, "Check2")) << stick;
        EXPECT_TRUE(checked<QRadioButton>(w, "Option1(0)")) << endStatus;
        EXPECT_TRUE(checked<QRadioButton>(w, "update(0)")) << updateStatus;
        EXPECT_EQ(file("Powerboot"), powerboot);
        EXPECT_EQ(file("stick"), stick);
        EXPECT_EQ(file("endStatus"), endStatus);
        EXPECT_EQ(file("updateStatus"), updateStatus);
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(autostart_->enables, 0);
}

TEST_F(SettingsTest, EveryControlStoresItsValueAtOnce) {
    sys* w = open();
    control<QCheckBox>(w, "Check1")->click();
    EXPECT_EQ(file("Powerboot"), "1");
    EXPECT_TRUE(autostart_->enabled);
    control<QCheckBox>(w, "Check1")->click();
    EXPECT_EQ(file("Powerboot"), "0");
    EXPECT_FALSE(autostart_->enabled);
    control<QCheckBox>(w, "Check2")->click();
    EXPECT_EQ(file("stick"), "1");
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "only windows loaded later";
    control<QRadioButton>(w, "Option1(1)")->click();
    EXPECT_EQ(file("endStatus"), "1");
    EXPECT_EQ(startup::State().endStatus, "1") << "the main window's close button reads this";
    control<QRadioButton>(w, "Option1(0)")->click();
    EXPECT_EQ(file("endStatus"), "0");
    control<QRadioButton>(w, "update(1)")->click();
    EXPECT_EQ(file("updateStatus"), "1");
}

TEST_F(SettingsTest, ARefusedAutostartClearsTheBoxAndStoresZero) {
    autostart_->refuse = true;
    stored("Powerboot", "1");
    sys* w = open();
    EXPECT_FALSE(checked<QCheckBox>(w, "Check1"));
    EXPECT_EQ(file("Powerboot"), "0");
    EXPECT_EQ(autostart_->disables, 1) << "the entry is removed";
    control<QCheckBox>(w, "Check1")->click();
    EXPECT_FALSE(checked<QCheckBox>(w, "Check1"));
    EXPECT_EQ(file("Powerboot"), "0");
}

TEST_F(SettingsTest, PagesSwitchAndTheFilePageCannotBeReached) {
    sys* w = open();
    EXPECT_FALSE(control(w, "Label2(3)")->isVisible());
    QTest::mouseClick(control(w, "Label2(2)"), Qt::LeftButton);
    EXPECT_EQ(w->page(), 2);
    EXPECT_TRUE(control(w, "Frame2(2)")->isVisible());
    EXPECT_FALSE(control(w, "Frame2(0)")->isVisible());
    EXPECT_EQ(control(w, "Shape1")->y(), platform::TwipsToPixels(2 * 615));
    QTest::mouseClick(control(w, "Label2(2)"), Qt::LeftButton);
    EXPECT_TRUE(control(w, "Frame2(2)")->isVisible()) << "the page that is already visible stays";
    QTest::mouseClick(control(w, "Label2(1)"), Qt::LeftButton);
    EXPECT_FALSE(control(w, "Frame2(2)")->isVisible());
    EXPECT_EQ(control<QLabel>(w, "Label4")->text(), "主面板");
}

TEST_F(SettingsTest, OneWindowThatClosesItself) {
    sys* w = open();
    EXPECT_EQ(sys::Show(), w) << "a second request shows the same window";
    QTest::mouseClick(control(w, "close"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(chrome::IsFormLoaded("sys"));
}

// No text is cut: every caption fits its control with this desktop's fonts.
void expectTextsFit(QWidget* window) {
    for (auto* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && !label->wordWrap()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
    }
    for (auto* button : window->findChildren<QAbstractButton*>()) {
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    }
}

TEST_F(SettingsTest, TextsFitTheirPlaces) {
    expectTextsFit(open());
    expectTextsFit(version::Show());
}

TEST_F(SettingsTest, EveryControlThatTakesTheFocusHasAName) {
    EXPECT_EQ(test::namelessFocusable(open()), QStringList());
    EXPECT_EQ(test::namelessFocusable(version::Show()), QStringList());
}

TEST_F(SettingsTest, TheAboutWindowShowsItsTextsAndTheVersionInUse) {
    startup::State().stick = "1";
    version* w = version::Show();
    EXPECT_EQ(w->size(), QSize(445, 320));
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(control<QLabel>(w, "title")->text(), "当前已经是最新版本");
    EXPECT_EQ(control<QLabel>(w, "Label3")->text(), "已是最新版本！");
    EXPECT_EQ(control<QLabel>(w, "Label2")->text() + control<QLabel>(w, "Label4")->text(),
              QString::fromStdString("您当前使用的VelmoraKivo版本为 V" + startup::RunOptions::Version()));
    EXPECT_EQ(control(w, "Label4")->x(), control(w, "Label2")->x() + control(w, "Label2")->sizeHint().width());
    EXPECT_EQ(version::Show(), w);
    QTest::mouseClick(control(w, "Image2"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(chrome::IsFormLoaded("version"));
}

TEST_F(SettingsTest, TheKeyboardWalksTheSettingsAndEscapeCloses) {
    sys* w = open();
    // Tab: the page list, the shown page's controls, the close button; each named.
    EXPECT_EQ(test::tabWalk(w, "Label2(0)"), (QStringList{"Label2(0)", "Label2(1)", "Label2(2)", "Check1", "close"}));
    EXPECT_EQ(test::accessibleRole(control(w, "Label2(1)")), QAccessible::PageTab);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(control(w, "Label2(0)"))->state().selected);
    // Down and Up go through the pages; Space ticks a box.
    chrome::FocusByKeyboard(control(w, "Label2(0)"));
    test::pressOnFocus(Qt::Key_Down);
    EXPECT_TRUE(control(w, "Frame2(1)")->isVisible());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(control(w, "Label2(1)"))->state().selected);
    EXPECT_EQ(test::tabWalk(w, "Label2(0)"),
              (QStringList{"Label2(0)", "Label2(1)", "Label2(2)", "Check2", "Option1(0)", "close"}))
        << "a group of options is one stop; arrows choose within it";
    ASSERT_EQ(QApplication::focusWidget(), control(w, "Label2(0)")); // where the walk ended
    test::pressOnFocus(Qt::Key_Up);
    EXPECT_TRUE(control(w, "Frame2(2)")->isVisible()) << "round to the last page";
    test::pressOnFocus(Qt::Key_Down);
    EXPECT_TRUE(control(w, "Frame2(0)")->isVisible());
    chrome::FocusByKeyboard(control(w, "Check1"));
    test::pressOnFocus(Qt::Key_Space);
    EXPECT_EQ(file("Powerboot"), "1");
    test::pressOnFocus(Qt::Key_Escape);
    EXPECT_FALSE(chrome::IsFormLoaded("sys"));

    version* about = version::Show();
    EXPECT_EQ(test::tabWalk(about, "Image2"), QStringList{"Image2"});
    EXPECT_EQ(test::accessibleName(control(about, "Image2")), "确定");
    EXPECT_EQ(test::accessibleName(control(about, "Label3")), "已是最新版本！");
    test::pressOnFocus(Qt::Key_Escape);
    EXPECT_FALSE(chrome::IsFormLoaded("version"));
    // The closed window is gone before a user can open it again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    about = version::Show();
    test::activate(about);
    chrome::FocusByKeyboard(control(about, "Image2"));
    test::pressOnFocus(Qt::Key_Return);
    EXPECT_FALSE(chrome::IsFormLoaded("version"));
}

} // namespace
} // namespace kivo::settings
