#include "service/json/cstringbuilder.h"

#include "service/json/runtimeerror.h"

#include <algorithm>
#include <limits>

namespace kivo::json {

namespace {

char16_t foldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 32);
    }
    return c;
}

} // namespace

void cStringBuilder::ChunkSize(std::int32_t iChunkSize) {
    if (iChunkSize <= 0) {
        throw RuntimeError::invalidArgument();
    }
    if (iChunkSize > std::numeric_limits<std::int32_t>::max() / 2) {
        throw RuntimeError::overflow();
    }
    chunk_ = iChunkSize;
}

void cStringBuilder::grow(size_t extra) {
    const size_t needed = content_.size() + extra;
    const size_t chunk = static_cast<size_t>(chunk_);
    const size_t capacity = static_cast<size_t>(capacity_);
    const size_t grown = capacity + (needed - capacity + chunk - 1) / chunk * chunk;
    if (grown > static_cast<size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw RuntimeError::outOfMemory();
    }
    capacity_ = static_cast<std::int32_t>(grown);
}

void cStringBuilder::TheString(std::u16string_view sThis) {
    if (sThis.empty()) {
        Clear();
        return;
    }
    const std::u16string copy(sThis); // sThis may view our own content
    content_.clear();
    Append(copy);
}

void cStringBuilder::Clear() {
    content_.clear();
    content_.shrink_to_fit();
    capacity_ = 0;
}

void cStringBuilder::AppendNL(std::u16string_view sThis) {
    Append(sThis);
    Append(u"\r\n");
}

void cStringBuilder::Insert(std::int32_t iIndex, std::u16string_view sThis) {
    if (iIndex < 0) {
        throw RuntimeError::invalidArgument();
    }
    if (iIndex > Length()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    const std::u16string copy(sThis); // sThis may view our own content
    if (content_.size() + copy.size() > static_cast<size_t>(capacity_)) {
        grow(copy.size());
    }
    content_.insert(static_cast<size_t>(iIndex), copy);
}

void cStringBuilder::Remove(std::int32_t iIndex, std::int32_t lLen) {
    if (iIndex < 0 || lLen < 0) {
        throw RuntimeError::invalidArgument();
    }
    if (iIndex > Length() || static_cast<std::int64_t>(iIndex) + lLen > Length()) {
        throw RuntimeError::subscriptOutOfRange();
    }
    content_.erase(static_cast<size_t>(iIndex), static_cast<size_t>(lLen));
}

std::int32_t cStringBuilder::Find(std::u16string_view sToFind, std::int32_t lStartIndex, int compare) const {
    const std::u16string_view content = view();
    const size_t start = lStartIndex <= 0 ? 0 : static_cast<size_t>(lStartIndex - 1);
    if (start > content.size()) {
        return 0;
    }
    size_t found = std::u16string_view::npos;
    if (compare == 1) {
        const auto it =
            std::search(content.begin() + static_cast<std::ptrdiff_t>(start), content.end(), sToFind.begin(),
                        sToFind.end(), [](char16_t a, char16_t b) { return foldCase(a) == foldCase(b); });
        if (it != content.end() || sToFind.empty()) {
            found = static_cast<size_t>(it - content.begin());
        }
    } else {
        found = content.find(sToFind, start);
    }
    return found == std::u16string_view::npos ? 0 : static_cast<std::int32_t>(found + 1);
}

void cStringBuilder::HeapMinimize() {
    const std::int32_t spare = capacity_ - Length();
    if (spare > chunk_) {
        capacity_ -= (spare - chunk_ + chunk_ - 1) / chunk_ * chunk_; // leaves at most one chunk spare
    }
    content_.shrink_to_fit();
}

} // namespace kivo::json
