#include "platform/script/scriptevaluator.h"

#include "platform/script/scriptbuiltins.h"
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
        if (l == u"#true#") {
            return true;
        }
        if (l == u"#false#") {
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
        if (e.op == Operator::Negate) {
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

Value Evaluator::binary(Operator op, const Value& a, const Value& b) {
    switch (op) {
    case Operator::Concatenate:
        return checked((a.isNull() ? std::u16string() : toString(a)) + (b.isNull() ? std::u16string() : toString(b)));
    case Operator::Equal:
    case Operator::NotEqual:
    case Operator::Less:
    case Operator::Greater:
    case Operator::LessOrEqual:
    case Operator::GreaterOrEqual:
        return compare(op, a, b);
    case Operator::Is:
        if (a.type() == Type::Nothing || b.type() == Type::Nothing) {
            return Value(a.type() == b.type());
        }
        if (a.type() != Type::Object || b.type() != Type::Object) {
            throw ScriptError::runtime(ErrorNumber::ObjectRequired);
        }
        return Value(a.asObject() == b.asObject());
    case Operator::And:
    case Operator::Or:
    case Operator::Xor:
    case Operator::Eqv:
    case Operator::Imp:
        return logical(op, a, b);
    default:
        break;
    }
    if (a.isNull() || b.isNull()) {
        return Value::null();
    }
    switch (op) {
    case Operator::Add:
        if (a.type() == Type::String && b.type() == Type::String) {
            return checked(a.asString() + b.asString());
        }
        if ((a.type() == Type::String && b.isEmpty()) || (a.isEmpty() && b.type() == Type::String)) {
            return checked(toString(a) + toString(b));
        }
        [[fallthrough]];
    case Operator::Subtract:
    case Operator::Multiply: {
        auto apply = [op](auto x, auto y) {
            return op == Operator::Add ? x + y : op == Operator::Subtract ? x - y : x * y;
        };
        if (isWhole(a) && isWhole(b)) {
            return widen(apply(static_cast<long long>(toDouble(a)), static_cast<long long>(toDouble(b))));
        }
        return fromDouble(apply(toDouble(a), toDouble(b)));
    }
    case Operator::Divide: {
        const double y = toDouble(b);
        if (y == 0) {
            throw ScriptError::runtime(ErrorNumber::DivisionByZero);
        }
        return fromDouble(toDouble(a) / y);
    }
    case Operator::IntegerDivide:
    case Operator::Modulo: {
        const std::int32_t x = toLong(a);
        const std::int32_t y = toLong(b);
        if (y == 0) {
            throw ScriptError::runtime(ErrorNumber::DivisionByZero);
        }
        return widen(op == Operator::Modulo ? static_cast<long long>(x) % y : static_cast<long long>(x) / y);
    }
    case Operator::Power:
        return fromDouble(std::pow(toDouble(a), toDouble(b)));
    default:
        throw ScriptError::syntax(ErrorNumber::SyntaxError);
    }
}

// And, Or, Xor, Eqv and Imp: on two Booleans a Boolean, otherwise bitwise on Longs.
Value Evaluator::logical(Operator op, const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) {
        return withNull(op, a, b);
    }
    auto apply = [op](auto x, auto y) {
        switch (op) {
        case Operator::And:
            return x & y;
        case Operator::Or:
            return x | y;
        case Operator::Xor:
            return x ^ y;
        case Operator::Eqv:
            return ~(x ^ y);
        default:
            return ~x | y;
        }
    };
    if (a.type() == Type::Boolean && b.type() == Type::Boolean) {
        // As one-bit numbers: ~ of a bit keeps only its lowest bit.
        return Value((apply(a.asBool() ? 1 : 0, b.asBool() ? 1 : 0) & 1) != 0);
    }
    return Value(static_cast<std::int32_t>(apply(toLong(a), toLong(b))));
}

// Null is "unknown": a result that the known side decides alone stands (False And Null is
// False, True Or Null is True, False Imp Null and Null Imp True are True); otherwise Null.
Value Evaluator::withNull(Operator op, const Value& a, const Value& b) {
    const bool aNull = a.isNull();
    const Value& known = aNull ? b : a;
    if (known.isNull()) {
        return Value::null();
    }
    const std::int32_t bits = toLong(known);
    const bool boolean = known.type() == Type::Boolean;
    switch (op) {
    case Operator::And:
        if (bits == 0) {
            return boolean ? Value(false) : Value(0);
        }
        break;
    case Operator::Or:
        if (bits == -1) {
            return boolean ? Value(true) : Value(-1);
        }
        break;
    case Operator::Imp:
        if ((aNull && bits == -1) || (!aNull && bits == 0)) {
            return boolean ? Value(true) : Value(-1);
        }
        break;
    default:
        break;
    }
    return Value::null();
}

Value Evaluator::compare(Operator op, const Value& a, const Value& b) {
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
    switch (op) {
    case Operator::Equal:
        return Value(order == 0);
    case Operator::NotEqual:
        return Value(order != 0);
    case Operator::Less:
        return Value(order < 0);
    case Operator::Greater:
        return Value(order > 0);
    case Operator::LessOrEqual:
        return Value(order <= 0);
    default:
        return Value(order >= 0);
    }
}

// ---- built-in functions ----

Value Evaluator::builtin(const std::u16string& f, std::vector<Value>& args, bool& found) {
    const Builtin* function = FindBuiltin(f);
    found = function != nullptr;
    if (!found) {
        return {};
    }
    arity(args, function->least, function->most);
    return function->run(args, engine_);
}

} // namespace kivo::script
