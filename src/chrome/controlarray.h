#pragma once

#include "chrome/imagecontrol.h"
#include "chrome/picturebox.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

namespace kivo::chrome {

/// Copies what a new array element takes over from its template: geometry, font, colours,
/// style and the type's own content (a label's text and alignment, an image's picture).
template <typename T> void CopyFromTemplate(const T& from, T& to) {
    to.setGeometry(from.geometry());
    to.setFont(from.font());
    to.setPalette(from.palette());
    to.setAutoFillBackground(from.autoFillBackground());
    to.setStyleSheet(from.styleSheet());
    to.setCursor(from.cursor());
    if constexpr (std::is_base_of_v<QLabel, T>) {
        to.setText(from.text());
        to.setAlignment(from.alignment());
    }
    if constexpr (std::is_base_of_v<ImageControl, T>) {
        to.setPicture(from.picture());
        to.setFit(from.fit());
    }
    if constexpr (std::is_base_of_v<PictureBox, T>) {
        to.setBackColor(from.backColor());
        to.setPicture(from.picture());
    }
}

/// A control array: element 0 is the hidden design-time template; elements 1..n are created and
/// removed by index at run time, each starting hidden in the container of element 0 with the
/// template's geometry and looks. Element i is named after the array: "leftMenuBtn(3)".
template <typename T> class ControlArray {
public:
    /// `configure` runs once for every new element (to connect its events, say).
    explicit ControlArray(T* element0, std::function<void(T*, int)> configure = {}) : configure_(std::move(configure)) {
        element0->hide();
        name_ = element0->objectName();
        setIndex(element0, 0);
        elements_[0] = element0;
    }

    T* operator()(int index) const {
        const auto it = elements_.find(index);
        return it == elements_.end() ? nullptr : it->second.data();
    }

    /// Creates element `index`; throws when it exists already.
    T* Load(int index) {
        if ((*this)(index) != nullptr) {
            throw std::logic_error("Object already loaded");
        }
        T* templ = (*this)(0);
        auto* element = new T(templ->parentWidget());
        CopyFromTemplate(*templ, *element);
        element->hide();
        setIndex(element, index);
        elements_[index] = element;
        if (configure_) {
            configure_(element, index);
        }
        return element;
    }

    /// Removes element `index`; element 0 stays for as long as its window.
    void Unload(int index) {
        if (index == 0) {
            throw std::logic_error("Can't unload control array element 0");
        }
        const auto it = elements_.find(index);
        if (it != elements_.end()) {
            delete it->second.data();
            elements_.erase(it);
        }
    }

    /// The run-time indexes in ascending order (element 0 not included).
    std::vector<int> indexes() const {
        std::vector<int> result;
        for (const auto& [index, element] : elements_) {
            if (index != 0 && element) {
                result.push_back(index);
            }
        }
        return result;
    }

    int UBound() const { return elements_.empty() ? 0 : elements_.rbegin()->first; }

private:
    void setIndex(T* element, int index) const {
        if constexpr (std::is_base_of_v<ImageControl, T>) {
            element->setIndex(index);
        }
        element->setProperty("index", index);
        if (index != 0) {
            element->setObjectName(QStringLiteral("%1(%2)").arg(name_).arg(index));
        }
    }

    QString name_;
    std::map<int, QPointer<T>> elements_;
    std::function<void(T*, int)> configure_;
};

} // namespace kivo::chrome
