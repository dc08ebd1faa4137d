#pragma once

#include "platform/script/scriptscanner.h"
#include "platform/script/scriptvalue.h"

#include <memory>
#include <string>
#include <vector>

namespace kivo::script {

/// @brief The operators, set once by the parser.
enum class Operator {
    Imp,
    Eqv,
    Xor,
    Or,
    And,
    Not,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
    Is,
    Concatenate,
    Add,
    Subtract,
    Modulo,
    IntegerDivide,
    Multiply,
    Divide,
    Power,
    Negate
};

/// @brief An expression of a statement.
struct Expr {
    enum class Kind { Literal, Name, Member, Call, Unary, Binary };
    Kind kind = Kind::Literal;
    Value literal;               // Literal
    std::u16string name;         // Name, Member: the name as written
    std::u16string lower;        // its case-folded form
    Operator op = Operator::Add; // Unary, Binary
    std::unique_ptr<Expr> left;  // Member, Call: the target; Unary: the operand; Binary: the left side
    std::unique_ptr<Expr> right;
    std::vector<std::unique_ptr<Expr>> args; // Call
    bool parenthesised = false;              // written inside "( )" as a whole
};

/// @brief A statement of the line.
struct Stmt {
    enum class Kind { Empty, Dim, Assign, Call, If };
    Kind kind = Kind::Empty;
    std::vector<std::u16string> names;       // Dim
    std::unique_ptr<Expr> target;            // Assign: what is set; Call: what is called
    std::unique_ptr<Expr> value;             // Assign: the value; If: the condition
    std::vector<std::unique_ptr<Expr>> args; // Call
    std::vector<std::unique_ptr<Stmt>> then; // If
    std::vector<std::unique_ptr<Stmt>> otherwise;
};

/// @brief Parses one line: statements separated by ":". Throws ScriptError (compilation
/// errors 1002, 1025, 1044, ...; 28 for nesting beyond the engine's limit).
std::vector<std::unique_ptr<Stmt>> Parse(const std::vector<Token>& tokens);

} // namespace kivo::script
