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

    std::int32_t Length() const { return static_cast<std::int32_t>(content_.size()); }
    std::int32_t Capacity() const { return capacity_; }
    std::int32_t ChunkSize() const { return chunk_; }
    /// @brief Sets the chunk size; throws RuntimeError 6 when twice the value overflows 32 bits.
    void ChunkSize(std::int32_t iChunkSize);

    std::u16string toString() const& { return content_; }
    /// @brief Hands the content over without a copy when the builder is done with.
    std::u16string toString() && { return std::move(content_); }
    std::u16string_view view() const { return content_; }
    void TheString(std::u16string_view sThis);

    void Clear();
    void AppendNL(std::u16string_view sThis);
    void Append(std::u16string_view sThis) {
        if (content_.size() + sThis.size() > static_cast<size_t>(capacity_)) {
            grow(sThis.size());
        }
        content_.append(sThis);
    }
    void Append(char16_t c) {
        if (content_.size() + 1 > static_cast<size_t>(capacity_)) {
            grow(1);
        }
        content_.push_back(c);
    }
    void AppendByVal(std::u16string sThis) { Append(sThis); }
    void Insert(std::int32_t iIndex, std::u16string_view sThis);
    void InsertByVal(std::int32_t iIndex, std::u16string sThis) { Insert(iIndex, sThis); }
    void Remove(std::int32_t iIndex, std::int32_t lLen);
    /// @brief 1-based position of the first occurrence of `sToFind` at or after `lStartIndex`
    /// (from the start when 0 or less), or 0. `compare` 1 ignores case (ASCII and Latin-1).
    std::int32_t Find(std::u16string_view sToFind, std::int32_t lStartIndex = 0, int compare = 0) const;
    void HeapMinimize();

private:
    // Raises the capacity by the smallest whole number of chunks that fits `extra` more characters.
    void grow(size_t extra);

    // The capacity is kept as the chunk arithmetic gives it; the content string beneath reserves
    // storage geometrically, so a long text is copied a constant number of times, never per chunk.
    std::u16string content_;
    std::int32_t capacity_ = 0;
    std::int32_t chunk_ = kDefaultChunk;
};

} // namespace kivo::json
