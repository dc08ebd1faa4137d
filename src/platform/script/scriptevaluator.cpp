#include "platform/script/scriptevaluator.h"

#include "platform/script/scriptengine.h"
#include "platform/script/scripterror.h"
#include "platform/script/scripttext.h"

#include <cctype>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kivo::script {

namespace {

using Type = Value::Type;

std::u16string ascii(const std::string& s) {
    return {s.begin(), s.end()};
}

// Half to even, as VBScript rounds when it makes whole numbers.
double roundEven(double d) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(d);
    std::fesetround(previous);
    return r;
}

Value fromDouble(double d) {
    if (std::isnan(d) || std::isinf(d)) {
        throw ScriptError::runtime(ErrorNumber::Overflow);
    }
    return Value(d);
}

// Whole-number arithmetic that widens to Double on overflow, as Long does in VBScript.
Value widen(long long r) {
    if (r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()) {
        return Value(static_cast<std::int32_t>(r));
    }
    return Value(static_cast<double>(r));
}

bool isWhole(const Value& v) {
    return v.type() == Type::Long || v.type() == Type::Boolean || v.isEmpty();
}

void arity(const std::vector<Value>& args, size_t min, size_t max) {
    if (args.size() < min || args.size() > max) {
        throw ScriptError::runtime(ErrorNumber::WrongArguments);
    }
}

} // namespace

// ---- conversions ----

bool Evaluator::isNumericText(const std::u16string& text, double* value) {
    std::string s;
    for (char16_t c : text) {
        if (c > 127) {
            return false;
        }
        s.push_back(static_cast<char>(c));
    }
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H')) {
        try {
            size_t used = 0;
            const long long v = std::stoll(s.substr(2), &used, 16);
            if (used != s.size() - 2) {
                return false;
            }
            if (value != nullptr) {
                *value = static_cast<double>(v);
            }
            return true;
        } catch (...) {
            return false;
        }
    }
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') {
        ++i;
    }
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            digits = true;
        }
    }
    if (!digits) {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) {
            return false;
        }
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
        }
    }
    if (i != s.size()) {
        return false;
    }
    if (value != nullptr) {
        *value = std::strtod(s.c_str(), nullptr);
    }
    return true;
}

std::u16string Evaluator::toString(const Value& v) {
    switch (v.type()) {
    case Type::Empty:
        return {};
    case Type::Null:
        throw ScriptError::runtime(ErrorNumber::InvalidUseOfNull);
    case Type::Boolean:
        return v.asBool() ? u"True" : u"False";
    case Type::Long:
        return ascii(std::to_string(v.asLong()));
    case Type::Double: {
        if (v.asDouble() == 0) {
            return u"0";
        }
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15G", v.asDouble());
        return ascii(buffer);
    }
    case Type::String:
        return v.asString();
    case Type::Object:
    case Type::Nothing:
        throw ScriptError::runtime(ErrorNumber::TypeMismatch);
    }
    return {};
}

double Evaluator::toDouble(const Value& v) {
    switch (v.type()) {
    case Type::Empty:
        return 0;
    case Type::Null:
        throw ScriptError::runtime(ErrorNumber::InvalidUseOfNull);
    case Type::Boolean:
        return v.asBool() ? -1 : 0;
    case Type::Long:
        return v.asLong();
    case Type::Double:
        return v.asDouble();
    case Type::String: {
        double d = 0;
        if (!isNumericText(v.asString(), &d)) {
            throw ScriptError::runtime(ErrorNumber::TypeMismatch);
        }
        return d;
    }
    default:
        throw ScriptError::runtime(ErrorNumber::TypeMismatch);
    }
}

