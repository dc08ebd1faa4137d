#include "settings/sys.h"

#include "chrome/clicklabel.h"
#include "chrome/fonts.h"
#include "chrome/imagecontrol.h"
#include "chrome/keyboardaccess.h"
#include "chrome/picturebox.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/autostart.h"
#include "platform/desktop/twips.h"
#include "settings/storedchoice.h"
#include "startup/runparameters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

Q_LOGGING_CATEGORY(lcSys, "kivo.settings.sys")

namespace kivo::settings {

using chrome::WindowFont;
using platform::MoveTwips;

namespace {

using chrome::kYaHei;
constexpr int kMarkerHeight = 615;

// The pages: the navigation label, and the heading of the panel with its control name.
struct PageText {
    const char* label;
    const char* heading;
};
constexpr std::array<PageText, 4> kPages{
    {{"常规设置", "Label3"}, {"主面板", "Label4"}, {"软件更新", "Label7"}, {"文件管理", "Label12"}}};
constexpr std::array<int, 4> kLabelTops{165, 780, 1395, 2000};

QPointer<sys>& instance() {
    static QPointer<sys> window;
    return window;
}

// The value in memory and in the run-parameter file, at once.
void store(std::string& field, const char* key, int value) {
    field = std::to_string(value);
    startup::WriteIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key, field);
}

template <typename T> T* place(T* control, const QString& name, int l, int t, int w, int h) {
    control->setObjectName(name);
    MoveTwips(control, l, t, w, h);
    return control;
}

QLabel* text(QWidget* parent, const QString& name, const QString& caption, int l, int t, int w, int h, double points,
             const char* colour = "#333333") {
    auto* label = place(new QLabel(caption, parent), name, l, t, w, h);
    label->setFont(WindowFont(kYaHei, points));
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour));
    return label;
}

template <typename T> T* choice(QWidget* parent, const QString& name, const QString& caption, int l, int t, int w) {
    auto* control = place(new T(caption, parent), name, l, t, w, 400);
    control->setFont(WindowFont(kYaHei, 10.5));
    control->setStyleSheet("color: #333333;");
    control->setCursor(Qt::PointingHandCursor);
    return control;
}

} // namespace

sys* sys::Show(QWidget* owner) {
    return chrome::ShowSingle(instance(), owner, [] { return new sys; });
}

sys* sys::Existing() {
    return instance();
}

sys::sys() : Form("sys") {
    setWindowTitle("选项设置");
    Move(0, 0, 9450, 7500);
    build();
}

void sys::build() {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));

    auto* Picture1 = place(new chrome::PictureBox(this), "Picture1", 0, 0, 9450, 660);
    Picture1->setBackColor(QColor(12, 150, 235));
    auto* Label1 = place(new chrome::ClickLabel("选项设置", Picture1), "Label1", 300, 0, 3000, 660);
    Label1->setFont(WindowFont(kYaHei, 11));
    Label1->setStyleSheet("color: white; background: transparent;");
    auto* close = place(new chrome::ImageControl(Picture1), "close", 9450 - 420, 240, 180, 180);
    close->setPicture(chrome::LoadPicture("close_white"));
    connect(Picture1, &chrome::PictureBox::MouseDown, this, [this] { StartDrag(); });
    connect(Label1, &chrome::ClickLabel::MouseDown, this, [this] { StartDrag(); });
    connect(close, &chrome::ImageControl::Click, this, &sys::Close);
    chrome::MakeActionable(close, "关闭");
    chrome::CloseOnEscape(this, [this] { Close(); });

    auto* Frame1 = place(new chrome::PictureBox(this), "Frame1", 0, 660, 2300, 6840);
    Frame1->setBackColor(QColor(0xF7, 0xF7, 0xF7));
    Shape1 = place(new QWidget(Frame1), "Shape1", 0, 0, 2320, kMarkerHeight);
    Shape1->setAutoFillBackground(true);
    Shape1->setPalette(QPalette(Qt::white));
    for (int i = 0; i < 4; ++i) {
        auto* label = place(new chrome::ClickLabel(kPages[i].label, Frame1), QStringLiteral("Label2(%1)").arg(i), 0,
                            kLabelTops[i], 2295, 300);
        label->setFont(WindowFont(kYaHei, 10.5));
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet("color: #333333; background: transparent;");
        label->setCursor(Qt::PointingHandCursor);
        label->setVisible(i != 3); // the file page has no way in
        connect(label, &chrome::ClickLabel::Click, this, [this, i] { SelectPage(i); });
        chrome::MakeActionable(label, kPages[i].label, QAccessible::PageTab);
        label->installEventFilter(this);
        pageLabels_[i] = label;

        Frame2[i] = place(new QWidget(this), QStringLiteral("Frame2(%1)").arg(i), 2300, 660, 7100, 5895);
        Frame2[i]->setVisible(i == 0);
        text(Frame2[i], kPages[i].heading, kPages[i].label, 600, 450, 4000, 420, 12, "#127FC2");
    }

    Check1 = choice<QCheckBox>(Frame2[0], "Check1", "开机时自动启动VelmoraKivo", 600, 1200, 6200);

    Check2 = choice<QCheckBox>(Frame2[1], "Check2", "始终保持在其它窗口前端", 600, 1200, 6200);
    text(Frame2[1], "Label5", "关闭主面板时", 600, 1860, 4000, 360, 10.5);
    Option1[0] = choice<QRadioButton>(Frame2[1], "Option1(0)", "隐藏到任务栏通知区域，不退出程序", 900, 2340, 5900);
    Option1[1] = choice<QRadioButton>(Frame2[1], "Option1(1)", "退出程序", 900, 2820, 5900);

    text(Frame2[2], "Label6", "你可以选择本台计算机上VelmoraKivo的更新方式", 600, 1200, 6300, 360, 10.5);
    update[0] = choice<QRadioButton>(Frame2[2], "update(0)", "有更新时自动为我安装（推荐）", 600, 1800, 6300);
    auto* Label8 = text(Frame2[2], "Label8", "当VelmoraKivo有更新时，智能选择最佳的更新方案，自动完成更新的下载与安装",
                        960, 2220, 5800, 640, 9, "#888888");
    Label8->setWordWrap(true);
    update[1] = choice<QRadioButton>(Frame2[2], "update(1)", "有更新时不要安装，但提醒我", 600, 3060, 6300);
    text(Frame2[2], "Label9", "此方式不影响安全补丁等重要更新的自动安装", 960, 3480, 5800, 360, 9, "#888888");

    text(Frame2[3], "Label13", "默认把云盘下载的文件保存到此文件夹下：", 600, 1200, 6300, 360, 10.5);
    auto* Text1 = place(new QLineEdit(Frame2[3]), "Text1", 600, 1680, 3600, 420);
    Text1->setFont(WindowFont(kYaHei, 10.5));
    place(new QPushButton("更改目录", Frame2[3]), "Command1", 4320, 1680, 1200, 420)->setFont(WindowFont(kYaHei, 9));
    place(new QPushButton("打开文件夹", Frame2[3]), "Command2", 5640, 1680, 1200, 420)->setFont(WindowFont(kYaHei, 9));

    // The design's state, before the stored values are shown.
    Option1[0]->setChecked(true);
    update[1]->setChecked(true);

    connect(Check1, &QCheckBox::toggled, this, &sys::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this,
            [](bool ticked) { store(startup::State().stick, "stick", ticked ? 1 : 0); });
    for (int i = 0; i < 2; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [i](bool chosen) {
            if (chosen) {
                store(startup::State().endStatus, "endStatus", i);
            }
        });
        connect(update[i], &QRadioButton::toggled, this, [i](bool chosen) {
            if (chosen) {
                store(startup::State().updateStatus, "updateStatus", i);
            }
        });
    }
}

