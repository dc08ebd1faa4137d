#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kivo::script {

/// @brief One token of a statement. Identifiers keep their spelling; `lower` is their
/// case-folded form, by which keywords and names are compared.
struct Token {
    enum class Kind { Identifier, Number, String, Operator, End };
    Kind kind = Kind::End;
    std::u16string text;
    std::u16string lower;
    double number = 0;
    bool integral = false;
    size_t position = 0;

    bool is(std::u16string_view op) const { return kind == Kind::Operator && text == op; }
    bool isWord(std::u16string_view word) const { return kind == Kind::Identifier && lower == word; }
};

/// @brief Splits one line of VBScript into tokens; comments (' and Rem) end the line.
/// Throws ScriptError for an invalid character or an unterminated string.
std::vector<Token> Scan(std::u16string_view statement);

} // namespace kivo::script