std::int32_t Evaluator::toLong(const Value& v) {
    const double d = roundEven(toDouble(v));
    if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max()) {
        throw ScriptError::runtime(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(d);
}

bool Evaluator::toBool(const Value& v) {
    if (v.type() == Type::String) {
        const std::u16string l = LowerCase(v.asString());
        if (l == u"true") {
            return true;
        }
        if (l == u"false") {
            return false;
        }
    }
    return toDouble(v) != 0;
}

Value Evaluator::checked(std::u16string s) {
    if (s.size() > ScriptEngine::kMaxString) {
        throw ScriptError::runtime(ErrorNumber::OutOfStringSpace);
    }
    return Value(std::move(s));
}

// ---- statements ----

void Evaluator::step() {
    if (++steps_ > ScriptEngine::kMaxSteps) {
        throw ScriptError::runtime(ErrorNumber::OutOfMemory);
    }
}

void Evaluator::run(const std::vector<std::unique_ptr<Stmt>>& statements) {
    for (const auto& s : statements) {
        exec(*s);
    }
}

void Evaluator::exec(const Stmt& s) {
    step();
    switch (s.kind) {
    case Stmt::Kind::Empty:
        return;
    case Stmt::Kind::Dim:
        for (const auto& name : s.names) {
            engine_.globals_.try_emplace(name);
        }
        return;
    case Stmt::Kind::If: {
        const Value condition = eval(*s.value);
        const bool yes = !condition.isNull() && toBool(condition);
        run(yes ? s.then : s.otherwise);
        return;
    }
    case Stmt::Kind::Assign: {
        if (s.target->kind == Expr::Kind::Member) {
            eval(*s.target->left);
            throw ScriptError::runtime(ErrorNumber::NoSuchMember, s.target->name);
        }
        const std::u16string& name = s.target->lower;
        if (engine_.objects_.count(name) != 0) {
            throw ScriptError(501, u"Illegal assignment: '" + s.target->name + u"'");
        }
        engine_.globals_[name] = eval(*s.value);
        return;
    }
    case Stmt::Kind::Call: {
        std::vector<Value> args;
        for (const auto& a : s.args) {
            args.push_back(eval(*a));
        }
        call(*s.target, args, true);
        return;
    }
    }
}

// ---- expressions ----

Value Evaluator::eval(const Expr& e) {
    step();
    switch (e.kind) {
    case Expr::Kind::Literal:
        return e.literal;
    case Expr::Kind::Name: {
        std::vector<Value> none;
        return callName(e.lower, e.name, none, false);
    }
    case Expr::Kind::Member: {
        std::vector<Value> none;
        return call(e, none, false);
    }
    case Expr::Kind::Call: {
        std::vector<Value> args;
        for (const auto& a : e.args) {
            args.push_back(eval(*a));
        }
        return call(*e.left, args, false);
    }
    case Expr::Kind::Unary: {
        const Value v = eval(*e.left);
        if (v.isNull()) {
            return v;
        }
        if (e.op == u"-") {
            if (v.type() == Type::Long) {
                return widen(-static_cast<long long>(v.asLong()));
            }
            return fromDouble(-toDouble(v));
        }
        if (v.type() == Type::Boolean) {
            return Value(!v.asBool());
        }
        return Value(static_cast<std::int32_t>(~toLong(v)));
    }
    case Expr::Kind::Binary:
        return binary(e.op, eval(*e.left), eval(*e.right));
    }
    return {};
}

Value Evaluator::call(const Expr& target, std::vector<Value>& args, bool statement) {
    if (target.kind == Expr::Kind::Name) {
        return callName(target.lower, target.name, args, statement || !args.empty());
    }
    if (target.kind != Expr::Kind::Member) {
        throw ScriptError::runtime(ErrorNumber::TypeMismatch);
    }
    const Value object = eval(*target.left);
    if (object.type() != Type::Object) {
        throw ScriptError::runtime(ErrorNumber::ObjectRequired);
    }
    if (!object.asObject()->hasMember(target.lower)) {
        throw ScriptError::runtime(ErrorNumber::NoSuchMember, target.name);
    }
    return object.asObject()->call(target.lower, args);
}

Value Evaluator::callName(const std::u16string& lower, const std::u16string& name, std::vector<Value>& args,
                          bool hasArgs) {
    const auto variable = engine_.globals_.find(lower);
    if (variable != engine_.globals_.end()) {
        if (hasArgs && !args.empty()) {
            throw ScriptError::runtime(ErrorNumber::TypeMismatch, name);
        }
        return variable->second;
    }
    const auto object = engine_.objects_.find(lower);
    if (object != engine_.objects_.end()) {
        if (!args.empty()) {
            throw ScriptError::runtime(ErrorNumber::TypeMismatch, name);
        }
        return Value(object->second);
    }
    for (const auto& o : engine_.memberObjects_) {
        if (o->hasMember(lower)) {
            return o->call(lower, args);
        }
    }
    bool found = false;
    Value result = builtin(lower, args, found);
    if (found) {
        return result;
    }
    if (hasArgs) {
        throw ScriptError::runtime(ErrorNumber::TypeMismatch, name); // as VBScript says of an unknown sub or function
    }
    return {}; // an undefined variable reads as Empty
}

Value Evaluator::binary(const std::u16string& op, const Value& a, const Value& b) {
    if (op == u"&") {
        return checked((a.isNull() ? std::u16string() : toString(a)) + (b.isNull() ? std::u16string() : toString(b)));
    }
    if (op == u"=" || op == u"<>" || op == u"<" || op == u">" || op == u"<=" || op == u">=") {
        return compare(op, a, b);
    }
    if (op == u"is") {
        if (a.type() == Type::Nothing || b.type() == Type::Nothing) {
            return Value(a.type() == b.type());
        }
        if (a.type() != Type::Object || b.type() != Type::Object) {
            throw ScriptError::runtime(ErrorNumber::ObjectRequired);
        }
        return Value(a.asObject() == b.asObject());
    }
    if (op == u"and" || op == u"or" || op == u"xor" || op == u"eqv" || op == u"imp") {
        if (a.isNull() || b.isNull()) {
            return Value::null();
        }
        if (a.type() == Type::Boolean && b.type() == Type::Boolean) {
            const bool x = a.asBool();
            const bool y = b.asBool();
            return Value(op == u"and"   ? x && y
                         : op == u"or"  ? x || y
                         : op == u"xor" ? x != y
                         : op == u"eqv" ? x == y
                                        : !x || y);
        }
        const std::int32_t x = toLong(a);
        const std::int32_t y = toLong(b);
        return Value(static_cast<std::int32_t>(op == u"and"   ? x & y
                                               : op == u"or"  ? x | y
                                               : op == u"xor" ? x ^ y
                                               : op == u"eqv" ? ~(x ^ y)
                                                              : (~x | y)));
    }
    if (a.isNull() || b.isNull()) {
        return Value::null();
    }
    if (op == u"+") {
        if (a.type() == Type::String && b.type() == Type::String) {
            return checked(a.asString() + b.asString());
        }
        if ((a.type() == Type::String && b.isEmpty()) || (a.isEmpty() && b.type() == Type::String)) {
            return checked(toString(a) + toString(b));
        }
    }
    if (op == u"+" || op == u"-" || op == u"*") {
        if (isWhole(a) && isWhole(b)) {
            const long long x = static_cast<long long>(toDouble(a));
            const long long y = static_cast<long long>(toDouble(b));
            return widen(op == u"+" ? x + y : op == u"-" ? x - y : x * y);
        }
        const double x = toDouble(a);
        const double y = toDouble(b);
        return fromDouble(op == u"+" ? x + y : op == u"-" ? x - y : x * y);
    }
    if (op == u"/") {
        const double y = toDouble(b);
        if (y == 0) {
            throw ScriptError::runtime(ErrorNumber::DivisionByZero);
        }
        return fromDouble(toDouble(a) / y);
    }
    if (op == u"\\" || op == u"mod") {
        const std::int32_t x = toLong(a);
        const std::int32_t y = toLong(b);
        if (y == 0) {
            throw ScriptError::runtime(ErrorNumber::DivisionByZero);
        }
        return widen(op == u"mod" ? static_cast<long long>(x) % y : static_cast<long long>(x) / y);
    }
    if (op == u"^") {
        return fromDouble(std::pow(toDouble(a), toDouble(b)));
    }
    throw ScriptError::syntax(ErrorNumber::SyntaxError);
}

Value Evaluator::compare(const std::u16string& op, const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) {
        return Value::null();
    }
    int order = 0;
    const bool aText = a.type() == Type::String;
    const bool bText = b.type() == Type::String;
    if (aText && bText) {
        order = a.asString().compare(b.asString());
    } else if (aText || bText) {
        const Value& other = aText ? b : a;
        if (other.isEmpty()) {
            order = toString(a).compare(toString(b));
        } else {
            order = aText ? 1 : -1; // a number is less than a text
        }
    } else {
        const double x = toDouble(a);
        const double y = toDouble(b);
        order = x < y ? -1 : (x > y ? 1 : 0);
    }
    if (op == u"=")
        return Value(order == 0);
    if (op == u"<>")
        return Value(order != 0);
    if (op == u"<")
        return Value(order < 0);
    if (op == u">")
        return Value(order > 0);
    if (op == u"<=")
        return Value(order <= 0);
    return Value(order >= 0);
}

