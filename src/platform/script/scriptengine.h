#pragma once

#include "platform/script/scripterror.h"
#include "platform/script/scriptvalue.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::script {

/// @brief A VBScript engine for one-line statements, run one at a time in one persistent global
/// scope. It reaches nothing but the objects its owner added: there is no CreateObject,
/// GetObject, Execute, ExecuteGlobal or Eval, no files and no processes. Statements are bounded
/// in length, nesting, string size and evaluation steps, so a hostile page cannot hang the client.
class ScriptEngine {
public:
    static constexpr size_t kMaxStatement = 65536;
    static constexpr size_t kMaxString = 1 << 20;
    static constexpr long kMaxSteps = 1'000'000;

    /// @brief Makes `object` known as `name`; with `addMembers` its members are global names too.
    void AddObject(const std::u16string& name, std::shared_ptr<ScriptObject> object, bool addMembers);

    /// @brief Runs one statement line. On failure the Error event fires and false comes back;
    /// nothing is thrown.
    bool ExecuteStatement(std::u16string_view statement);

    /// @brief The error of the last failed statement (the engine's Error object).
    const std::optional<ScriptError>& Error() const { return error_; }

    /// @brief The Error event: the error and the statement that raised it.
    std::function<void(const ScriptError&, std::u16string_view statement)> onError;
    /// @brief How MsgBox shows itself (prompt, buttons, title) -> the button pressed.
    std::function<int(const std::u16string&, int, const std::u16string&)> msgBox;

    /// @brief A global variable's value (Empty when undefined), for tests and tools.
    Value variable(const std::u16string& name) const;

private:
    friend class Evaluator;

    std::map<std::u16string, Value> globals_;                         // lower-cased names
    std::map<std::u16string, std::shared_ptr<ScriptObject>> objects_; // lower-cased names
    std::vector<std::shared_ptr<ScriptObject>> memberObjects_;        // objects with global members
    std::optional<ScriptError> error_;
};

} // namespace kivo::script
