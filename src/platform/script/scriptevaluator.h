#pragma once

#include "platform/script/scriptparser.h"

namespace kivo::script {

class ScriptEngine;

/// @brief Runs parsed statements against an engine's state, with VBScript's conversions.
class Evaluator {
public:
    explicit Evaluator(ScriptEngine& engine) : engine_(engine) {}

    void run(const std::vector<std::unique_ptr<Stmt>>& statements);

    // VBScript's conversions; each throws ScriptError 13 (or 94 for Null) where VBScript does.
    static std::u16string toString(const Value& v);
    static double toDouble(const Value& v);
    static std::int32_t toLong(const Value& v);
    static bool toBool(const Value& v);
    static bool isNumericText(const std::u16string& text, double* value = nullptr);
    /// A text result, refused (ScriptError 14) beyond the engine's string limit.
    static Value checked(std::u16string s);

private:
    void exec(const Stmt& s);
    Value eval(const Expr& e);
    Value call(const Expr& target, std::vector<Value>& args, bool statement);
    Value callName(const std::u16string& lower, const std::u16string& name, std::vector<Value>& args, bool hasArgs);
    Value builtin(const std::u16string& lower, std::vector<Value>& args, bool& found);
    Value binary(Operator op, const Value& a, const Value& b);
    Value logical(Operator op, const Value& a, const Value& b);
    Value withNull(Operator op, const Value& a, const Value& b);
    Value compare(Operator op, const Value& a, const Value& b);
    void step();

    ScriptEngine& engine_;
    long steps_ = 0;
};

} // namespace kivo::script
