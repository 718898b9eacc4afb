// printf's conversions written without the C library.
//
// Layout of a printed number, as printf makes it: [blanks] sign prefix
// [zeros] body [blanks]. The sign is "-" for a negative value (its sign bit,
// so also for -0.0 and a negative NaN), else "+" or " " when the flags ask
// for one (signed and floating conversions only); the prefix is "0x"/"0X"
// of "#x"/"#X" for a nonzero value. Blanks fill the width on the left, or on
// the right with "-"; with "0" (and neither "-" nor, for integers, a
// precision; never for inf and nan) zeros fill it between prefix and body.
#include "numeric/fast_printer.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kq {
namespace {

// Digits of the longest body this path prepares before padding: more than
// any %f, %e or %g text of up to 127 bytes needs.
constexpr std::size_t kBodyRoom = 160;

// Fills `out` with sign, prefix, body and padding as described at the top.
// Returns the length or kNotCovered when over `capacity`.
std::size_t lay_out(const Conversion& c, char sign, const char* prefix, std::size_t prefixLength,
                    std::size_t zeros, const char* body, std::size_t bodyLength, bool zeroFill,
                    char* out, std::size_t capacity) {
    const std::size_t content = (sign ? 1 : 0) + prefixLength + zeros + bodyLength;
    const std::size_t width = static_cast<std::size_t>(c.width);
    const std::size_t pad = width > content ? width - content : 0;
    if (content + pad > capacity) return kNotCovered;
    // Padding and zeros are mostly absent: no call for them then.
    char* p = out;
    if (pad > 0 && !c.left && !zeroFill) {
        std::memset(p, ' ', pad);
        p += pad;
    }
    if (sign) *p++ = sign;
    for (std::size_t i = 0; i < prefixLength; ++i) *p++ = prefix[i];
    if (!c.left && zeroFill) zeros += pad;
    if (zeros > 0) {
        std::memset(p, '0', zeros);
        p += zeros;
    }
    std::memcpy(p, body, bodyLength);
    p += bodyLength;
    if (pad > 0 && c.left) {
        std::memset(p, ' ', pad);
        p += pad;
    }
    return static_cast<std::size_t>(p - out);
}

// Pads the text of `length` bytes at `out` (sign first when `sign`) to the
// width in place, as lay_out does. Returns the length or kNotCovered.
std::size_t pad_in_place(const Conversion& c, bool sign, bool zeroFill, char* out,
                         std::size_t length, std::size_t capacity) {
    const std::size_t width = static_cast<std::size_t>(c.width);
    if (width <= length) return length;
    if (width > capacity) return kNotCovered;
    const std::size_t pad = width - length;
    if (c.left) {
        std::memset(out + length, ' ', pad);
    } else if (zeroFill) {
        const std::size_t keep = sign ? 1 : 0;
        std::memmove(out + keep + pad, out + keep, length - keep);
        std::memset(out + keep, '0', pad);
    } else {
        std::memmove(out + pad, out, length);
        std::memset(out, ' ', pad);
    }
    return width;
}

// 1e0 ... 1e22, the powers of ten a double holds exactly.
constexpr int kExactPowers = 22;
constexpr double kPowersOfTen[kExactPowers + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

char sign_for(const Conversion& c, bool negative) {
    return negative ? '-' : c.plus ? '+' : c.space ? ' ' : 0;
}

// Writes the `count` decimal digits of `magnitude` at `p`, two at a time.
void write_decimal_digits(char* p, uint32_t magnitude, std::size_t count) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* d = p + count;
    while (magnitude >= 100) {
        const uint32_t pair = (magnitude % 100) * 2;
        magnitude /= 100;
        *--d = kPairs[pair + 1];
        *--d = kPairs[pair];
    }
    if (magnitude >= 10) {
        *--d = kPairs[magnitude * 2 + 1];
        *--d = kPairs[magnitude * 2];
    } else {
        *--d = static_cast<char>('0' + magnitude);
    }
}

// The common decimal conversion without a precision ("%d", "%5ld", "%-08u"):
// the digits are written in place.
std::size_t print_plain_decimal(const Conversion& c, uint32_t magnitude, bool negative, char* out,
                                std::size_t capacity) {
    const std::size_t count = magnitude < 100000
                                  ? (magnitude < 100 ? (magnitude < 10 ? 1 : 2)
                                                     : (magnitude < 1000    ? 3
                                                        : magnitude < 10000 ? 4
                                                                            : 5))
                                  : (magnitude < 10000000 ? (magnitude < 1000000 ? 6 : 7)
                                                          : (magnitude < 100000000    ? 8
                                                             : magnitude < 1000000000 ? 9
                                                                                      : 10));
    const bool isSigned = c.letter == 'd' || c.letter == 'i';
    const char sign = isSigned ? sign_for(c, negative) : 0;
    const std::size_t content = count + (sign ? 1 : 0);
    const std::size_t width = static_cast<std::size_t>(c.width);
    const std::size_t pad = width > content ? width - content : 0;
    if (content + pad > capacity) return kNotCovered;
    char* p = out;
    const bool zeroFill = c.zero && !c.left;
    // Short widths are filled with one fixed-size store each and the sign
    // is stored unconditionally: the length of the value and its sign then
    // cost no branches that the processor could mispredict.
    constexpr std::size_t kFill = 16;
    if (width <= kFill && capacity >= 2 * kFill + 1) {
        const std::size_t before = c.left || zeroFill ? 0 : pad;
        std::memset(p, ' ', kFill);
        p += before;
        *p = sign;
        p += sign != 0;
        const std::size_t zeros = zeroFill ? pad : 0;
        std::memset(p, '0', kFill);
        p += zeros;
        write_decimal_digits(p, magnitude, count);
        p += count;
        const std::size_t after = c.left ? pad : 0;
        std::memset(p, ' ', kFill);
        return static_cast<std::size_t>(p + after - out);
    }
    if (!c.left && !zeroFill)
        for (std::size_t i = 0; i < pad; ++i) *p++ = ' ';
    if (sign) *p++ = sign;
    if (zeroFill)
        for (std::size_t i = 0; i < pad; ++i) *p++ = '0';
    write_decimal_digits(p, magnitude, count);
    p += count;
    if (c.left)
        for (std::size_t i = 0; i < pad; ++i) *p++ = ' ';
    return static_cast<std::size_t>(p - out);
}

// "%.{precision}f" of a finite, non-negative double done exactly in integer
// arithmetic, for precisions up to 13 and values whose scaled text fits 64
// bits: magnitude * 10^precision = m * 5^precision * 2^(e + precision),
// rounded to an integer, ties to even (as glibc rounds the exact value).
// False when the value is outside that range; std::to_chars takes it then.
constexpr int kMaxExactPrecision = 13;  // 5^13 < 2^32

bool fixed_exact(double magnitude, int precision, char* out, std::size_t room,
                 std::size_t& length) {
    if (precision > kMaxExactPrecision) return false;
    uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52) & 0x7FF;
    uint64_t m = bits & ((uint64_t{1} << 52) - 1);
    int e = -1074;
    if (biased != 0) {
        m |= uint64_t{1} << 52;
        e = biased - 1075;
    }
    uint64_t five = 1, ten = 1;
    for (int i = 0; i < precision; ++i) five *= 5, ten *= 10;
    // P = m * 5^precision in 128 bits (hi:lo).
    const uint64_t a = (m & 0xFFFFFFFFu) * five;
    const uint64_t b = (m >> 32) * five;
    uint64_t lo = a + (b << 32);
    uint64_t hi = (b >> 32) + (lo < a ? 1 : 0);
    const int t = e + precision;  // P * 2^t is the scaled value
    uint64_t r;
    if (t >= 0) {
        if (hi != 0 || t >= 64 || (t > 0 && (lo >> (64 - t)) != 0)) return false;
        r = lo << t;
    } else {
        const int s = -t;
        bool half, rest;
        if (s < 64) {
            if ((hi >> s) != 0) return false;
            r = (lo >> s) | (hi << (64 - s));
            half = (lo >> (s - 1)) & 1;
            rest = (lo & ((uint64_t{1} << (s - 1)) - 1)) != 0;
        } else if (s == 64) {
            r = hi;
            half = lo >> 63;
            rest = (lo << 1) != 0;
        } else if (s < 128) {
            const int k = s - 64;
            r = hi >> k;
            half = (hi >> (k - 1)) & 1;
            rest = lo != 0 || (hi & ((uint64_t{1} << (k - 1)) - 1)) != 0;
        } else {
            r = 0;  // P < 2^75: far below one half
            half = rest = false;
        }
        if (half && (rest || (r & 1))) {
            if (r == ~uint64_t{0}) return false;
            ++r;
        }
    }
    // Integer part, then the fraction zero-filled to `precision` digits.
    uint64_t whole = r / ten;
    uint64_t fraction = r % ten;
    char digits[21];
    char* first = digits + sizeof digits;
    do {
        *--first = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    const std::size_t integerDigits = static_cast<std::size_t>(digits + sizeof digits - first);
    const std::size_t total =
        integerDigits + (precision > 0 ? 1 + static_cast<std::size_t>(precision) : 0);
    if (total > room) return false;
    std::memcpy(out, first, integerDigits);
    if (precision > 0) {
        out[integerDigits] = '.';
        for (std::size_t i = total; i > integerDigits + 1; --i) {
            out[i - 1] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
    }
    length = total;
    return true;
}

}  // namespace

bool fast_path_covers(char letter) {
    return letter != '\0' && std::strchr("diuoxXfFeEgG", letter) != nullptr;
}

std::size_t print_integer(const Conversion& c, uint32_t bits, char* out, std::size_t capacity) {
    const bool isSigned = c.letter == 'd' || c.letter == 'i';
    // "h" and "hh": printf converts the int it was given to a short or a
    // char, signed or unsigned as the conversion is.
    uint32_t magnitude = bits;
    bool negative = false;
    if (isSigned) {
        int32_t v = static_cast<int32_t>(bits);
        if (c.bits == 16) v = static_cast<int16_t>(v);
        if (c.bits == 8) v = static_cast<int8_t>(v);
        negative = v < 0;
        // The magnitude of a negative 32-bit value, -2^31 included.
        magnitude = negative ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    } else if (c.bits == 16) {
        magnitude = static_cast<uint16_t>(bits);
    } else if (c.bits == 8) {
        magnitude = static_cast<uint8_t>(bits);
    }

    const unsigned base = c.letter == 'o' ? 8 : (c.letter == 'x' || c.letter == 'X') ? 16 : 10;
    if (base == 10 && c.precision < 0)
        return print_plain_decimal(c, magnitude, negative, out, capacity);
    const char* const digitSet = c.letter == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char digits[11];  // 32 bits in octal
    char* end = digits + sizeof digits;
    char* first = end;
    // Precision 0 prints no digit for the value 0. Constant bases let the
    // compiler divide without a division instruction.
    if (!(c.precision == 0 && magnitude == 0)) {
        if (base == 10) {
            do {
                *--first = static_cast<char>('0' + magnitude % 10);
                magnitude /= 10;
            } while (magnitude != 0);
        } else {
            const unsigned shift = base == 16 ? 4 : 3;
            do {
                *--first = digitSet[magnitude & (base - 1)];
                magnitude >>= shift;
            } while (magnitude != 0);
        }
    }
    const std::size_t count = static_cast<std::size_t>(end - first);
    std::size_t zeros =
        c.precision > static_cast<int>(count) ? static_cast<std::size_t>(c.precision) - count : 0;
    // "#o": the first digit printed is a 0.
    if (c.alternate && base == 8 && zeros == 0 && (count == 0 || *first != '0')) zeros = 1;
    const char* prefix = "";
    std::size_t prefixLength = 0;
    if (c.alternate && base == 16 && count > 0 && !(count == 1 && *first == '0')) {
        prefix = c.letter == 'X' ? "0X" : "0x";
        prefixLength = 2;
    }
    const char sign = isSigned ? sign_for(c, negative) : 0;
    const bool zeroFill = c.zero && !c.left && c.precision < 0;
    return lay_out(c, sign, prefix, prefixLength, zeros, first, count, zeroFill, out, capacity);
}

std::size_t general_from_scientific(const char* scientific, std::size_t length, int significant,
                                    bool alternate, double magnitude, char* out) {
    // "d.ddde+XX" or "de+XX": digits, then the exponent.
    const char* e = static_cast<const char*>(std::memchr(scientific, 'e', length));
    char digits[kBodyRoom];
    std::size_t count = 0;
    for (const char* p = scientific; p < e; ++p)
        if (*p != '.') digits[count++] = *p;
    int exponent = 0;
    for (const char* p = e + 2; p < scientific + length; ++p) exponent = exponent * 10 + (*p - '0');
    if (e[1] == '-') exponent = -exponent;

    char* p = out;
    if (exponent < -4 || exponent >= significant) {
        // Scientific: the digits as they are, the exponent text unchanged.
        // glibc drops every digit after the point when rounding up carried
        // the value from fixed into scientific form (so "%#g" of 999999.5 is
        // "1.e+06"); without "#" those digits are zeros it drops anyway.
        // Only a precision up to 22 can carry so (powers of ten are exact
        // doubles up to 1e22; a double is never that close to a larger one).
        const bool carried = exponent == significant && significant <= kExactPowers &&
                             magnitude < kPowersOfTen[significant];
        *p++ = digits[0];
        std::size_t last = carried ? 1 : count;
        if (!alternate)
            while (last > 1 && digits[last - 1] == '0') --last;
        if (last > 1 || alternate) *p++ = '.';
        std::memcpy(p, digits + 1, last - 1);
        p += last - 1;
        const std::size_t tail = static_cast<std::size_t>(scientific + length - e);
        std::memcpy(p, e, tail);
        return static_cast<std::size_t>(p + tail - out);
    }
    // Fixed: significant - 1 - exponent digits after the point.
    std::size_t integerDigits = 1;
    const char* fraction = digits + 1;
    std::size_t fractionDigits = count - 1;
    std::size_t leadingZeros = 0;
    if (exponent >= 0) {
        integerDigits = static_cast<std::size_t>(exponent) + 1;
        fraction = digits + integerDigits;
        fractionDigits = count - integerDigits;
        std::memcpy(p, digits, integerDigits);
        p += integerDigits;
    } else {
        *p++ = '0';
        leadingZeros = static_cast<std::size_t>(-exponent - 1);
        fraction = digits;
        fractionDigits = count;
    }
    if (!alternate)
        while (fractionDigits > 0 && fraction[fractionDigits - 1] == '0') --fractionDigits;
    // A value below 1 always keeps a nonzero digit, so its zeros stay.
    if (fractionDigits > 0 || alternate) *p++ = '.';
    if (fractionDigits > 0) {
        std::memset(p, '0', leadingZeros);
        p += leadingZeros;
        std::memcpy(p, fraction, fractionDigits);
        p += fractionDigits;
    }
    return static_cast<std::size_t>(p - out);
}

std::size_t print_double(const Conversion& c, double value, char* out, std::size_t capacity) {
    const char letter = c.letter;
    const bool upper = letter == 'F' || letter == 'E' || letter == 'G';
    const char lower = static_cast<char>(upper ? letter - 'A' + 'a' : letter);
    if (lower != 'f' && lower != 'e' && lower != 'g') return kNotCovered;

    const char sign = sign_for(c, std::signbit(value));
    const double magnitude = std::fabs(value);
    if (!std::isfinite(value)) {
        const char* text = std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
        return lay_out(c, sign, "", 0, 0, text, 3, false, out, capacity);
    }

    // The number is written in place after the sign, then padded.
    char* const end = out + capacity;
    char* p = out;
    if (sign) {
        if (capacity == 0) return kNotCovered;
        *p++ = sign;
    }
    const int precision = c.precision < 0 ? 6 : c.precision;
    if (lower == 'f' || lower == 'e') {
        char* numberEnd = nullptr;
        std::size_t exact = 0;
        if (lower == 'f' &&
            fixed_exact(magnitude, precision, p, static_cast<std::size_t>(end - p), exact)) {
            numberEnd = p + exact;
        } else {
            const auto format =
                lower == 'f' ? std::chars_format::fixed : std::chars_format::scientific;
            const auto r = std::to_chars(p, end, magnitude, format, precision);
            if (r.ec != std::errc()) return kNotCovered;
            numberEnd = r.ptr;
        }
        if (c.alternate && precision == 0) {
            // "#" keeps the point: "1." and "1.e+00".
            if (numberEnd == end) return kNotCovered;
            if (lower == 'f') {
                *numberEnd = '.';
            } else {
                std::memmove(p + 2, p + 1, static_cast<std::size_t>(numberEnd - p - 1));
                p[1] = '.';
            }
            p = numberEnd + 1;
        } else {
            p = numberEnd;
        }
        if (upper && lower == 'e') {
            char* e = static_cast<char*>(std::memchr(out, 'e', static_cast<std::size_t>(p - out)));
            if (e != nullptr) *e = 'E';
        }
    } else {
        // %g: precision 0 counts as 1 significant digit.
        const int significant = precision == 0 ? 1 : precision;
        const std::size_t most = static_cast<std::size_t>(significant) + 8;
        if (most > kBodyRoom) return kNotCovered;
        char scientific[kBodyRoom];
        const auto r = std::to_chars(scientific, scientific + kBodyRoom, magnitude,
                                     std::chars_format::scientific, significant - 1);
        if (r.ec != std::errc()) return kNotCovered;
        const std::size_t length = static_cast<std::size_t>(r.ptr - scientific);
        char body[kBodyRoom];
        const bool direct = static_cast<std::size_t>(end - p) >= most;
        char* const target = direct ? p : body;
        const std::size_t n = general_from_scientific(scientific, length, significant, c.alternate,
                                                      magnitude, target);
        if (!direct) {
            if (n > static_cast<std::size_t>(end - p)) return kNotCovered;
            std::memcpy(p, body, n);
        }
        if (upper) {
            char* e = static_cast<char*>(std::memchr(p, 'e', n));
            if (e != nullptr) *e = 'E';
        }
        p += n;
    }
    return pad_in_place(c, sign != 0, c.zero && !c.left, out, static_cast<std::size_t>(p - out),
                        capacity);
}

}  // namespace kq
