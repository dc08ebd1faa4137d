#include "service/json/valuearray.h"

#include "service/json/runtimeerror.h"

namespace kivo::json {

namespace {
size_t extent(const ValueArray::Bounds& b) {
    return b.second < b.first ? 0 : static_cast<size_t>(b.second - b.first + 1);
}
} // namespace

ValueArray::ValueArray(std::vector<Bounds> bounds) : bounds_(std::move(bounds)) {
    size_t total = bounds_.empty() ? 0 : 1;
    for (const auto& b : bounds_) {
        total *= extent(b);
    }
    items_.resize(total);
}

size_t ValueArray::offset(const std::vector<int>& index) const {
    if (index.size() != bounds_.size()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    size_t result = 0;
    for (size_t d = 0; d < bounds_.size(); ++d) {
        if (index[d] < bounds_[d].first || index[d] > bounds_[d].second) {
            throw RuntimeError::subscriptOutOfRange();
        }
        result = result * extent(bounds_[d]) + static_cast<size_t>(index[d] - bounds_[d].first);
    }
    return result;
}

const JsonValue& ValueArray::at(const std::vector<int>& index) const {
    return items_[offset(index)];
}

void ValueArray::set(const std::vector<int>& index, JsonValue value) {
    items_[offset(index)] = std::move(value);
}

} // namespace kivo::json
