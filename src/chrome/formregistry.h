#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

namespace kivo::chrome {

class Form;

/// The list of loaded windows, in the order they were loaded.
class FormRegistry {
public:
    static FormRegistry& instance();

    void add(Form* form);
    void remove(Form* form);
    std::vector<Form*> forms() const;

    /// What happens when the last window is gone: the program ends. Tests watch it instead.
    void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }

private:
    std::vector<QPointer<Form>> forms_;
    std::function<void()> programEnd_;
};

/// The loaded window of exactly this name (case-sensitive), or null.
Form* FindForm(const QString& name);

/// True when a window of exactly this name (case-sensitive) is loaded.
bool IsFormLoaded(const QString& name);

/// Unloads every loaded window in list order; each runs its own unload steps. The program ends
/// when the last is gone.
void UnloadAllForms();

} // namespace kivo::chrome
