#include "chrome/pagedialogs.h"

#include "chrome/fonts.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

Q_LOGGING_CATEGORY(lcPageDialogs, "kivo.chrome.pagedialogs")

namespace kivo::chrome {

using Kind = platform::PageDialogRequest::Kind;

PageDialogs::PageDialogs(QWidget* owner, std::function<qint64()> clock)
    : owner_(owner), clock_(clock ? std::move(clock) : [] { return QDateTime::currentMSecsSinceEpoch(); }) {}

platform::PageDialogAnswer PageDialogs::ask(const platform::PageDialogRequest& request) {
    if (!silencedPage_.isEmpty() && request.url == silencedPage_) {
        return {request.kind == Kind::Leave, {}}; // a silenced page may still be left
    }
    silencedPage_.clear();
    const qint64 now = clock_();
    while (!recent_.empty() && now - recent_.front() > kLoopWindowMs) {
        recent_.pop_front();
    }
    recent_.push_back(now);
    const bool looping = static_cast<int>(recent_.size()) >= kLoopCount;

    QDialog dialog(owner_ ? owner_->window() : nullptr);
    dialog.setObjectName("pageDialog");
    dialog.setWindowTitle(kTitle);
    dialog.setAccessibleName(kTitle);
    dialog.setFont(WindowFont(kYaHei, 10.5));
    dialog.setStyleSheet(QStringLiteral("QDialog { background: white; }"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);
    // The page's words, never its markup.
    const QString text = request.kind == Kind::Leave ? QStringLiteral("确定要离开此页面吗？您所做的更改可能不会保存。")
                                                      : request.text;
    auto* label = new QLabel(&dialog);
    label->setObjectName("pageDialogText");
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    label->setMaximumWidth(560);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    dialog.setAccessibleDescription(text);
    QLineEdit* input = nullptr;
    if (request.kind == Kind::Prompt) {
        input = new QLineEdit(request.value, &dialog);
        input->setObjectName("pageDialogInput");
        input->setAccessibleName(text);
        layout->addWidget(input);
    }
    QCheckBox* silence = nullptr;
    if (looping) {
        silence = new QCheckBox(QStringLiteral("禁止此页面再显示对话框"), &dialog);
        silence->setObjectName("pageDialogSilence");
        layout->addWidget(silence);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("pageDialogOk");
    ok->setDefault(true);
    if (request.kind != Kind::Alert) {
        buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName("pageDialogCancel");
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (input != nullptr) {
        input->setFocus();
        input->selectAll();
    } else {
        ok->setFocus();
    }

    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (silence != nullptr && silence->isChecked()) {
        qCInfo(lcPageDialogs) << "a page's dialogs are silenced until another page asks";
        silencedPage_ = request.url;
        recent_.clear();
    }
    return {accepted, accepted && input != nullptr ? input->text() : QString()};
}

void InstallPageDialogs(platform::Browser& browser) {
    auto dialogs = std::make_shared<PageDialogs>(browser.widget());
    browser.setPageDialogs([dialogs](const platform::PageDialogRequest& request) { return dialogs->ask(request); });
}

} // namespace kivo::chrome
