#include "platform/script/scripterror.h"

#include <map>

namespace kivo::script {

namespace {
const std::map<int, std::u16string>& messages() {
    static const std::map<int, std::u16string> m{
        {5, u"Invalid procedure call or argument"},
        {6, u"Overflow"},
        {7, u"Out of memory"},
        {11, u"Division by zero"},
        {13, u"Type mismatch"},
        {14, u"Out of string space"},
        {28, u"Out of stack space"},
        {94, u"Invalid use of Null"},
        {424, u"Object required"},
        {438, u"Object doesn't support this property or method"},
        {450, u"Wrong number of arguments or invalid property assignment"},
        {1002, u"Syntax error"},
        {1005, u"Expected '('"},
        {1006, u"Expected ')'"},
        {1010, u"Expected identifier"},
        {1011, u"Expected '='"},
        {1012, u"Expected 'If'"},
        {1017, u"Expected 'Then'"},
        {1025, u"Expected end of statement"},
        {1032, u"Invalid character"},
        {1033, u"Unterminated string constant"},
        {1044, u"Cannot use parentheses when calling a Sub"},
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

ScriptError::ScriptError(int number, std::u16string description, bool compilation)
    : std::runtime_error(narrow(description)), number_(number), description_(std::move(description)),
      compilation_(compilation) {}

std::u16string ScriptError::source() const {
    return compilation_ ? u"Microsoft VBScript compilation error" : u"Microsoft VBScript runtime error";
}

ScriptError ScriptError::runtime(int number, const std::u16string& detail) {
    const auto it = messages().find(number);
    std::u16string text = it != messages().end() ? it->second : u"Unknown runtime error";
    if (!detail.empty()) {
        text += u": '" + detail + u"'";
    }
    return {number, text, false};
}

ScriptError ScriptError::syntax(int number) {
    const auto it = messages().find(number);
    return {number, it != messages().end() ? it->second : u"Syntax error", true};
}

} // namespace kivo::script
