#include "service/json/decimal.h"

#include "service/json/runtimeerror.h"

#include <algorithm>
#include <vector>

namespace kivo::json {

namespace {

__extension__ typedef unsigned __int128 u128;

constexpr u128 kMaxMagnitude = (static_cast<u128>(1) << 96) - 1;
constexpr size_t kMaxDigits = 38; // a u128 holds any 38-digit number

// Renders a magnitude with `scale` fraction digits into `out` (room for 48 characters), dropping
// trailing fraction zeros; returns the length written.
template <typename Char, typename Magnitude>
size_t renderDigits(Char* out, Magnitude magnitude, int scale, bool negative) {
    if (magnitude == 0) {
        out[0] = '0';
        return 1;
    }
    while (scale > 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        --scale;
    }
    char digits[40];
    int count = 0;
    while (magnitude != 0) {
        digits[count++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    }
    size_t n = 0;
    if (negative) {
        out[n++] = '-';
    }
    if (count <= scale) {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = count; i < scale; ++i) {
            out[n++] = '0';
        }
    }
    for (int i = count - 1; i >= 0; --i) {
        out[n++] = static_cast<Char>(digits[i]);
        if (i == scale && scale > 0) {
            out[n++] = '.';
        }
    }
    return n;
}

} // namespace

Decimal::Decimal(std::int64_t value) {
    negative_ = value < 0;
    lo_ = negative_ ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value)
                    : static_cast<std::uint64_t>(value);
}

namespace {

template <typename Char> bool isDigit(Char c) {
    return c >= '0' && c <= '9';
}

struct Parsed {
    bool negative = false;
    std::vector<std::uint8_t> digits; // significant digits, no leading zeros
    std::int64_t exponent = 0;        // value = digits * 10^exponent
};

template <typename Char> Parsed scan(std::basic_string_view<Char> text) {
    Parsed p;
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        p.negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    bool point = false;
    std::int64_t fraction = 0;
    for (; i < n; ++i) {
        const Char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (!p.digits.empty() || c != '0') {
                p.digits.push_back(static_cast<std::uint8_t>(c - '0'));
            }
            if (point) {
                ++fraction;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        throw RuntimeError::typeMismatch();
    }
    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i >= n || !isDigit(text[i])) {
            throw RuntimeError::typeMismatch();
        }
        for (; i < n && isDigit(text[i]); ++i) {
            // Saturate: anything this large over- or underflows the range anyway.
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        throw RuntimeError::typeMismatch();
    }
    p.exponent = exponent - fraction;
    return p;
}

u128 valueOf(const std::vector<std::uint8_t>& digits, size_t count) {
    u128 v = 0;
    for (size_t k = 0; k < count; ++k) {
        v = v * 10 + digits[k];
    }
    return v;
}

} // namespace

