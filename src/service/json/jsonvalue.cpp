#include "service/json/jsonvalue.h"

#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/valuearray.h"

namespace kivo::json {

JsonValue::JsonValue(std::shared_ptr<Dictionary> value) : data_(std::move(value)) {}
JsonValue::JsonValue(std::shared_ptr<Collection> value) : data_(std::move(value)) {}
JsonValue::JsonValue(std::shared_ptr<ValueArray> value) : data_(std::move(value)) {}

JsonValue JsonValue::null() {
    JsonValue v;
    v.data_ = NullTag{};
    return v;
}

JsonValue JsonValue::nothing() {
    JsonValue v;
    v.data_ = NothingTag{};
    return v;
}

bool JsonValue::boolean() const {
    const bool* p = std::get_if<bool>(&data_);
    return p != nullptr && *p;
}

Decimal JsonValue::number() const {
    const Decimal* p = std::get_if<Decimal>(&data_);
    return p != nullptr ? *p : Decimal();
}

const std::u16string& JsonValue::text() const {
    static const std::u16string empty;
    const std::u16string* p = std::get_if<std::u16string>(&data_);
    return p != nullptr ? *p : empty;
}

std::shared_ptr<Dictionary> JsonValue::dictionary() const {
    const auto* p = std::get_if<std::shared_ptr<Dictionary>>(&data_);
    return p != nullptr ? *p : nullptr;
}

std::shared_ptr<Collection> JsonValue::collection() const {
    const auto* p = std::get_if<std::shared_ptr<Collection>>(&data_);
    return p != nullptr ? *p : nullptr;
}

std::shared_ptr<ValueArray> JsonValue::array() const {
    const auto* p = std::get_if<std::shared_ptr<ValueArray>>(&data_);
    return p != nullptr ? *p : nullptr;
}

} // namespace kivo::json

namespace kivo::json {

const Dictionary* JsonValue::asDictionary() const {
    const auto* p = std::get_if<std::shared_ptr<Dictionary>>(&data_);
    return p != nullptr ? p->get() : nullptr;
}

const Collection* JsonValue::asCollection() const {
    const auto* p = std::get_if<std::shared_ptr<Collection>>(&data_);
    return p != nullptr ? p->get() : nullptr;
}

} // namespace kivo::json
