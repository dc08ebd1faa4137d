#include "settings/version.h"

#include "chrome/fonts.h"
#include "chrome/imagecontrol.h"
#include "chrome/keyboardaccess.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/twips.h"
#include "startup/runoptions.h"
#include "startup/runparameters.h"

#include <QLabel>
#include <QPointer>

namespace kivo::settings {

using chrome::WindowFont;
using platform::MoveTwips;
using platform::TwipsToPixels;

namespace {

using chrome::kYaHei;

QPointer<version>& aboutWindow() {
    static QPointer<version> window;
    return window;
}

// A label at its design place, widened when this desktop's font needs more room than the
// design's did, so that no text is cut.
QLabel* text(QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h, double points,
             const char* style, bool bold = false) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    MoveTwips(label, l, t, w, h);
    label->setFont(WindowFont(kYaHei, points, bold));
    label->setStyleSheet(style);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    return label;
}

} // namespace

version* version::Show(QWidget* owner) {
    return chrome::ShowSingle(aboutWindow(), owner, [] { return new version; });
}

version* version::Existing() {
    return aboutWindow();
}

version::version() : Form("version") {
    setWindowTitle("关于 VelmoraKivo");
    Move(0, 0, 6675, 4800);
    build();
}

void version::build() {
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));

    auto* Image1 = new chrome::ImageControl(this);
    Image1->setObjectName("Image1");
    MoveTwips(Image1, 0, 0, 6675, 2175);
    Image1->setCursor(Qt::ArrowCursor);
    connect(Image1, &chrome::ImageControl::MouseDown, this, [this] { StartDrag(); });

    const char* onBanner = "color: white; background: transparent;";
    const char* body = "color: #333333; background: transparent;";
    text(Image1, "Label1", "VelmoraKivo", 3360, 600, 1260, 405, 15, onBanner, true);
    text(Image1, "title", "当前已经是最新版本", 3360, 1080, 2820, 405, 10.5, onBanner);
    QLabel* Label2 = text(this, "Label2", "您当前使用的VelmoraKivo版本为 V", 240, 2400, 3375, 315, 10.5, body);
    // The version follows the sentence directly, wherever the sentence ends.
    QLabel* Label4 = text(this, "Label4", QString::fromStdString(startup::RunOptions::Version()), 3720, 2400, 330, 315,
                          10.5, body);
    Label4->adjustSize(); // a longer version than the design's "1.0" stays whole
    Label4->move(Label2->x() + Label2->sizeHint().width(), Label4->y());
    QLabel* Label3 = text(this, "Label3", "已是最新版本！", 240, 2880, 6000, 915, 10.5, "color: #1B9BEA;");
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true); // a long version number takes a second line

    auto* Shape1 = new QWidget(this);
    Shape1->setObjectName("Shape1");
    MoveTwips(Shape1, 0, 4065, 6675, 735);
    Shape1->setAutoFillBackground(true);
    Shape1->setPalette(QPalette(QColor(0xF8, 0xF8, 0xF8)));
    auto* Image2 = new chrome::ImageControl(this);
    Image2->setObjectName("Image2");
    MoveTwips(Image2, 5040, 4200, 1365, 465);
    connect(Image2, &chrome::ImageControl::Click, this, &version::Close);
    chrome::MakeActionable(Image2, "确定");
    chrome::Describe(Image1, "VelmoraKivo", QAccessible::Graphic);
    chrome::CloseOnEscape(this, [this] { Close(); });
}

void version::onLoad() {
    ApplyStick(startup::State().stick);
    shadow_ = chrome::aShadow::ForWindow(this);
    findChild<chrome::ImageControl*>("Image2")->setPicture(chrome::LoadResourceImage(112));
    findChild<chrome::ImageControl*>("Image1")->setPicture(chrome::LoadResourceImage(115));
    // Says only what the package manager says, once it has answered; the window does not wait.
    ShowUpdateTexts(UpdateTexts::Asking());
    platform::PackageVersions::Ask(this, [this](const platform::PackageVersions& versions) {
        ShowUpdateTexts(UpdateTexts::For(versions, startup::State().updateStatus));
    });
}

void version::ShowUpdateTexts(const UpdateTexts& texts) {
    findChild<QLabel*>("title")->setText(texts.title);
    findChild<QLabel*>("Label3")->setText(texts.line);
}

void version::Close() {
    shadow_.reset(); // the strips go first
    Unload();
}

void version::onUnload() {
    shadow_.reset();
}

} // namespace kivo::settings
