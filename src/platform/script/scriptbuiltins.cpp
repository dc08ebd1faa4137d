#include "platform/script/scriptbuiltins.h"

#include "platform/script/scriptengine.h"
#include "platform/script/scripterror.h"
#include "platform/script/scriptevaluator.h"
#include "platform/script/scripttext.h"

#include <algorithm>
#include <array>

namespace kivo::script {

namespace {

using Args = std::vector<Value>;
using Type = Value::Type;

std::u16string text(const Args& args, size_t i) {
    return Evaluator::toString(args[i]);
}
std::int32_t number(const Args& args, size_t i) {
    return Evaluator::toLong(args[i]);
}
bool nullIn(const Args& args, size_t i) {
    return args.size() > i && args[i].isNull();
}
[[noreturn]] void invalidArgument() {
    throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
}

Value leftOrRight(Args& args, bool left) {
    if (nullIn(args, 0)) {
        return Value::null();
    }
    const std::u16string s = text(args, 0);
    const std::int32_t n = number(args, 1);
    if (n < 0) {
        invalidArgument();
    }
    const size_t count = std::min<size_t>(static_cast<size_t>(n), s.size());
    return Value(left ? s.substr(0, count) : s.substr(s.size() - count));
}

// Trim, LTrim and RTrim take blanks off one end, the other or both.
Value trimmed(Args& args, bool front, bool back) {
    if (nullIn(args, 0)) {
        return Value::null();
    }
    const std::u16string s = text(args, 0);
    const auto first = s.find_first_not_of(u' ');
    const auto last = s.find_last_not_of(u' ');
    if (first == std::u16string::npos) {
        return Value(u"");
    }
    const size_t from = front ? first : 0;
    const size_t to = back ? last + 1 : s.size();
    return Value(s.substr(from, to - from));
}

Value mid(Args& args, ScriptEngine&) {
    if (nullIn(args, 0)) {
        return Value::null();
    }
    const std::u16string s = text(args, 0);
    const std::int32_t start = number(args, 1);
    const std::int32_t length = args.size() > 2 ? number(args, 2) : static_cast<std::int32_t>(s.size());
    if (start < 1 || length < 0) {
        invalidArgument();
    }
    if (static_cast<size_t>(start) > s.size()) {
        return Value(u"");
    }
    return Value(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
}

Value replace(Args& args, ScriptEngine&) {
    if (nullIn(args, 0) || nullIn(args, 1) || nullIn(args, 2)) {
        return Value::null();
    }
    const std::u16string s = text(args, 0);
    const std::u16string find = text(args, 1);
    const std::u16string with = text(args, 2);
    const std::int32_t start = args.size() > 3 ? number(args, 3) : 1;
    std::int32_t count = args.size() > 4 ? number(args, 4) : -1;
    const bool textCompare = args.size() > 5 && number(args, 5) == 1;
    if (start < 1 || count < -1) {
        invalidArgument();
    }
    if (static_cast<size_t>(start) > s.size()) {
        return Value(u"");
    }
    const std::u16string subject = s.substr(static_cast<size_t>(start - 1));
    if (find.empty() || count == 0) {
        return Value(subject);
    }
    const std::u16string haystack = textCompare ? LowerCase(subject) : subject;
    const std::u16string needle = textCompare ? LowerCase(find) : find;
    std::u16string out;
    size_t at = 0;
    for (;;) {
        const size_t hit = haystack.find(needle, at);
        if (hit == std::u16string::npos || count == 0) {
            break;
        }
        out += subject.substr(at, hit - at);
        out += with;
        if (out.size() > ScriptEngine::kMaxString) {
            throw ScriptError::runtime(ErrorNumber::OutOfStringSpace);
        }
        at = hit + find.size();
        if (count > 0) {
            --count;
        }
    }
    out += subject.substr(at);
    return Evaluator::checked(std::move(out));
}

Value inStr(Args& args, ScriptEngine&) {
    size_t first = 0;
    std::int32_t start = 1;
    if (args.size() >= 3) {
        start = number(args, 0);
        first = 1;
        if (start < 1) {
            invalidArgument();
        }
    }
    if (nullIn(args, first) || nullIn(args, first + 1)) {
        return Value::null();
    }
    const bool textCompare = args.size() == 4 && number(args, 3) == 1;
    std::u16string s = text(args, first);
    std::u16string find = text(args, first + 1);
    if (textCompare) {
        s = LowerCase(s);
        find = LowerCase(find);
    }
    if (static_cast<size_t>(start) > s.size()) {
        return Value(0);
    }
    const size_t hit = s.find(find, static_cast<size_t>(start - 1));
    return Value(hit == std::u16string::npos ? 0 : static_cast<std::int32_t>(hit + 1));
}

Value chr(Args& args, ScriptEngine&) {
    const std::int32_t code = number(args, 0);
    if (code < 0 || code > 255) {
        invalidArgument();
    }
    // Codes above 127 are single bytes of the Chinese code page, no character on their own.
    return Value(std::u16string(1, code < 128 ? static_cast<char16_t>(code) : u'\uFFFD'));
}

Value asc(Args& args, ScriptEngine&) {
    const std::u16string s = text(args, 0);
    if (s.empty()) {
        invalidArgument();
    }
    return Value(static_cast<std::int32_t>(s[0]));
}

Value cInt(Args& args, ScriptEngine&) {
    const std::int32_t n = number(args, 0);
    if (n < -32768 || n > 32767) {
        throw ScriptError::runtime(ErrorNumber::Overflow);
    }
    return Value(n);
}

Value isNumeric(Args& args, ScriptEngine&) {
    const Value& v = args[0];
    return Value(v.isEmpty() || v.isNumeric() || (v.type() == Type::String && Evaluator::isNumericText(v.asString())));
}

Value msgBox(Args& args, ScriptEngine& engine) {
    const std::u16string prompt = nullIn(args, 0) ? std::u16string() : text(args, 0);
    const std::int32_t buttons = args.size() > 1 ? number(args, 1) : 0;
    const std::u16string title = args.size() > 2 ? text(args, 2) : std::u16string(u"VBScript");
    return Value(static_cast<std::int32_t>(engine.msgBox ? engine.msgBox(prompt, buttons, title) : 1));
}

// Every built-in function with the arguments it takes.
constexpr std::array<Builtin, 22> kBuiltins{{
    {u"asc", 1, 1, asc},
    {u"cbool", 1, 1, [](Args& a, ScriptEngine&) { return Value(Evaluator::toBool(a[0])); }},
    {u"cdbl", 1, 1, [](Args& a, ScriptEngine&) { return Value(Evaluator::toDouble(a[0])); }},
    {u"chr", 1, 1, chr},
    {u"cint", 1, 1, cInt},
    {u"clng", 1, 1, [](Args& a, ScriptEngine&) { return Value(number(a, 0)); }},
    {u"cstr", 1, 1, [](Args& a, ScriptEngine&) { return Value(text(a, 0)); }},
    {u"instr", 2, 4, inStr},
    {u"isempty", 1, 1, [](Args& a, ScriptEngine&) { return Value(a[0].isEmpty()); }},
    {u"isnull", 1, 1, [](Args& a, ScriptEngine&) { return Value(a[0].isNull()); }},
    {u"isnumeric", 1, 1, isNumeric},
    {u"lcase", 1, 1,
     [](Args& a, ScriptEngine&) { return nullIn(a, 0) ? Value::null() : Value(LowerCase(text(a, 0))); }},
    {u"left", 2, 2, [](Args& a, ScriptEngine&) { return leftOrRight(a, true); }},
    {u"len", 1, 1,
     [](Args& a, ScriptEngine&) {
         return nullIn(a, 0) ? Value::null() : Value(static_cast<std::int32_t>(text(a, 0).size()));
     }},
    {u"ltrim", 1, 1, [](Args& a, ScriptEngine&) { return trimmed(a, true, false); }},
    {u"mid", 2, 3, mid},
    {u"msgbox", 1, 5, msgBox},
    {u"replace", 3, 6, replace},
    {u"right", 2, 2, [](Args& a, ScriptEngine&) { return leftOrRight(a, false); }},
    {u"rtrim", 1, 1, [](Args& a, ScriptEngine&) { return trimmed(a, false, true); }},
    {u"trim", 1, 1, [](Args& a, ScriptEngine&) { return trimmed(a, true, true); }},
    {u"ucase", 1, 1,
     [](Args& a, ScriptEngine&) { return nullIn(a, 0) ? Value::null() : Value(UpperCase(text(a, 0))); }},
}};

} // namespace

const Builtin* FindBuiltin(std::u16string_view name) {
    const auto it = std::find_if(kBuiltins.begin(), kBuiltins.end(), [&](const Builtin& b) { return b.name == name; });
    return it == kBuiltins.end() ? nullptr : &*it;
}

} // namespace kivo::script
