#include "platform/script/scriptparser.h"

#include "platform/script/scripterror.h"

#include <cmath>
#include <limits>
#include <utility>

namespace kivo::script {

namespace {

constexpr int kMaxDepth = 200;

class Parser {
public:
    explicit Parser(const std::vector<Token>& tokens) : t_(tokens) {}

    std::vector<std::unique_ptr<Stmt>> line() {
        auto list = statements(false);
        if (!peek().kind_is_end()) {
            fail(ErrorNumber::ExpectedEndOfStatement);
        }
        return list;
    }

private:
    struct Peek {
        const Token& t;
        bool kind_is_end() const { return t.kind == Token::Kind::End; }
    };
    Peek peek() const { return {t_[pos_]}; }
    const Token& cur() const { return t_[pos_]; }
    const Token& take() { return t_[pos_ < t_.size() - 1 ? pos_++ : pos_]; }
    bool accept(std::u16string_view op) {
        if (cur().is(op)) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool acceptWord(std::u16string_view w) {
        if (cur().isWord(w)) {
            ++pos_;
            return true;
        }
        return false;
    }
    void expect(std::u16string_view op, ErrorNumber error) {
        if (!accept(op)) {
            fail(error);
        }
    }
    // A compilation error where the parser stands.
    [[noreturn]] void fail(ErrorNumber error) const { throw ScriptError::syntax(error, cur().position); }
    bool atStatementEnd() const { return cur().kind == Token::Kind::End || cur().is(u":") || cur().isWord(u"else"); }

    struct DepthGuard {
        explicit DepthGuard(int& d) : d_(d) {
            if (++d_ > kMaxDepth) {
                throw ScriptError::runtime(ErrorNumber::OutOfStackSpace);
            }
        }
        ~DepthGuard() { --d_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
        int& d_;
    };

    // statements separated by ":"; inside an If, "Else" ends the list
    std::vector<std::unique_ptr<Stmt>> statements(bool inIf) {
        std::vector<std::unique_ptr<Stmt>> list;
        for (;;) {
            if (inIf && cur().isWord(u"else")) {
                return list;
            }
            list.push_back(statement());
            if (!accept(u":")) {
                return list;
            }
        }
    }

    std::unique_ptr<Stmt> statement() {
        DepthGuard guard(depth_);
        auto s = std::make_unique<Stmt>();
        if (atStatementEnd()) {
            return s; // the empty statement
        }
        if (acceptWord(u"dim")) {
            s->kind = Stmt::Kind::Dim;
            do {
                if (cur().kind != Token::Kind::Identifier) {
                    fail(ErrorNumber::ExpectedIdentifier);
                }
                s->names.push_back(take().lower);
            } while (accept(u","));
            return s;
        }
        if (acceptWord(u"if")) {
            s->kind = Stmt::Kind::If;
            s->value = expression();
            if (!acceptWord(u"then")) {
                fail(ErrorNumber::ExpectedThen);
            }
            s->then = statements(true);
            if (acceptWord(u"else")) {
                s->otherwise = statements(true);
            }
            acceptWord(u"end") && acceptWord(u"if"); // a trailing "End If" is allowed
            return s;
        }
        if (acceptWord(u"call")) {
            s->kind = Stmt::Kind::Call;
            auto target = postfix(primary());
            if (target->kind == Expr::Kind::Call) {
                s->args = std::move(target->args);
                s->target = std::move(target->left);
            } else {
                s->target = std::move(target);
            }
            return s;
        }
        const bool set = acceptWord(u"set");
        auto target = postfix(primary());
        if (accept(u"=")) {
            if (target->kind != Expr::Kind::Name && target->kind != Expr::Kind::Member) {
                fail(ErrorNumber::SyntaxError);
            }
            s->kind = Stmt::Kind::Assign;
            s->target = std::move(target);
            s->value = expression();
            return s;
        }
        if (set) {
            fail(ErrorNumber::ExpectedEquals);
        }
        if (target->kind != Expr::Kind::Name && target->kind != Expr::Kind::Member &&
            target->kind != Expr::Kind::Call) {
            fail(ErrorNumber::SyntaxError);
        }
        s->kind = Stmt::Kind::Call;
        if (atStatementEnd()) {
            // CMD("loading"): the parentheses only group the one argument.
            if (target->kind == Expr::Kind::Call) {
                if (target->args.size() > 1) {
                    fail(ErrorNumber::ParenthesesOnSubCall);
                }
                s->args = std::move(target->args);
                s->target = std::move(target->left);
            } else {
                s->target = std::move(target);
            }
            return s;
        }
        // MyCMD.CMD "sys", "x": arguments without parentheses; a leading "(...)" belongs to the first.
        if (target->kind == Expr::Kind::Call && target->args.size() == 1) {
            auto first = std::move(target->args.front());
            s->target = std::move(target->left);
            s->args.push_back(continueExpression(std::move(first)));
            while (accept(u",")) {
                s->args.push_back(expression());
            }
        } else if (target->kind == Expr::Kind::Call) {
            fail(ErrorNumber::ParenthesesOnSubCall);
        } else {
            s->target = std::move(target);
            do {
                s->args.push_back(expression());
            } while (accept(u","));
        }
        if (!atStatementEnd()) {
            fail(ErrorNumber::ExpectedEndOfStatement);
        }
        return s;
    }

    // ---- expressions, lowest precedence first ----
    std::unique_ptr<Expr> expression() {
        DepthGuard guard(depth_);
        return binaryLevel(ImpLevel);
    }

    // Continues an expression whose first operand was already read (a parenthesised first
    // argument followed by operators).
    std::unique_ptr<Expr> continueExpression(std::unique_ptr<Expr> first) {
        first->parenthesised = true;
        seed_ = std::move(first);
        return binaryLevel(ImpLevel);
    }

    // Binary operators from the loosest binding to the tightest; "Not" binds between And and the
    // comparisons, "^" and the signs tighter than all of these.
    enum Precedence : size_t {
        ImpLevel,
        EqvLevel,
        XorLevel,
        OrLevel,
        AndLevel,
        NotLevel,
        ComparisonLevel,
        ConcatenationLevel,
        AdditiveLevel,
        ModuloLevel,
        IntegerDivisionLevel,
        MultiplicativeLevel,
        LevelCount
    };
    struct Spelling {
        std::u16string_view text;
        Operator op;
    };
    static const std::vector<Spelling>& operatorsOf(size_t level) {
        static const std::vector<Spelling> table[LevelCount] = {
            {{u"imp", Operator::Imp}},
            {{u"eqv", Operator::Eqv}},
            {{u"xor", Operator::Xor}},
            {{u"or", Operator::Or}},
            {{u"and", Operator::And}},
            {}, // Not is unary
            {{u"=", Operator::Equal},
             {u"<>", Operator::NotEqual},
             {u"<", Operator::Less},
             {u">", Operator::Greater},
             {u"<=", Operator::LessOrEqual},
             {u">=", Operator::GreaterOrEqual},
             {u"is", Operator::Is}},
            {{u"&", Operator::Concatenate}},
            {{u"+", Operator::Add}, {u"-", Operator::Subtract}},
            {{u"mod", Operator::Modulo}},
            {{u"\\", Operator::IntegerDivide}},
            {{u"*", Operator::Multiply}, {u"/", Operator::Divide}},
        };
        return table[level];
    }

    bool matches(size_t level, Operator& op) const {
        for (const Spelling& candidate : operatorsOf(level)) {
            if ((cur().kind == Token::Kind::Operator && cur().text == candidate.text) || cur().isWord(candidate.text)) {
                op = candidate.op;
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<Expr> binaryLevel(size_t level) {
        if (level == LevelCount) {
            return unary();
        }
        if (level == NotLevel) {
            if (!seed_ && cur().isWord(u"not")) {
                ++pos_;
                DepthGuard guard(depth_);
                auto e = std::make_unique<Expr>();
                e->kind = Expr::Kind::Unary;
                e->op = Operator::Not;
                e->left = binaryLevel(NotLevel);
                return e;
            }
            return binaryLevel(level + 1);
        }
        auto left = binaryLevel(level + 1);
        Operator op{};
        while (matches(level, op)) {
            ++pos_;
            DepthGuard guard(depth_);
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Binary;
            e->op = op;
            e->left = std::move(left);
            e->right = binaryLevel(level + 1);
            left = std::move(e);
        }
        return left;
    }

    // Signs bind tighter than "^": -3 ^ 2 is 9.
    std::unique_ptr<Expr> unary() { return power(); }

    std::unique_ptr<Expr> power() {
        auto left = seed_ ? std::exchange(seed_, nullptr) : signedOperand();
        while (accept(u"^")) {
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Binary;
            e->op = Operator::Power;
            e->left = std::move(left);
            DepthGuard guard(depth_);
            e->right = signedOperand();
            left = std::move(e);
        }
        return left;
    }

    std::unique_ptr<Expr> signedOperand() {
        if (cur().is(u"-") || cur().is(u"+")) {
            const bool negate = take().text == u"-";
            DepthGuard guard(depth_);
            auto operand = signedOperand();
            if (!negate) {
                return operand;
            }
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Unary;
            e->op = Operator::Negate;
            e->left = std::move(operand);
            return e;
        }
        return postfix(primary());
    }

    std::unique_ptr<Expr> primary() {
        DepthGuard guard(depth_);
        const Token& t = cur();
        auto e = std::make_unique<Expr>();
        switch (t.kind) {
        case Token::Kind::Number:
            ++pos_;
            if (t.integral && t.number >= std::numeric_limits<std::int32_t>::min() &&
                t.number <= std::numeric_limits<std::int32_t>::max()) {
                e->literal = Value(static_cast<std::int32_t>(t.number));
            } else {
                e->literal = Value(t.number);
            }
            return e;
        case Token::Kind::String:
            ++pos_;
            e->literal = Value(t.text);
            return e;
        case Token::Kind::Identifier:
            ++pos_;
            if (t.lower == u"true" || t.lower == u"false") {
                e->literal = Value(t.lower == u"true");
            } else if (t.lower == u"empty") {
                e->literal = Value();
            } else if (t.lower == u"null") {
                e->literal = Value::null();
            } else if (t.lower == u"nothing") {
                e->literal = Value::nothing();
            } else if (isReserved(t.lower)) {
                fail(ErrorNumber::SyntaxError);
            } else {
                e->kind = Expr::Kind::Name;
                e->name = t.text;
                e->lower = t.lower;
            }
            return e;
        case Token::Kind::Operator:
            if (accept(u"(")) {
                auto inner = expression();
                expect(u")", ErrorNumber::ExpectedCloseParen);
                inner->parenthesised = true;
                return inner;
            }
            [[fallthrough]];
        default:
            fail(ErrorNumber::SyntaxError);
        }
    }

    std::unique_ptr<Expr> postfix(std::unique_ptr<Expr> e) {
        for (;;) {
            if (cur().is(u".")) {
                ++pos_;
                if (cur().kind != Token::Kind::Identifier) {
                    fail(ErrorNumber::ExpectedIdentifier);
                }
                auto m = std::make_unique<Expr>();
                m->kind = Expr::Kind::Member;
                m->name = cur().text;
                m->lower = cur().lower;
                ++pos_;
                m->left = std::move(e);
                e = std::move(m);
            } else if ((e->kind == Expr::Kind::Name || e->kind == Expr::Kind::Member) && cur().is(u"(")) {
                ++pos_;
                auto c = std::make_unique<Expr>();
                c->kind = Expr::Kind::Call;
                c->left = std::move(e);
                if (!accept(u")")) {
                    do {
                        c->args.push_back(expression());
                    } while (accept(u","));
                    expect(u")", ErrorNumber::ExpectedCloseParen);
                }
                e = std::move(c);
            } else {
                return e;
            }
        }
    }

    static bool isReserved(const std::u16string& w) {
        static const std::u16string_view words[] = {u"and", u"or",   u"xor", u"not", u"mod", u"then", u"else", u"if",
                                                    u"dim", u"call", u"set", u"end", u"is",  u"eqv",  u"imp"};
        for (auto r : words) {
            if (w == r) {
                return true;
            }
        }
        return false;
    }

    const std::vector<Token>& t_;
    size_t pos_ = 0;
    int depth_ = 0;
    std::unique_ptr<Expr> seed_;
};

} // namespace

std::vector<std::unique_ptr<Stmt>> Parse(const std::vector<Token>& tokens) {
    return Parser(tokens).line();
}

} // namespace kivo::script
