#pragma once

#include "platform/web/browser.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kivo::mainwin {

/// The thin strip at the bottom of the main window that saves the files a page sends into the
/// download folder and shows the newest: its name and progress with a cancel button, then
/// "下载完成" with "打开" and "打开文件夹". A file is saved under a partial name and takes its
/// own only when whole; a failed or cancelled one, or one still running when the window goes,
/// leaves nothing behind.
class DownloadStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 36;

    explicit DownloadStrip(QWidget* parent);
    ~DownloadStrip() override;

    /// Saves `download`; called while the browser hands it over.
    void start(const std::shared_ptr<platform::Download>& download);
    /// How a finished download is announced besides the strip (a balloon over the notification
    /// icon); false when it could not be.
    void setAnnounce(std::function<bool(const QString& title, const QString& text)> announce) {
        announce_ = std::move(announce);
    }

signals:
    /// Shown or hidden: the window lays the browser out again.
    void shownChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class State { Running, Complete, Failed };
    struct Entry {
        std::shared_ptr<platform::Download> download;
        QString name; // safe, as saved
        QString path; // where it is saved when whole
        qint64 received = 0;
        qint64 total = -1;
        State state = State::Running;
        QString error;
    };

    void finished(const std::shared_ptr<Entry>& entry, bool complete, const QString& error);
    void showEntry();
    QStringList savingPaths() const;
    void setShown(bool shown);

    std::vector<std::shared_ptr<Entry>> entries_; // running, and the one shown
    std::shared_ptr<Entry> shown_;
    std::function<bool(const QString&, const QString&)> announce_;
    QLabel* name_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* open_;
    QPushButton* openFolder_;
    QPushButton* close_;
};

} // namespace kivo::mainwin
