#include "platform/script/scriptscanner.h"

#include "platform/script/scripterror.h"
#include "platform/script/scripttext.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

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
    if (isDigit(c)) {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Two-character operators and what they stand for; "=>", "=<" and "><" are the old spellings.
struct Spelling {
    std::u16string_view written;
    std::u16string_view meaning;
};
constexpr std::array<Spelling, 6> kTwoCharOperators{
    {{u"<>", u"<>"}, {u"<=", u"<="}, {u">=", u">="}, {u"=>", u">="}, {u"=<", u"<="}, {u"><", u"<>"}}};
constexpr std::u16string_view kOneCharOperators = u"+-*/\\^&=<>(),.:";

// Reads one statement from left to right; each token kind has its own reader.
class Scanner {
public:
    explicit Scanner(std::u16string_view text) : s_(text) {}

    std::vector<Token> tokens() {
        std::vector<Token> out;
        for (;;) {
            skipBlanks();
            if (atEnd() || peek() == u'\'') {
                break; // a comment runs to the end of the line
            }
            Token t = next(out);
            if (t.kind == Token::Kind::Identifier && t.lower == u"rem") {
                break;
            }
            out.push_back(std::move(t));
        }
        Token end;
        end.position = s_.size();
        out.push_back(end);
        return out;
    }

private:
    bool atEnd() const { return pos_ >= s_.size(); }
    char16_t peek(size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : u'\0'; }
    char16_t advance() { return s_[pos_++]; }
    bool match(char16_t c) {
        if (peek() == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void skipWhile(bool (*test)(char16_t)) {
        while (!atEnd() && test(peek())) {
            ++pos_;
        }
    }
    void skipBlanks() {
        while (!atEnd() && (peek() == u' ' || peek() == u'\t' || peek() == u'\r' || peek() == u'\n')) {
            ++pos_;
        }
    }
    std::u16string textFrom(size_t start) const { return std::u16string(s_.substr(start, pos_ - start)); }

    Token next(const std::vector<Token>& before) {
        const char16_t c = peek();
        // A "." directly after a name or ")" is member access, not the start of a number.
        const bool afterValue =
            !before.empty() && (before.back().kind == Token::Kind::Identifier || before.back().is(u")"));
        if (isLetter(c)) {
            return identifier();
        }
        if (isDigit(c) || (c == u'.' && isDigit(peek(1)) && !afterValue)) {
            return number();
        }
        // "&H" starts a number only with a hex digit after it: "x" &hi joins x and hi.
        if (c == u'&' && (peek(1) == u'H' || peek(1) == u'h') && hexDigit(peek(2)) >= 0) {
            return hexadecimal();
        }
        if (c == u'"') {
            return string();
        }
        return op();
    }

    Token start(Token::Kind kind) const {
        Token t;
        t.kind = kind;
        t.position = pos_;
        return t;
    }

    Token identifier() {
        Token t = start(Token::Kind::Identifier);
        skipWhile(isIdentChar);
        t.text = textFrom(t.position);
        t.lower = LowerCase(t.text);
        return t;
    }

    Token number() {
        Token t = start(Token::Kind::Number);
        t.integral = true;
        skipWhile(isDigit);
        if (match(u'.')) {
            t.integral = false;
            skipWhile(isDigit);
        }
        // An exponent counts only with digits after it ("1E" is 1 followed by a name).
        if ((peek() == u'e' || peek() == u'E') &&
            (isDigit(peek(1)) || ((peek(1) == u'+' || peek(1) == u'-') && isDigit(peek(2))))) {
            t.integral = false;
            advance();
            if (!match(u'+')) {
                match(u'-');
            }
            skipWhile(isDigit);
        }
        t.text = textFrom(t.position);
        const std::string digits(t.text.begin(), t.text.end());
        t.number = std::strtod(digits.c_str(), nullptr);
        if (std::isinf(t.number)) {
            throw ScriptError::runtime(ErrorNumber::Overflow);
        }
        if (std::fabs(t.number) < std::numeric_limits<double>::min()) {
            t.number = 0; // too small for a Double: zero, as VBScript reads it
        }
        return t;
    }

    Token hexadecimal() {
        Token t = start(Token::Kind::Number);
        pos_ += 2; // "&H"
        double value = 0;
        const size_t digits = pos_;
        for (int digit = hexDigit(peek()); !atEnd() && digit >= 0; digit = hexDigit(peek())) {
            value = value * 16 + digit;
            advance();
        }
        if (pos_ == digits) {
            throw ScriptError::syntax(ErrorNumber::SyntaxError, t.position);
        }
        // &H literals are 16- or 32-bit two's complement values; the suffix "&" makes them Long.
        const bool isLong = match(u'&');
        if (value > 0xFFFFFFFF) {
            throw ScriptError::runtime(ErrorNumber::Overflow);
        }
        t.text = textFrom(t.position);
        const bool fitsInteger = !isLong && value <= 0xFFFF;
        t.number = fitsInteger ? (value > 0x7FFF ? value - 0x10000 : value)
                               : (value > 0x7FFFFFFF ? value - 4294967296.0 : value);
        t.integral = true;
        return t;
    }

    Token string() {
        Token t = start(Token::Kind::String);
        advance(); // the opening quote
        for (;;) {
            if (atEnd()) {
                throw ScriptError::syntax(ErrorNumber::UnterminatedString, t.position);
            }
            const char16_t c = advance();
            if (c == u'"') {
                if (!match(u'"')) {
                    break;
                }
            }
            t.text.push_back(c); // "" stands for one quote
        }
        return t;
    }

    Token op() {
        Token t = start(Token::Kind::Operator);
        for (const Spelling& two : kTwoCharOperators) {
            if (s_.substr(pos_, 2) == two.written) {
                pos_ += 2;
                t.text = std::u16string(two.meaning);
                return t;
            }
        }
        if (kOneCharOperators.find(peek()) == std::u16string_view::npos) {
            throw ScriptError::syntax(ErrorNumber::InvalidCharacter, t.position);
        }
        t.text = std::u16string(1, advance());
        return t;
    }

    std::u16string_view s_;
    size_t pos_ = 0;
};

} // namespace

std::vector<Token> Scan(std::u16string_view statement) {
    return Scanner(statement).tokens();
}

} // namespace kivo::script
