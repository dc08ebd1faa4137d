#pragma once

#include "service/json/jsonvalue.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kivo::json {

/// @brief A keyed map with exact (case-sensitive, code unit by code unit) keys, enumerated in the
/// order in which they were added. A key occurs at most once; a missing key reads as empty.
class Dictionary {
public:
    using Entry = std::pair<std::u16string, JsonValue>;

    /// @brief The value under `key`, or the empty value.
    const JsonValue& Item(std::u16string_view key) const;
    bool Exists(std::u16string_view key) const;
    /// @brief Adds a member; throws RuntimeError 457 when the key is present (the key is then
    /// left untouched).
    void Add(std::u16string&& key, JsonValue&& value);
    void Add(const std::u16string& key, const JsonValue& value);
    /// @brief Replaces the value under `key`, adding the member when missing.
    void Set(std::u16string_view key, JsonValue value);
    int Count() const { return static_cast<int>(entries_.size()); }
    std::vector<std::u16string> keys() const;

    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    // Below this many members a linear scan beats hashing.
    static constexpr size_t kIndexThreshold = 12;

    std::ptrdiff_t find(std::u16string_view key) const;

    std::vector<Entry> entries_;
    std::unique_ptr<std::unordered_map<std::u16string, size_t>> index_;
};

} // namespace kivo::json
