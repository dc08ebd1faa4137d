#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kivo::script {

/// @brief VBScript's error numbers, as the engine reports them.
enum class ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    DivisionByZero = 11,
    TypeMismatch = 13,
    OutOfStringSpace = 14,
    OutOfStackSpace = 28,
    InvalidUseOfNull = 94,
    ObjectRequired = 424,
    NoSuchMember = 438,
    WrongArguments = 450,
    SyntaxError = 1002,
    ExpectedOpenParen = 1005,
    ExpectedCloseParen = 1006,
    ExpectedIdentifier = 1010,
    ExpectedEquals = 1011,
    ExpectedIf = 1012,
    ExpectedThen = 1017,
    ExpectedEndOfStatement = 1025,
    InvalidCharacter = 1032,
    UnterminatedString = 1033,
    ParenthesesOnSubCall = 1044,
};

/// @brief A script error as the engine reports it: VBScript's number, a source, a description
/// and, for errors found in the statement's text, the position (0-based) where it was found.
class ScriptError : public std::runtime_error {
public:
    static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

    ScriptError(int number, std::u16string description, bool compilation = false, std::size_t position = kNoPosition);

    int number() const { return number_; }
    const std::u16string& description() const { return description_; }
    std::u16string source() const;
    bool compilation() const { return compilation_; }
    std::size_t position() const { return position_; }

    static ScriptError runtime(ErrorNumber number, const std::u16string& detail = {});
    static ScriptError syntax(ErrorNumber number, std::size_t position = kNoPosition);

private:
    int number_;
    std::u16string description_;
    bool compilation_;
    std::size_t position_;
};

} // namespace kivo::script
