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
    const size_t needed = static_cast<size_t>(used_) + extra;
    const size_t chunk = static_cast<size_t>(chunk_);
    const size_t chunks = (needed - buffer_.size() + chunk - 1) / chunk;
    const size_t capacity = buffer_.size() + chunks * chunk;
    if (capacity > static_cast<size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw RuntimeError::outOfMemory();
    }
    buffer_.resize(capacity, u' ');
}

void cStringBuilder::TheString(std::u16string_view sThis) {
    if (sThis.empty()) {
        Clear();
        return;
    }
    used_ = 0;
    Append(sThis);
}

void cStringBuilder::Clear() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    used_ = 0;
}

void cStringBuilder::AppendNL(std::u16string_view sThis) {
    Append(sThis);
    Append(u"\r\n");
}

void cStringBuilder::Insert(std::int32_t iIndex, std::u16string_view sThis) {
    if (iIndex < 0) {
        throw RuntimeError::invalidArgument();
    }
    if (iIndex > used_) {
        throw RuntimeError::subscriptOutOfRange();
    }
    const size_t n = sThis.size();
    if (n == 0) {
        return;
    }
    // Copy first: sThis may point into our own buffer.
    const std::u16string copy(sThis);
    if (static_cast<size_t>(used_) + n > buffer_.size()) {
        grow(n);
    }
    char16_t* data = buffer_.data();
    std::copy_backward(data + iIndex, data + used_, data + used_ + n);
    std::copy(copy.begin(), copy.end(), data + iIndex);
    used_ += static_cast<std::int32_t>(n);
}

void cStringBuilder::Remove(std::int32_t iIndex, std::int32_t lLen) {
    if (iIndex < 0 || lLen < 0) {
        throw RuntimeError::invalidArgument();
    }
    if (iIndex > used_ || static_cast<std::int64_t>(iIndex) + lLen > used_) {
        throw RuntimeError::subscriptOutOfRange();
    }
    char16_t* data = buffer_.data();
    std::copy(data + iIndex + lLen, data + used_, data + iIndex);
    used_ -= lLen;
}

std::int32_t cStringBuilder::Find(std::u16string_view sToFind, std::int32_t lStartIndex, int compare) const {
    const std::u16string_view content = view();
    const size_t start = lStartIndex <= 0 ? 0 : static_cast<size_t>(lStartIndex - 1);
    if (start > content.size()) {
        return 0;
    }
    size_t found = std::u16string_view::npos;
    if (compare == 1) {
        const auto it = std::search(content.begin() + static_cast<std::ptrdiff_t>(start), content.end(),
                                    sToFind.begin(), sToFind.end(),
                                    [](char16_t a, char16_t b) { return foldCase(a) == foldCase(b); });
        if (it != content.end() || sToFind.empty()) {
            found = static_cast<size_t>(it - content.begin());
        }
    } else {
        found = content.find(sToFind, start);
    }
    return found == std::u16string_view::npos ? 0 : static_cast<std::int32_t>(found + 1);
}

void cStringBuilder::HeapMinimize() {
    size_t capacity = buffer_.size();
    const size_t chunk = static_cast<size_t>(chunk_);
    const size_t spare = capacity - static_cast<size_t>(used_);
    if (spare > chunk) {
        capacity -= (spare - chunk + chunk - 1) / chunk * chunk; // leaves at most one chunk spare
    }
    buffer_.resize(capacity);
    buffer_.shrink_to_fit();
}

} // namespace kivo::json
