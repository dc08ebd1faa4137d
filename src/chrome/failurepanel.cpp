#include "chrome/failurepanel.h"

#include "chrome/failureaddress.h"
#include "chrome/windowhelpers.h"

#include <QNetworkInformation>
#include <QPainter>
#include <QUrl>

namespace kivo::chrome {

namespace {

constexpr std::chrono::seconds kFirstRetry{30};
constexpr std::chrono::seconds kLongestWait{300};

QLabel* line(QWidget* parent, const QString& name, int pixels, const char* colour, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour));
    return label;
}

} // namespace

QString FailureReason(const platform::LoadOutcome& outcome) {
    using Kind = platform::LoadOutcome::Kind;
    switch (outcome.kind) {
    case Kind::NoConnection:
        return "无法连接到服务器";
    case Kind::NameNotResolved:
        return "找不到服务器";
    case Kind::TimedOut:
        return "连接超时";
    case Kind::HttpError:
        return QStringLiteral("服务器返回错误 %1").arg(outcome.httpStatus);
    case Kind::Certificate:
        return "证书无法验证";
    case Kind::Proxy:
        return QStringLiteral("无法连接代理服务器 %1").arg(outcome.proxy).trimmed();
    case Kind::RendererEnded:
        return "页面意外停止运行";
    case Kind::Loaded:
    case Kind::Restarted:
    case Kind::Other:
        break;
    }
    return "网络错误";
}

FailurePanel::FailurePanel(QWidget* parent)
    : QWidget(parent), picture_(LoadPicture("page_failed")), title_(line(this, "failureTitle", 18, "#333333", true)),
      reason_(line(this, "failureReason", 14, "#666666")), where_(line(this, "failureAddress", 12, "#999999")),
      button_(new QPushButton("重试", this)), hint_(line(this, "failureHint", 12, "#999999")),
      autoRetry_(new QTimer(this)) {
    setObjectName("failurePanel");
    title_->setText("页面加载失败");
    hint_->setText("网络恢复后将自动重试");
    button_->setObjectName("retry");
    button_->setCursor(Qt::PointingHandCursor);
    button_->setStyleSheet("QPushButton { color: white; background: #1B9BEA; border: none; border-radius: 4px;"
                           " font-size: 14px; padding: 6px 28px; }"
                           "QPushButton:hover { background: #1588D0; } QPushButton:pressed { background: #127FC2; }");
    connect(button_, &QPushButton::clicked, this, &FailurePanel::retryNow);
    autoRetry_->setObjectName("autoRetry");
    autoRetry_->setSingleShot(true);
    connect(autoRetry_, &QTimer::timeout, this, &FailurePanel::retryNow);
    // Where the system can say so, a network that comes back is tried at once.
    if (QNetworkInformation::loadDefaultBackend() && QNetworkInformation::instance() != nullptr) {
        connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
                [this](QNetworkInformation::Reachability reachability) {
                    if (reachability == QNetworkInformation::Reachability::Online && isVisible()) {
                        retryNow();
                    }
                });
    }
    hide();
}

void FailurePanel::ShowFailure(const platform::LoadOutcome& outcome) {
    outcome_ = outcome;
    reason_->setText(FailureReason(outcome));
    where_->setText(ShownAddress(outcome.url));
    interval_ = interval_.count() == 0 ? kFirstRetry : std::min(interval_ * 2, kLongestWait);
    autoRetry_->start(interval_);
    layoutContent();
    show();
    raise();
}

void FailurePanel::Clear() {
    autoRetry_->stop();
    interval_ = std::chrono::seconds(0);
    hide();
}

void FailurePanel::retryNow() {
    autoRetry_->stop();
    hide(); // the loading animation takes its place; a new failure shows the panel again
    if (retry_) {
        retry_(outcome_.url);
    }
}

void FailurePanel::layoutContent() {
    const QSize pictureSize = picture_.deviceIndependentSize().toSize();
    const int top = std::max(0, (height() - (pictureSize.height() + 170)) / 2);
    const int w = width();
    title_->setGeometry(0, top + pictureSize.height() + 18, w, 26);
    reason_->setGeometry(0, top + pictureSize.height() + 50, w, 22);
    where_->setGeometry(0, top + pictureSize.height() + 74, w, 18);
    button_->adjustSize();
    button_->move((w - button_->width()) / 2, top + pictureSize.height() + 104);
    hint_->setGeometry(0, button_->geometry().bottom() + 10, w, 18);
}

void FailurePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xF5, 0xF7, 0xFA));
    const QSize pictureSize = picture_.deviceIndependentSize().toSize();
    const int top = std::max(0, (height() - (pictureSize.height() + 170)) / 2);
    painter.drawImage(QRect(QPoint((width() - pictureSize.width()) / 2, top), pictureSize), picture_);
}

void FailurePanel::resizeEvent(QResizeEvent*) {
    layoutContent();
}

} // namespace kivo::chrome
