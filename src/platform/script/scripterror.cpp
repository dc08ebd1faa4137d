#include "platform/script/scripterror.h"

#include <map>

namespace kivo::script {

namespace {
const std::map<ErrorNumber, std::u16string>& messages() {
    static const std::map<ErrorNumber, std::u16string> m{
        {ErrorNumber::InvalidProcedureCall, u"Invalid procedure call or argument"},
        {ErrorNumber::Overflow, u"Overflow"},
        {ErrorNumber::OutOfMemory, u"Out of memory"},
        {ErrorNumber::DivisionByZero, u"Division by zero"},
        {ErrorNumber::TypeMismatch, u"Type mismatch"},
        {ErrorNumber::OutOfStringSpace, u"Out of string space"},
        {ErrorNumber::OutOfStackSpace, u"Out of stack space"},
        {ErrorNumber::InvalidUseOfNull, u"Invalid use of Null"},
        {ErrorNumber::ObjectRequired, u"Object required"},
        {ErrorNumber::NoSuchMember, u"Object doesn't support this property or method"},
        {ErrorNumber::WrongArguments, u"Wrong number of arguments or invalid property assignment"},
        {ErrorNumber::SyntaxError, u"Syntax error"},
        {ErrorNumber::ExpectedOpenParen, u"Expected '('"},
        {ErrorNumber::ExpectedCloseParen, u"Expected ')'"},
        {ErrorNumber::ExpectedIdentifier, u"Expected identifier"},
        {ErrorNumber::ExpectedEquals, u"Expected '='"},
        {ErrorNumber::ExpectedIf, u"Expected 'If'"},
        {ErrorNumber::ExpectedThen, u"Expected 'Then'"},
        {ErrorNumber::ExpectedEndOfStatement, u"Expected end of statement"},
        {ErrorNumber::InvalidCharacter, u"Invalid character"},
        {ErrorNumber::UnterminatedString, u"Unterminated string constant"},
        {ErrorNumber::ParenthesesOnSubCall, u"Cannot use parentheses when calling a Sub"},
    };
    return m;
}
std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    return out;
}
} // namespace

ScriptError::ScriptError(int number, std::u16string description, bool compilation, std::size_t position)
    : std::runtime_error(narrow(description)), number_(number), description_(std::move(description)),
      compilation_(compilation), position_(position) {}

std::u16string ScriptError::source() const {
    return compilation_ ? u"Microsoft VBScript compilation error" : u"Microsoft VBScript runtime error";
}

ScriptError ScriptError::runtime(ErrorNumber number, const std::u16string& detail) {
    const auto it = messages().find(number);
    std::u16string text = it != messages().end() ? it->second : u"Unknown runtime error";
    if (!detail.empty()) {
        text += u": '" + detail + u"'";
    }
    return {static_cast<int>(number), text, false};
}

ScriptError ScriptError::syntax(ErrorNumber number, std::size_t position) {
    const auto it = messages().find(number);
    return {static_cast<int>(number), it != messages().end() ? it->second : u"Syntax error", true, position};
}

} // namespace kivo::script
