#pragma once

#include "service/json/jsonvalue.h"

#include <vector>

namespace kivo::json {

/// @brief An ordered list with 1-based positions.
class Collection {
public:
    /// @brief The element at 1-based `index`; throws RuntimeError 9 outside 1..Count.
    const JsonValue& Item(int index) const;
    void Add(JsonValue value) { items_.push_back(std::move(value)); }
    int Count() const { return static_cast<int>(items_.size()); }

    std::vector<JsonValue>::const_iterator begin() const { return items_.begin(); }
    std::vector<JsonValue>::const_iterator end() const { return items_.end(); }

private:
    std::vector<JsonValue> items_;
};

} // namespace kivo::json
