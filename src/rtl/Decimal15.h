#pragma once

#include "rtl/Conversions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <system_error>

namespace rtl {

// A finite value's magnitude rounded to 15 significant digits, the form the classic runtime formats from:
// 0.d1 d2 ... d<count> * 10^exponent, without trailing zeros; no digits and exponent 0 for zero. Every 15-digit form
// of the program (FloatToStr, FormatFixed and what their texts read back as) starts here. Inline, as it runs for
// every number written as text.
struct Decimal15 {
    char digits[24];
    int count = 0;
    int exponent = 0;

    explicit Decimal15(double value)
    {
        if (value == 0.0)
            return;
        if (fromBinary(std::fabs(value)))
            return;
        // "d.dddddddddddddde+x": fifteen significant digits, rounded correctly from the binary value.
        char text[40];
        const std::to_chars_result written =
            std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific, 14);
        const char* p = text;
        for (; *p != 'e'; ++p) {
            if (*p != '.')
                digits[count++] = *p;
        }
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, written.ptr, exponent);
        ++exponent;
        dropTrailingZeros();
    }

    void dropTrailingZeros()
    {
        while (count > 0 && digits[count - 1] == '0')
            --count;
    }

    static constexpr std::uint64_t Pow5[] = {1ull,
                                             5ull,
                                             25ull,
                                             125ull,
                                             625ull,
                                             3125ull,
                                             15625ull,
                                             78125ull,
                                             390625ull,
                                             1953125ull,
                                             9765625ull,
                                             48828125ull,
                                             244140625ull,
                                             1220703125ull,
                                             6103515625ull,
                                             30517578125ull,
                                             152587890625ull,
                                             762939453125ull,
                                             3814697265625ull,
                                             19073486328125ull,
                                             95367431640625ull,
                                             476837158203125ull,
                                             2384185791015625ull};
    static constexpr std::uint64_t Pow10_14 = 100000000000000ull;
    static constexpr std::uint64_t Pow10_15 = 1000000000000000ull;

    // The digits worked out in whole numbers, for magnitudes from 1e-7 to below 1e15 (most of what records hold):
    // the magnitude times 10^p is exact in 128 bits, and rounding it to a whole number of fifteen digits, halves to
    // even, is what the formatting does with the exact binary value. False, touching nothing, outside that range.
    bool fromBinary(double magnitude)
    {
        if (!(magnitude >= 1e-7 && magnitude < 1e15))
            return false;
        int binaryExponent = 0;
        const double fraction = std::frexp(magnitude, &binaryExponent);
        // magnitude = mantissa * 2^shift exactly, the mantissa a whole number of 53 bits.
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
        const int shift = binaryExponent - 53;
        int p = 14 - static_cast<int>(std::floor(std::log10(magnitude)));
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (p < 0 || p > 22)
                return false;
            // magnitude * 10^p = mantissa * 5^p * 2^(shift + p), below 2^105 before the shift.
            const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * Pow5[p];
            const int twos = shift + p;
            unsigned __int128 whole = 0;
            bool up = false;
            if (twos >= 0) {
                if (twos > 20)
                    return false;
                whole = scaled << twos;
            } else {
                const int right = -twos;
                if (right > 120)
                    return false;
                whole = scaled >> right;
                const unsigned __int128 rest = scaled - (whole << right);
                const unsigned __int128 half = static_cast<unsigned __int128>(1) << (right - 1);
                up = rest > half || (rest == half && (whole & 1) != 0);
            }
            if (whole < Pow10_14) {
                ++p;
                continue;
            }
            if (whole >= Pow10_15) {
                --p;
                continue;
            }
            std::uint64_t n = static_cast<std::uint64_t>(whole) + (up ? 1 : 0);
            if (n == Pow10_15) {
                // 999...9.5 rounds up to one digit more: 1 followed by zeros, one place further up.
                n = Pow10_14;
                --p;
            }
            for (int i = 14; i >= 0; --i) {
                digits[i] = static_cast<char>('0' + n % 10);
                n /= 10;
            }
            count = 15;
            exponent = 15 - p;
            dropTrailingZeros();
            return true;
        }
        return false;
    }

    // Cut after `keep` significant digits, halves away from zero.
    void roundAt(int keep) { count = RoundDecimalDigits(digits, count, keep, exponent); }

    // The decimal read back as a double with the given sign, as the classic reader reads its text: a zero has no
    // sign. Nothing when the decimal lies beyond the double range.
    std::optional<double> read(bool negative) const
    {
        if (count == 0)
            return 0.0;
        // Digits and a power of ten that are both exact doubles: one division or multiplication rounds the decimal
        // correctly, as reading its text does.
        if (count <= 15) {
            std::uint64_t whole = 0;
            for (int i = 0; i < count; ++i)
                whole = whole * 10 + static_cast<std::uint64_t>(digits[i] - '0');
            const int power = exponent - count;
            static constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
            if (power >= -22 && power <= 22) {
                const double w = static_cast<double>(whole);
                const double result = power < 0 ? w / Pow10[-power] : w * Pow10[power];
                return negative ? -result : result;
            }
        }
        // "0.<digits>e<exponent>" is the same decimal as any fixed-point text of it, so it reads back as the same
        // double.
        char decimal[48] = {'0', '.'};
        std::memcpy(decimal + 2, digits, static_cast<std::size_t>(count));
        char* end = decimal + 2 + count;
        *end++ = 'e';
        end = std::to_chars(end, decimal + sizeof decimal, exponent).ptr;
        double result = 0;
        const std::from_chars_result done = std::from_chars(decimal, end, result, std::chars_format::general);
        if (done.ec != std::errc() || !std::isfinite(result))
            return std::nullopt;
        return negative ? -result : result;
    }
};

}  // namespace rtl
