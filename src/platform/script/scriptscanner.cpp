#include "platform/script/scriptscanner.h"

#include "platform/script/scripterror.h"

#include <cmath>

namespace kivo::script {

namespace {

bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isIdentChar(char16_t c) {
    return isLetter(c) || isDigit(c) || c == u'_';
}

int hexDigit(char16_t c) {
    if (isDigit(c))
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::u16string lower(std::u16string s) {
    for (auto& c : s) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return s;
}

} // namespace

std::vector<Token> Scan(std::u16string_view s) {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const char16_t c = s[i];
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            ++i;
            continue;
        }
        if (c == u'\'') {
            break; // comment to the end
        }
        Token t;
        t.position = i;
        if (isLetter(c)) {
            size_t j = i;
            while (j < n && isIdentChar(s[j])) {
                ++j;
            }
            t.kind = Token::Kind::Identifier;
            t.text = std::u16string(s.substr(i, j - i));
            t.lower = lower(t.text);
            i = j;
            if (t.lower == u"rem") {
                break;
            }
            tokens.push_back(std::move(t));
            continue;
        }
        const bool afterValue =
            !tokens.empty() && (tokens.back().kind == Token::Kind::Identifier || tokens.back().is(u")"));
        if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(s[i + 1]) && !afterValue)) {
            size_t j = i;
            while (j < n && isDigit(s[j])) {
                ++j;
            }
            bool integral = true;
            if (j < n && s[j] == u'.') {
                integral = false;
                ++j;
                while (j < n && isDigit(s[j])) {
                    ++j;
                }
            }
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                size_t k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-')) {
                    ++k;
                }
                if (k < n && isDigit(s[k])) {
                    integral = false;
                    j = k;
                    while (j < n && isDigit(s[j])) {
                        ++j;
                    }
                }
            }
            t.kind = Token::Kind::Number;
            t.text = std::u16string(s.substr(i, j - i));
            t.number = std::stod(std::string(t.text.begin(), t.text.end()));
            t.integral = integral;
            i = j;
            tokens.push_back(std::move(t));
            continue;
        }
        if (c == u'&' && i + 1 < n && (s[i + 1] == u'H' || s[i + 1] == u'h')) {
            size_t j = i + 2;
            double value = 0;
            for (int digit = hexDigit(j < n ? s[j] : 0); j < n && digit >= 0; digit = hexDigit(++j < n ? s[j] : 0)) {
                value = value * 16 + digit;
            }
            if (j == i + 2) {
                throw ScriptError::syntax(ErrorNumber::SyntaxError, i);
            }
            t.kind = Token::Kind::Number;
            t.text = std::u16string(s.substr(i, j - i));
            // &H literals are 16- or 32-bit two's complement values.
            t.number = value <= 0xFFFF ? (value > 0x7FFF ? value - 0x10000 : value)
                                       : (value > 0x7FFFFFFF ? value - 4294967296.0 : value);
            t.integral = true;
            i = j;
            tokens.push_back(std::move(t));
            continue;
        }
        if (c == u'"') {
            std::u16string text;
            size_t j = i + 1;
            for (;;) {
                if (j >= n) {
                    throw ScriptError::syntax(ErrorNumber::UnterminatedString, i);
                }
                if (s[j] == u'"') {
                    if (j + 1 < n && s[j + 1] == u'"') {
                        text.push_back(u'"');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text.push_back(s[j++]);
            }
            t.kind = Token::Kind::String;
            t.text = std::move(text);
            i = j;
            tokens.push_back(std::move(t));
            continue;
        }
        static const std::u16string_view twoChar[] = {u"<>", u"<=", u">="};
        bool matched = false;
        for (const auto op : twoChar) {
            if (s.substr(i, 2) == op) {
                t.kind = Token::Kind::Operator;
                t.text = std::u16string(op);
                i += 2;
                matched = true;
                break;
            }
        }
        if (!matched) {
            static const std::u16string_view single = u"+-*/\\^&=<>(),.:";
            if (single.find(c) == std::u16string_view::npos) {
                throw ScriptError::syntax(ErrorNumber::InvalidCharacter, i);
            }
            t.kind = Token::Kind::Operator;
            t.text = std::u16string(1, c);
            ++i;
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.position = n;
    tokens.push_back(end);
    return tokens;
}

} // namespace kivo::script
