#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::json {

/// @brief A growable text buffer. The capacity grows by whole chunks (8192 characters unless set
/// otherwise) and content is copied in place, so building a long text is linear, not quadratic.
/// All counts are UTF-16 code units. Out-of-range arguments throw RuntimeError 9; negative ones
/// and chunk sizes of 0 or less throw RuntimeError 5.
class cStringBuilder {
public:
    static constexpr std::int32_t kDefaultChunk = 8192;

    std::int32_t Length() const { return used_; }
    std::int32_t Capacity() const { return static_cast<std::int32_t>(buffer_.size()); }
    std::int32_t ChunkSize() const { return chunk_; }
    /// @brief Sets the chunk size; throws RuntimeError 6 when twice the value overflows 32 bits.
    void ChunkSize(std::int32_t iChunkSize);

    std::u16string toString() const { return buffer_.substr(0, static_cast<size_t>(used_)); }
    std::u16string_view view() const { return {buffer_.data(), static_cast<size_t>(used_)}; }
    void TheString(std::u16string_view sThis);

    void Clear();
    void AppendNL(std::u16string_view sThis);
    void Append(std::u16string_view sThis) {
        const size_t n = sThis.size();
        if (n == 0) {
            return;
        }
        if (static_cast<size_t>(used_) + n > buffer_.size()) {
            grow(n);
        }
        sThis.copy(buffer_.data() + used_, n);
        used_ += static_cast<std::int32_t>(n);
    }
    void Append(char16_t c) { Append(std::u16string_view(&c, 1)); }
    void AppendByVal(std::u16string sThis) { Append(sThis); }
    void Insert(std::int32_t iIndex, std::u16string_view sThis);
    void InsertByVal(std::int32_t iIndex, std::u16string sThis) { Insert(iIndex, sThis); }
    void Remove(std::int32_t iIndex, std::int32_t lLen);
    /// @brief 1-based position of the first occurrence of `sToFind` at or after `lStartIndex`
    /// (from the start when 0 or less), or 0. `compare` 1 ignores case (ASCII and Latin-1).
    std::int32_t Find(std::u16string_view sToFind, std::int32_t lStartIndex = 0, int compare = 0) const;
    void HeapMinimize();

private:
    // Makes room for `extra` more characters by the smallest whole number of chunks.
    void grow(size_t extra);

    // The buffer's length is the capacity; std::basic_string reallocates geometrically beneath,
    // so growing by small chunks never copies the content more than a constant number of times.
    std::u16string buffer_;
    std::int32_t chunk_ = kDefaultChunk;
    std::int32_t used_ = 0;
};

} // namespace kivo::json
