#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace kivo::script {

class ScriptObject;

/// @brief A VBScript variant: Empty, Null, Boolean, Long (32-bit), Double, String, an object
/// reference, or Nothing.
class Value {
public:
    enum class Type { Empty, Null, Boolean, Long, Double, String, Object, Nothing };

    Value() = default;
    static Value null();
    static Value nothing();
    Value(bool b) : data_(b) {}
    Value(std::int32_t n) : data_(n) {}
    Value(double d) : data_(d) {}
    Value(std::u16string s) : data_(std::move(s)) {}
    Value(const char16_t* s) : data_(std::u16string(s)) {}
    Value(std::shared_ptr<ScriptObject> o) : data_(std::move(o)) {}

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumeric() const { return type() == Type::Long || type() == Type::Double || type() == Type::Boolean; }

    bool asBool() const { return std::get<bool>(data_); }
    std::int32_t asLong() const { return std::get<std::int32_t>(data_); }
    double asDouble() const { return std::get<double>(data_); }
    const std::u16string& asString() const { return std::get<std::u16string>(data_); }
    const std::shared_ptr<ScriptObject>& asObject() const { return std::get<std::shared_ptr<ScriptObject>>(data_); }

private:
    struct NullTag {};
    struct NothingTag {};
    std::variant<std::monostate, NullTag, bool, std::int32_t, double, std::u16string, std::shared_ptr<ScriptObject>,
                 NothingTag>
        data_;
};

/// @brief An object the owner adds to the engine: the only things a statement can reach.
class ScriptObject {
public:
    virtual ~ScriptObject() = default;
    /// @brief Whether `name` (lower-cased) is a method or property of the object.
    virtual bool hasMember(const std::u16string& lowerName) const = 0;
    /// @brief Calls a member with its arguments (passed by value); throws ScriptError.
    virtual Value call(const std::u16string& lowerName, std::vector<Value>& args) = 0;
};

} // namespace kivo::script