void sys::onLoad() {
    ApplyStick(startup::State().stick);
    shadow_ = chrome::aShadow::ForWindow(this);
    SelectPage(0);
    showStoredValues();
}

// A control set here runs its handler when its state changes, as a click would. A stored value
// that is none of the choices shows the default choice and is left as it is in the file.
void sys::showStoredValues() {
    const startup::ProcessState& state = startup::State();
    Check1->setChecked(StoredChoice(state.Powerboot) == 1);
    Check2->setChecked(StoredChoice(state.stick) == 1);
    Option1[StoredChoice(state.endStatus) == 1 ? 1 : 0]->setChecked(true);
    const auto updateChoice = StoredChoice(state.updateStatus);
    if (updateChoice) {
        update[*updateChoice]->setChecked(true);
    } else {
        const QSignalBlocker quiet0(update[0]);
        const QSignalBlocker quiet1(update[1]);
        update[0]->setChecked(true);
    }
}

bool sys::eventFilter(QObject* watched, QEvent* event) {
    // Up and Down go through the page list, choosing as they go, as in a list of tabs.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
        const auto at = std::find(std::begin(pageLabels_), std::end(pageLabels_), watched);
        if (step != 0 && at != std::end(pageLabels_)) {
            const int next = (static_cast<int>(at - std::begin(pageLabels_)) + step + 3) % 3; // the visible three
            SelectPage(next);
            chrome::FocusByKeyboard(pageLabels_[next]);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void sys::SelectPage(int index) {
    for (int i = 0; i < 4; ++i) {
        chrome::SetSelected(pageLabels_[i], i == index);
    }
    Shape1->move(0, platform::TwipsToPixels(index * kMarkerHeight));
    Frame2[page_]->hide();
    Frame2[index]->show();
    page_ = index;
}

void sys::Check1_Click(bool ticked) {
    platform::Autostart* autostart = platform::Autostarts().get();
    std::string error;
    if (ticked) {
        if (autostart == nullptr || !autostart->enable(error)) {
            qCWarning(lcSys) << "cannot register the program to start with the session:" << error.c_str();
            Check1->setChecked(false); // runs this handler for the clear box, which stores "0"
            return;
        }
    } else if (autostart != nullptr && !autostart->disable(error)) {
        qCWarning(lcSys) << "cannot remove the program from the session's start:" << error.c_str();
    }
    store(startup::State().Powerboot, "Powerboot", ticked ? 1 : 0);
}

void sys::Close() {
    shadow_.reset(); // the strips go first
    Unload();
}

void sys::onUnload() {
    shadow_.reset();
}

} // namespace kivo::settings
