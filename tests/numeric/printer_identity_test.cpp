// The fast printer against snprintf, byte for byte, per conversion family:
// random specifiers (every flag set, widths, precisions 0-17 and beyond,
// "h"/"hh"/"l") with values drawn from random bit patterns, boundaries,
// halfway cases, subnormals, infinities and NaNs. The fast path must cover
// every text that fits its room. KQ_IDENTITY_VALUES sets the values per
// family (default 20000; the full check runs 1000000). Every eighth value is
// printed again under another rounding mode: the text must not change.
// The "%76g" choice and its seven-digit text are checked the same way
// against snprintf("%.7g") read back by strtod.
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "numeric/pseudo_specifiers.h"
#include "numeric/specifier_printer.h"

namespace {

// Values that printing tends to get wrong; a random bit pattern else.
double tricky_double(std::mt19937_64& rng) {
    const uint64_t r = rng();
    const int pick = static_cast<int>(r % 8);
    const double sign = (r >> 8) & 1 ? -1.0 : 1.0;
    const int small = static_cast<int>((r >> 9) % 64) - 32;
    switch (pick) {
        case 0: {  // a value in the range people print, full mantissa
            const double unit = std::ldexp(static_cast<double>(rng() >> 11), -53);
            return sign * std::ldexp(unit, small);
        }
        case 1:  // an exact binary fraction: a tie at some precision
            return sign * std::ldexp(static_cast<double>(rng() % 2000001), -(1 + (small & 31)));
        case 2: {  // a power of ten and its neighbours
            const double p = std::pow(10.0, small);
            const int side = static_cast<int>((r >> 16) % 3);
            return sign * (side == 0 ? p : std::nextafter(p, side == 1 ? 0.0 : HUGE_VAL));
        }
        case 3: {  // a float widened, as float columns print
            const uint32_t bits = static_cast<uint32_t>(rng());
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return static_cast<double>(f);
        }
        case 4: {  // subnormal
            const uint64_t bits = (rng() & ((uint64_t{1} << 52) - 1)) | (r & (uint64_t{1} << 63));
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        case 5: {  // special values and limits
            const double specials[] = {0.0,          HUGE_VAL,      NAN, DBL_MAX, DBL_MIN,
                                       DBL_TRUE_MIN, 9.5,           0.5, 2.5,     999999.5,
                                       9.9999995,    0.00009999995, 1e16};
            return sign * specials[(r >> 16) % (sizeof specials / sizeof specials[0])];
        }
        case 6:  // an integer
            return sign * static_cast<double>(static_cast<uint32_t>(rng()) >> (small & 31));
        default: {  // any bit pattern
            const uint64_t bits = rng();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
    }
}

uint32_t tricky_bits(std::mt19937_64& rng) {
    const uint64_t r = rng();
    const uint32_t specials[] = {0,      1,      0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 70000,
                                 0xFFFF, 0x8000, 0x7FFF,      0xFF,        0x80,        0x7F};
    switch (r % 3) {
        case 0: return specials[(r >> 8) % (sizeof specials / sizeof specials[0])];
        case 1: return static_cast<uint32_t>(rng()) >> ((r >> 8) % 32);
        default: return static_cast<uint32_t>(rng());
    }
}

// A random conversion of `letter`: "%", flags, width, precision, length.
std::string random_conversion(std::mt19937_64& rng, char letter, bool integer) {
    const uint64_t r = rng();
    std::string s = "%";
    for (int f = 0; f < 5; ++f)
        if ((r >> f) & 1) s.push_back("-+ #0"[f]);
    const int widths[] = {0, 1, 2, 5, 8, 12, 20, 30, 60, 140};
    const int width = widths[(r >> 5) % 10];
    if (width > 0) s += std::to_string(width);
    const int p = static_cast<int>((r >> 9) % 24);  // 0-17 mostly; none, "." and longer
    if (p <= 17)
        s += "." + std::to_string(p);
    else if (p == 18)
        s += ".";
    else if (p == 19)
        s += "." + std::to_string(20 + (r >> 14) % 110);
    if (integer) {
        const char* const lengths[] = {"", "", "h", "hh", "l"};
        s += lengths[(r >> 21) % 5];
    }
    s.push_back(letter);
    return s;
}

// snprintf of `conversion` with the argument it takes on the target: "l"
// is dropped (a 32-bit long is an int there), "h" and "hh" are kept.
int reference(const std::string& conversion, bool integer, bool isSigned, uint32_t bits, double d,
              char* out, std::size_t room) {
    std::string f = conversion;
    const auto l = f.find('l');
    if (l != std::string::npos) f.erase(l, 1);
    if (!integer) return std::snprintf(out, room, f.c_str(), d);
    if (isSigned) return std::snprintf(out, room, f.c_str(), static_cast<int>(bits));
    return std::snprintf(out, room, f.c_str(), static_cast<unsigned>(bits));
}

}  // namespace

TEST(PrinterIdentity, FastPathMatchesSnprintf) {
    long perFamily = 20000;
    if (const char* n = std::getenv("KQ_IDENTITY_VALUES")) perFamily = std::atol(n);
    const char* const families[] = {"di", "uoxX", "fF", "eE", "gG"};
    constexpr std::size_t kRoom = kq::kPrintBufferSize - 1;
    std::mt19937_64 rng(16);
    kq::ParsedSpecifier parsed;
    char fast[kq::kPrintBufferSize];
    char expected[2048];
    for (const char* letters : families) {
        const bool integer = letters[0] == 'd' || letters[0] == 'u';
        long covered = 0;
        int failures = 0;
        for (long i = 0; i < perFamily && failures < 40; ++i) {
            const char letter = letters[i % static_cast<long>(std::strlen(letters))];
            const std::string conversion = random_conversion(rng, letter, integer);
            const bool isSigned = letters[0] == 'd';
            const uint32_t bits = integer ? tricky_bits(rng) : 0;
            const double d = integer ? 0.0 : tricky_double(rng);
            const kq::PrintValue value = !integer ? kq::PrintValue::of_double(d)
                                         : isSigned
                                             ? kq::PrintValue::of_signed(static_cast<int32_t>(bits))
                                             : kq::PrintValue::of_unsigned(bits);
            parsed.set(conversion);
            const std::size_t n = parsed.print_conversion_fast(value, fast, kRoom);
            const int m =
                reference(conversion, integer, isSigned, bits, d, expected, sizeof expected);
            if (n == kq::kNotCovered) {
                // Only a text longer than the room may be left to snprintf.
                if (m >= 0 && static_cast<std::size_t>(m) <= kRoom) {
                    ADD_FAILURE() << conversion << " of " << d << " / " << bits << ": not covered";
                    ++failures;
                }
                continue;
            }
            ++covered;
            std::size_t again = n;
            if (i % 8 == 0) {
                std::fesetround(i % 16 == 0 ? FE_UPWARD : FE_DOWNWARD);
                again = parsed.print_conversion_fast(value, fast, kRoom);
                std::fesetround(FE_TONEAREST);
            }
            if (again != n || std::string(fast, n) != std::string(expected, m < 0 ? 0 : m)) {
                char hex[32];
                std::snprintf(hex, sizeof hex, "%a", d);
                ADD_FAILURE() << conversion << " of " << hex << " / " << bits << ": \""
                              << std::string(fast, n) << "\", snprintf \"" << expected << "\"";
                ++failures;
            }
        }
        std::printf("identity %-4s %ld values, %ld by the fast path\n", letters, perFamily,
                    covered);
        EXPECT_GT(covered, perFamily / 2) << letters;
    }

    char text[kq::kSevenDigitBuffer];
    int failures = 0;
    for (long i = 0; i < perFamily && failures < 10; ++i) {
        const float f = static_cast<float>(tricky_double(rng));
        std::snprintf(expected, sizeof expected, "%.7g", static_cast<double>(f));
        const bool seven = static_cast<float>(std::strtod(expected, nullptr)) == f;
        if (i % 8 == 0) std::fesetround(i % 16 == 0 ? FE_UPWARD : FE_DOWNWARD);
        std::size_t length = 0;
        const std::string chosen = kq::decode_pseudo_specifier(f, false, text, length);
        std::fesetround(FE_TONEAREST);
        if (chosen != (seven ? "%.7g" : "%g") || (seven && std::string(text, length) != expected)) {
            ADD_FAILURE() << "%76g of " << expected << ": " << chosen << " \""
                          << std::string(text, length) << "\"";
            ++failures;
        }
    }
    std::printf("identity 76g  %ld values\n", perFamily);
}
