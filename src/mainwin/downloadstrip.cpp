#include "mainwin/downloadstrip.h"

#include "chrome/fonts.h"
#include "mainwin/downloadfiles.h"
#include "platform/desktop/urlopener.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

Q_LOGGING_CATEGORY(lcDownload, "kivo.mainwin.download")

namespace kivo::mainwin {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setFlat(true);
    b->setStyleSheet("QPushButton { color: #1B9BEA; background: transparent; border: none; padding: 2px 8px; }"
                     "QPushButton:hover { color: #127FC2; background: #E6F4FD; border-radius: 3px; }");
    return b;
}

QString sizeText(qint64 bytes) {
    static const char* units[] = {"B", "KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    return unit == 0 ? QString("%1 B").arg(bytes) : QString("%1 %2").arg(value, 0, 'f', 1).arg(units[unit]);
}

} // namespace

DownloadStrip::DownloadStrip(QWidget* parent)
    : QWidget(parent), name_(new QLabel(this)), status_(new QLabel(this)), progress_(new QProgressBar(this)),
      cancel_(button(this, "downloadCancel", "取消")), open_(button(this, "downloadOpen", "打开")),
      openFolder_(button(this, "downloadOpenFolder", "打开文件夹")), close_(button(this, "downloadClose", "×")) {
    setObjectName("downloadStrip");
    setFixedHeight(kHeight);
    name_->setObjectName("downloadName");
    status_->setObjectName("downloadStatus");
    progress_->setObjectName("downloadProgress");
    name_->setFont(chrome::WindowFont(chrome::kYaHei, 9));
    status_->setFont(chrome::WindowFont(chrome::kYaHei, 9));
    name_->setStyleSheet("color: #333333;");
    status_->setStyleSheet("color: #888888;");
    progress_->setTextVisible(false);
    progress_->setFixedSize(160, 4);
    progress_->setStyleSheet("QProgressBar { background: #E6EBF0; border: none; border-radius: 2px; }"
                             "QProgressBar::chunk { background: #1B9BEA; border-radius: 2px; }");
    close_->setToolTip("关闭");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 8, 0);
    row->setSpacing(10);
    row->addWidget(name_, 1);
    row->addWidget(progress_);
    row->addWidget(status_);
    row->addWidget(cancel_);
    row->addWidget(open_);
    row->addWidget(openFolder_);
    row->addWidget(close_);

    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (shown_ && shown_->state == State::Running) {
            shown_->download->cancel();
        }
    });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (shown_) {
            platform::UrlOpener::open(QUrl::fromLocalFile(shown_->path).toString());
        }
    });
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        if (shown_) {
            platform::UrlOpener::open(QUrl::fromLocalFile(QFileInfo(shown_->path).absolutePath()).toString());
        }
    });
    connect(close_, &QPushButton::clicked, this, [this] { setShown(false); });
    QWidget::hide();
}

DownloadStrip::~DownloadStrip() {
    // A file still arriving when the window goes is not kept half-saved.
    for (const auto& entry : entries_) {
        if (entry->state == State::Running) {
            entry->state = State::Failed;
            entry->download->cancel();
            QFile::remove(PartialDownloadPath(entry->path));
        }
    }
}

void DownloadStrip::start(const std::shared_ptr<platform::Download>& download) {
    auto entry = std::make_shared<Entry>();
    entry->download = download;
    entry->name = SafeDownloadName(download->suggestedName());
    entry->path = FreeDownloadPath(DownloadFolder()(), entry->name, savingPaths());
    entry->name = QFileInfo(entry->path).fileName();
    entries_.push_back(entry);
    shown_ = entry;
    qCInfo(lcDownload).noquote() << "saving" << entry->path;
    std::weak_ptr<Entry> weak = entry;
    download->save(
        PartialDownloadPath(entry->path),
        [this, weak](qint64 received, qint64 total) {
            if (auto e = weak.lock()) {
                e->received = received;
                e->total = total;
                if (e == shown_) {
                    showEntry();
                }
            }
        },
        [this, weak](bool complete, const QString& error) {
            if (auto e = weak.lock()) {
                finished(e, complete, error);
            }
        });
    showEntry();
    setShown(true);
}

void DownloadStrip::finished(const std::shared_ptr<Entry>& entry, bool complete, const QString& error) {
    if (entry->state != State::Running) {
        return;
    }
    const QString partial = PartialDownloadPath(entry->path);
    if (complete) {
        // Someone may have put a file of that name there meanwhile: it is never replaced.
        if (QFileInfo::exists(entry->path)) {
            entry->path = FreeDownloadPath(QFileInfo(entry->path).absolutePath(), entry->name, savingPaths());
        }
        complete = QFile::rename(partial, entry->path);
        entry->name = QFileInfo(entry->path).fileName();
    }
    entry->state = complete ? State::Complete : State::Failed;
    entry->error = complete ? QString() : error.isEmpty() ? QString("无法保存文件") : error;
    if (!complete) {
        QFile::remove(partial);
        qCWarning(lcDownload).noquote() << "download of" << entry->name << "ended:" << entry->error;
    } else {
        qCInfo(lcDownload).noquote() << "saved" << entry->path;
        if (announce_) {
            announce_("下载完成", entry->name);
        }
    }
    std::erase_if(entries_, [this](const auto& e) { return e->state != State::Running && e != shown_; });
    if (entry == shown_) {
        showEntry();
    }
}

QStringList DownloadStrip::savingPaths() const {
    QStringList paths;
    for (const auto& e : entries_) {
        if (e->state == State::Running) {
            paths << e->path;
        }
    }
    return paths;
}

void DownloadStrip::showEntry() {
    if (!shown_) {
        return;
    }
    const Entry& e = *shown_;
    name_->setText(fontMetrics().elidedText(e.name, Qt::ElideMiddle, std::max(80, name_->width())));
    name_->setToolTip(e.path);
    const bool running = e.state == State::Running;
    progress_->setVisible(running);
    cancel_->setVisible(running);
    open_->setVisible(e.state == State::Complete);
    openFolder_->setVisible(e.state == State::Complete);
    close_->setVisible(!running);
    if (running) {
        progress_->setRange(0, e.total > 0 ? 1000 : 0); // busy bar while the size is unknown
        progress_->setValue(e.total > 0 ? static_cast<int>(e.received * 1000 / e.total) : 0);
        status_->setText(e.total > 0 ? sizeText(e.received) + " / " + sizeText(e.total) : sizeText(e.received));
        status_->setStyleSheet("color: #888888;");
    } else if (e.state == State::Complete) {
        status_->setText("下载完成");
        status_->setStyleSheet("color: #2E9E5B;");
    } else {
        status_->setText(e.error == "cancelled" ? QString("已取消") : "下载失败");
        status_->setToolTip(e.error);
        status_->setStyleSheet("color: #D9534F;");
    }
}

void DownloadStrip::setShown(bool shown) {
    if (shown == isVisible()) {
        return;
    }
    setVisible(shown);
    if (shown) {
        raise();
    } else {
        std::erase_if(entries_, [](const auto& e) { return e->state != State::Running; });
    }
    emit shownChanged();
}

void DownloadStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xF7, 0xF9, 0xFB));
    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    painter.drawLine(0, 0, width(), 0);
}

} // namespace kivo::mainwin
