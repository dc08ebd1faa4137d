#include "service/json/dictionary.h"

#include "service/json/runtimeerror.h"

namespace kivo::json {

const JsonValue& Dictionary::Item(std::u16string_view key) const {
    static const JsonValue empty;
    const std::ptrdiff_t i = find(key);
    return i < 0 ? empty : entries_[static_cast<size_t>(i)].second;
}

bool Dictionary::Exists(std::u16string_view key) const {
    return find(key) >= 0;
}

std::ptrdiff_t Dictionary::find(std::u16string_view key) const {
    if (index_) {
        const auto it = index_->find(std::u16string(key));
        return it == index_->end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].first == key) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

void Dictionary::Add(std::u16string&& key, JsonValue&& value) {
    if (find(key) >= 0) {
        throw RuntimeError::duplicateKey();
    }
    if (index_) {
        index_->emplace(key, entries_.size());
    }
    entries_.emplace_back(std::move(key), std::move(value));
    if (!index_ && entries_.size() > kIndexThreshold) {
        index_ = std::make_unique<std::unordered_map<std::u16string, size_t>>();
        for (size_t i = 0; i < entries_.size(); ++i) {
            index_->emplace(entries_[i].first, i);
        }
    }
}

void Dictionary::Add(const std::u16string& key, const JsonValue& value) {
    Add(std::u16string(key), JsonValue(value));
}

void Dictionary::Set(std::u16string_view key, JsonValue value) {
    const std::ptrdiff_t i = find(key);
    if (i >= 0) {
        entries_[static_cast<size_t>(i)].second = std::move(value);
    } else {
        Add(std::u16string(key), std::move(value));
    }
}

std::vector<std::u16string> Dictionary::keys() const {
    std::vector<std::u16string> result;
    result.reserve(entries_.size());
    for (const auto& [key, value] : entries_) {
        result.push_back(key);
    }
    return result;
}

} // namespace kivo::json
