#pragma once

#include "chrome/ashadow.h"
#include "chrome/form.h"

#include <QCheckBox>
#include <QRadioButton>

#include <array>
#include <memory>

namespace kivo::settings {

/// The settings window: start with the session, stay on top, what closing the main window
/// does, and how updates are taken. Every change is stored at once; there is no OK button.
class sys : public chrome::Form {
    Q_OBJECT
public:
    /// Shows the one settings window, loading it first when it is not loaded; `owner` (the main
    /// window) keeps it in front of itself.
    static sys* Show(QWidget* owner = nullptr);
    static sys* Existing();

    /// The visible page (0 to 2; page 3 has no label to reach it).
    int page() const { return page_; }
    void SelectPage(int index);

protected:
    sys();
    void onLoad() override;
    void onUnload() override;
    void onCloseRequested() override { Close(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showStoredValues();
    void Close();
    void Check1_Click(bool ticked);

    std::unique_ptr<chrome::aShadow> shadow_;
    int page_ = 0;
    QWidget* Shape1 = nullptr;
    std::array<QWidget*, 4> Frame2{};
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    std::array<QRadioButton*, 2> update{};
    std::array<QWidget*, 4> pageLabels_{}; // the page list, for the keyboard
};

} // namespace kivo::settings
