#pragma once

#include "platform/web/browser.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>

namespace kivo::chrome {

/// The words a user is told for a failed load.
QString FailureReason(const platform::LoadOutcome& outcome);

/// In place of a page that could not be loaded: what failed, where, and a "重试" button. While it
/// shows it also retries by itself, 30 s after the failure and then at growing intervals (never
/// more often), and at once when the system says the network is back.
class FailurePanel : public QWidget {
    Q_OBJECT

public:
    explicit FailurePanel(QWidget* parent);

    /// Called for a retry, by the button or by the panel itself, with the address that failed.
    void setRetry(std::function<void(const QString& url)> retry) { retry_ = std::move(retry); }
    /// Shows the failure; consecutive failures lengthen the wait before the next retry.
    void ShowFailure(const platform::LoadOutcome& outcome);
    /// Hides the panel and forgets the failures (a page loaded, or the user went elsewhere).
    void Clear();

    QString address() const { return outcome_.url; }
    std::chrono::seconds nextRetry() const { return interval_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void retryNow();
    void layoutContent();

    QImage picture_;
    QLabel* title_;
    QLabel* reason_;
    QLabel* where_;
    QPushButton* button_;
    QLabel* hint_;
    QTimer* autoRetry_;
    platform::LoadOutcome outcome_;
    std::chrono::seconds interval_{0};
    std::function<void(const QString&)> retry_;
};

} // namespace kivo::chrome