// ---- built-in functions ----

Value Evaluator::builtin(const std::u16string& f, std::vector<Value>& args, bool& found) {
    found = true;
    auto text = [&](size_t i) { return toString(args[i]); };
    auto nullIn = [&](size_t i) { return args.size() > i && args[i].isNull(); };
    if (f == u"len") {
        arity(args, 1, 1);
        return nullIn(0) ? Value::null() : Value(static_cast<std::int32_t>(text(0).size()));
    }
    if (f == u"left" || f == u"right") {
        arity(args, 2, 2);
        if (nullIn(0)) {
            return Value::null();
        }
        const std::u16string s = text(0);
        const std::int32_t n = toLong(args[1]);
        if (n < 0) {
            throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
        }
        const size_t count = std::min<size_t>(static_cast<size_t>(n), s.size());
        return Value(f == u"left" ? s.substr(0, count) : s.substr(s.size() - count));
    }
    if (f == u"mid") {
        arity(args, 2, 3);
        if (nullIn(0)) {
            return Value::null();
        }
        const std::u16string s = text(0);
        const std::int32_t start = toLong(args[1]);
        const std::int32_t length = args.size() > 2 ? toLong(args[2]) : static_cast<std::int32_t>(s.size());
        if (start < 1 || length < 0) {
            throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
        }
        if (static_cast<size_t>(start) > s.size()) {
            return Value(u"");
        }
        return Value(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
    }
    if (f == u"ucase" || f == u"lcase" || f == u"trim" || f == u"ltrim" || f == u"rtrim") {
        arity(args, 1, 1);
        if (nullIn(0)) {
            return Value::null();
        }
        std::u16string s = text(0);
        if (f == u"ucase")
            return Value(UpperCase(s));
        if (f == u"lcase")
            return Value(LowerCase(s));
        const auto first = s.find_first_not_of(u' ');
        const auto last = s.find_last_not_of(u' ');
        if (first == std::u16string::npos)
            return Value(u"");
        if (f == u"trim")
            return Value(s.substr(first, last - first + 1));
        if (f == u"ltrim")
            return Value(s.substr(first));
        return Value(s.substr(0, last + 1));
    }
    if (f == u"replace") {
        arity(args, 3, 6);
        if (nullIn(0) || nullIn(1) || nullIn(2)) {
            return Value::null();
        }
        const std::u16string s = text(0);
        const std::u16string find = text(1);
        const std::u16string with = text(2);
        const std::int32_t start = args.size() > 3 ? toLong(args[3]) : 1;
        std::int32_t count = args.size() > 4 ? toLong(args[4]) : -1;
        const bool textCompare = args.size() > 5 && toLong(args[5]) == 1;
        if (start < 1 || count < -1) {
            throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
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
        return checked(std::move(out));
    }
    if (f == u"instr") {
        arity(args, 2, 4);
        size_t first = 0;
        std::int32_t start = 1;
        if (args.size() >= 3) {
            start = toLong(args[0]);
            first = 1;
            if (start < 1) {
                throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
            }
        }
        if (nullIn(first) || nullIn(first + 1)) {
            return Value::null();
        }
        const bool textCompare = args.size() == 4 && toLong(args[3]) == 1;
        std::u16string s = text(first);
        std::u16string find = text(first + 1);
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
    if (f == u"chr") {
        arity(args, 1, 1);
        const std::int32_t code = toLong(args[0]);
        if (code < 0 || code > 255) {
            throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
        }
        // Codes above 127 are single bytes of the Chinese code page, no character on their own.
        return Value(std::u16string(1, code < 128 ? static_cast<char16_t>(code) : u'\uFFFD'));
    }
    if (f == u"asc") {
        arity(args, 1, 1);
        const std::u16string s = text(0);
        if (s.empty()) {
            throw ScriptError::runtime(ErrorNumber::InvalidProcedureCall);
        }
        return Value(static_cast<std::int32_t>(s[0]));
    }
    if (f == u"cstr") {
        arity(args, 1, 1);
        return Value(text(0));
    }
    if (f == u"cint") {
        arity(args, 1, 1);
        const std::int32_t n = toLong(args[0]);
        if (n < -32768 || n > 32767) {
            throw ScriptError::runtime(ErrorNumber::Overflow);
        }
        return Value(n);
    }
    if (f == u"clng") {
        arity(args, 1, 1);
        return Value(toLong(args[0]));
    }
    if (f == u"cdbl") {
        arity(args, 1, 1);
        return Value(toDouble(args[0]));
    }
    if (f == u"cbool") {
        arity(args, 1, 1);
        return Value(toBool(args[0]));
    }
    if (f == u"isempty") {
        arity(args, 1, 1);
        return Value(args[0].isEmpty());
    }
    if (f == u"isnull") {
        arity(args, 1, 1);
        return Value(args[0].isNull());
    }
    if (f == u"isnumeric") {
        arity(args, 1, 1);
        const Value& v = args[0];
        return Value(v.isEmpty() || v.isNumeric() || (v.type() == Type::String && isNumericText(v.asString())));
    }
    if (f == u"msgbox") {
        arity(args, 1, 5);
        const std::u16string prompt = nullIn(0) ? std::u16string() : text(0);
        const std::int32_t buttons = args.size() > 1 ? toLong(args[1]) : 0;
        const std::u16string title = args.size() > 2 ? text(2) : std::u16string(u"VBScript");
        return Value(static_cast<std::int32_t>(engine_.msgBox ? engine_.msgBox(prompt, buttons, title) : 1));
    }
    found = false;
    return {};
}

} // namespace kivo::script
