#pragma once

#include "service/json/decimal.h"

#include <memory>
#include <string>
#include <variant>

namespace kivo::json {

class Dictionary;
class Collection;
class ValueArray;

/// @brief One value of the JSON model: empty, null, a reference to nothing, a boolean, an exact
/// decimal, UTF-16 text, or a reference to a Dictionary, a Collection or a native ValueArray.
/// Containers are shared by reference, as objects are; copying a value copies the reference.
class JsonValue {
public:
    enum class Kind { Empty, Null, Nothing, Boolean, Number, Text, Dictionary, Collection, Array };

    JsonValue() = default; // the empty value
    JsonValue(bool value) : data_(value) {}
    JsonValue(Decimal value) : data_(value) {}
    JsonValue(int value) : data_(Decimal(value)) {}
    JsonValue(std::u16string value) : data_(std::move(value)) {}
    JsonValue(const char16_t* value) : data_(std::u16string(value)) {}
    JsonValue(std::shared_ptr<Dictionary> value);
    JsonValue(std::shared_ptr<Collection> value);
    JsonValue(std::shared_ptr<ValueArray> value);

    static JsonValue null();
    static JsonValue nothing();

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNothing() const { return kind() == Kind::Nothing; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isCollection() const { return kind() == Kind::Collection; }
    bool isArray() const { return kind() == Kind::Array; }

    /// @brief Accessors for the value of a known kind; the wrong kind gives a default
    /// (false, 0, empty text, a null pointer) rather than failing.
    bool boolean() const;
    Decimal number() const;
    const std::u16string& text() const;
    std::shared_ptr<Dictionary> dictionary() const;
    std::shared_ptr<Collection> collection() const;
    std::shared_ptr<ValueArray> array() const;
    /// @brief The container itself, without touching its reference count, or null.
    const Dictionary* asDictionary() const;
    const Collection* asCollection() const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct NothingTag {
        bool operator==(const NothingTag&) const = default;
    };
    using Data = std::variant<std::monostate, NullTag, NothingTag, bool, Decimal, std::u16string,
                              std::shared_ptr<Dictionary>, std::shared_ptr<Collection>, std::shared_ptr<ValueArray>>;

    Data data_;
};

} // namespace kivo::json
