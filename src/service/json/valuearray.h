#pragma once

#include "service/json/jsonvalue.h"

#include <utility>
#include <vector>

namespace kivo::json {

/// @brief A native array of values with any number of dimensions, each with its own lower and
/// upper bound. Elements are stored with the last index varying fastest.
class ValueArray {
public:
    using Bounds = std::pair<int, int>; // lower, upper (upper < lower: the dimension is empty)

    explicit ValueArray(std::vector<Bounds> bounds);

    int dimensions() const { return static_cast<int>(bounds_.size()); }
    const Bounds& bounds(int dimension) const { return bounds_.at(static_cast<size_t>(dimension)); }
    /// @brief Element at a full index (one entry per dimension); throws RuntimeError 9 outside.
    const JsonValue& at(const std::vector<int>& index) const;
    void set(const std::vector<int>& index, JsonValue value);

private:
    size_t offset(const std::vector<int>& index) const;

    std::vector<Bounds> bounds_;
    std::vector<JsonValue> items_;
};

} // namespace kivo::json
