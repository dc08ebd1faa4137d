#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text, not as bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kivo::test {

/// A window's control by its name; a failure (and null) when there is none.
template <typename T = QWidget> T* find(const QObject* window, const QString& name) {
    T* control = window->findChild<T*>(name);
    if (control == nullptr) {
        ADD_FAILURE() << "no control " << name.toStdString();
    }
    return control;
}

} // namespace kivo::test
