#pragma once

#include <stdexcept>
#include <string>

namespace kivo::script {

/// @brief A script error as the engine reports it: VBScript's number, a source and a
/// description (13 type mismatch, 438 no such member, 450 wrong number of arguments,
/// 1002 syntax error, ...).
class ScriptError : public std::runtime_error {
public:
    ScriptError(int number, std::u16string description, bool compilation = false);

    int number() const { return number_; }
    const std::u16string& description() const { return description_; }
    std::u16string source() const;
    bool compilation() const { return compilation_; }

    static ScriptError runtime(int number, const std::u16string& detail = {});
    static ScriptError syntax(int number);

private:
    int number_;
    std::u16string description_;
    bool compilation_;
};

} // namespace kivo::script
