#include "chrome/formregistry.h"

#include "chrome/form.h"

#include <QCoreApplication>

#include <algorithm>

namespace kivo::chrome {

FormRegistry& FormRegistry::instance() {
    static FormRegistry registry;
    return registry;
}

void FormRegistry::add(Form* form) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) {
        forms_.emplace_back(form);
    }
}

void FormRegistry::remove(Form* form) {
    const auto before = forms_.size();
    std::erase_if(forms_, [form](const QPointer<Form>& f) { return f.isNull() || f.data() == form; });
    if (before > 0 && forms_.empty()) {
        if (programEnd_) {
            programEnd_();
        } else {
            QCoreApplication::exit(0);
        }
    }
}

std::vector<Form*> FormRegistry::forms() const {
    std::vector<Form*> result;
    for (const auto& f : forms_) {
        if (f) {
            result.push_back(f.data());
        }
    }
    return result;
}

Form* FindForm(const QString& name) {
    for (Form* form : FormRegistry::instance().forms()) {
        if (form->name() == name) {
            return form;
        }
    }
    return nullptr;
}

bool IsFormLoaded(const QString& name) {
    return FindForm(name) != nullptr;
}

void UnloadAllForms() {
    for (Form* form : FormRegistry::instance().forms()) {
        form->Unload();
    }
}

} // namespace kivo::chrome