template <typename Char> Decimal Decimal::convert(std::basic_string_view<Char> text) {
    // Fast path for the usual plain number of up to 19 digits.
    {
        size_t i = 0;
        const size_t n = text.size();
        bool negative = false;
        if (i < n && (text[i] == '-' || text[i] == '+')) {
            negative = text[i] == '-';
            ++i;
        }
        std::uint64_t value = 0;
        int digits = 0;
        int fraction = -1;
        for (; i < n; ++i) {
            const Char c = text[i];
            if (isDigit(c)) {
                value = value * 10 + static_cast<std::uint64_t>(c - '0');
                ++digits;
                if (fraction >= 0) {
                    ++fraction;
                }
            } else if (c == '.' && fraction < 0) {
                fraction = 0;
            } else {
                break;
            }
        }
        if (i == n && digits > 0 && digits <= 19) {
            Decimal result;
            result.lo_ = value;
            result.scale_ = static_cast<std::uint8_t>(fraction < 0 ? 0 : fraction);
            result.negative_ = negative;
            return result;
        }
    }
    Parsed p = scan(text);
    u128 magnitude = 0;
    int scale = 0;
    if (p.digits.empty()) {
        scale = static_cast<int>(std::clamp<std::int64_t>(-p.exponent, 0, Decimal::kMaxScale));
    } else if (p.exponent >= 0) {
        if (p.digits.size() + static_cast<size_t>(p.exponent) > 29) {
            throw RuntimeError::overflow();
        }
        magnitude = valueOf(p.digits, p.digits.size());
        for (std::int64_t k = 0; k < p.exponent; ++k) {
            magnitude *= 10;
        }
        if (magnitude > kMaxMagnitude) {
            throw RuntimeError::overflow();
        }
    } else {
        // Keep as many digits as the scale limit and the 96-bit magnitude allow, then round.
        const std::int64_t wantedScale = -p.exponent;
        const std::int64_t n = static_cast<std::int64_t>(p.digits.size());
        std::int64_t drop =
            std::max({wantedScale - Decimal::kMaxScale, n - static_cast<std::int64_t>(kMaxDigits), std::int64_t{0}});
        if (drop > n) { // below half of the smallest step: rounds to zero
            scale = Decimal::kMaxScale;
        } else {
            u128 kept = valueOf(p.digits, static_cast<size_t>(n - drop));
            while (kept > kMaxMagnitude && drop < wantedScale) {
                kept /= 10;
                ++drop;
            }
            if (kept > kMaxMagnitude) {
                throw RuntimeError::overflow();
            }
            if (drop > 0) {
                const size_t first = static_cast<size_t>(n - drop);
                const std::uint8_t lead = p.digits[first];
                const bool restNonZero = std::any_of(p.digits.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                                                     p.digits.end(), [](std::uint8_t d) { return d != 0; });
                if (lead > 5 || (lead == 5 && (restNonZero || (kept & 1) != 0))) {
                    ++kept;
                }
                if (kept > kMaxMagnitude) { // the carry needs a 97th bit: one digit fewer
                    kept /= 10;
                    ++drop;
                    if (drop > wantedScale) {
                        throw RuntimeError::overflow();
                    }
                }
            }
            magnitude = kept;
            scale = static_cast<int>(wantedScale - drop);
        }
    }
    Decimal result;
    result.lo_ = static_cast<std::uint64_t>(magnitude);
    result.hi_ = static_cast<std::uint32_t>(magnitude >> 64);
    result.scale_ = static_cast<std::uint8_t>(scale);
    result.negative_ = p.negative;
    return result;
}

Decimal Decimal::FromText(std::u16string_view text) {
    return convert(text);
}
Decimal Decimal::FromText(std::string_view text) {
    return convert(text);
}

std::string Decimal::toString() const {
    char buffer[kMaxTextLength];
    return {buffer, render(buffer)};
}

void Decimal::appendTo(std::u16string& out) const {
    char16_t buffer[kMaxTextLength];
    out.append(buffer, render(buffer));
}

template <typename Char> size_t Decimal::render(Char* out) const {
    if (hi_ == 0) {
        return renderDigits(out, lo_, scale_, negative_);
    }
    return renderDigits(out, (static_cast<u128>(hi_) << 64) | lo_, scale_, negative_);
}

template size_t Decimal::render<char16_t>(char16_t*) const;

bool operator==(const Decimal& a, const Decimal& b) {
    if (a.isZero() || b.isZero()) {
        return a.isZero() && b.isZero();
    }
    if (a.negative_ != b.negative_) {
        return false;
    }
    // Strip trailing fraction zeros so each value has one form, then compare the forms.
    auto normal = [](const Decimal& d) {
        u128 m = (static_cast<u128>(d.hi_) << 64) | d.lo_;
        int s = d.scale_;
        while (s > 0 && m % 10 == 0) {
            m /= 10;
            --s;
        }
        return std::pair<u128, int>(m, s);
    };
    return normal(a) == normal(b);
}

} // namespace kivo::json
