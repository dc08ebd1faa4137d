#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::json {

/// @brief An exact decimal number: a 96-bit unsigned magnitude, a sign and a scale of 0 to 28
/// decimal places (value = magnitude / 10^scale). Never a floating-point value.
class Decimal {
public:
    static constexpr int kMaxScale = 28;

    Decimal() = default;
    Decimal(std::int64_t value); // NOLINT(google-explicit-constructor): numbers convert freely

    /// @brief Converts text of the form [sign] digits [. digits] [e|E [sign] digits].
    /// Too many fraction digits are rounded half to even; throws RuntimeError 13 (type mismatch)
    /// for malformed text and 6 (overflow) for a value beyond the 96-bit range.
    static Decimal FromText(std::u16string_view text);
    static Decimal FromText(std::string_view text);

    bool isNegative() const { return negative_ && !isZero(); }
    bool isZero() const { return lo_ == 0 && hi_ == 0; }
    int scale() const { return scale_; }
    /// @brief The magnitude's low 64 and high 32 bits.
    std::uint64_t low64() const { return lo_; }
    std::uint32_t high32() const { return hi_; }

    /// @brief The number as text: "-" for negatives, "." as the decimal point, no exponent and no
    /// trailing fraction zeros ("1.50" reads back as "1.5").
    std::string toString() const;
    void appendTo(std::u16string& out) const;
    /// @brief The longest text toString can give: sign, "0.", 28 places and 29 digits.
    static constexpr size_t kMaxTextLength = 64;
    /// @brief Writes the text into `out` (room for kMaxTextLength) and returns its length.
    template <typename Char> size_t render(Char* out) const;

    /// @brief Numeric comparison: 1.50 equals 1.5, and -0 equals 0.
    friend bool operator==(const Decimal& a, const Decimal& b);

private:
    template <typename Char> static Decimal convert(std::basic_string_view<Char> text);

    std::uint64_t lo_ = 0;
    std::uint32_t hi_ = 0;
    std::uint8_t scale_ = 0;
    bool negative_ = false;
};

} // namespace kivo::json
