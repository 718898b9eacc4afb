// The pseudo-specifiers "%76g" and "%86g" of float values: seven significant
// digits when those digits read back as the same float, else the default
// six; "%86g" shows values of 100 and more with eight.
//
// The seven digits come from std::to_chars and are read back with
// std::from_chars, both independent of the locale. Reading back rounds to
// nearest even when the calling thread has set another rounding mode, so
// the choice is always the one the default mode makes.
#include "numeric/pseudo_specifiers.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/formatter.h"
#include "numeric/fast_printer.h"

namespace {

// Powers of ten a double holds exactly.
constexpr int kExactPowers = 22;
constexpr double kPowersOfTen[kExactPowers + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The decimal text "d.dddddde+XX" read as a double, then narrowed to float,
// both to nearest. Seven digits are an exact double; when the power of ten
// that scales them is exact too, one multiplication or division rounds the
// true value correctly. Other exponents are read by std::from_chars.
float read_back(const char* scientific, const char* end) {
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    double back = 0;
    long digits = scientific[0] - '0';
    for (int i = 2; i < 8; ++i) digits = digits * 10 + (scientific[i] - '0');
    int exponent = 0;
    for (const char* p = scientific + 10; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    const int scale = (scientific[9] == '-' ? -exponent : exponent) - 6;
    if (scale >= 0 && scale <= kExactPowers)
        back = static_cast<double>(digits) * kPowersOfTen[scale];
    else if (scale < 0 && scale >= -kExactPowers)
        back = static_cast<double>(digits) / kPowersOfTen[-scale];
    else
        std::from_chars(scientific, end, back);
    const float narrowed = static_cast<float>(back);
    if (mode != FE_TONEAREST) std::fesetround(mode);
    return narrowed;
}

}  // namespace

const char* kq::decode_pseudo_specifier(float value, bool eight_for_large,
                                        char (&text)[kSevenDigitBuffer], std::size_t& length) {
    length = 0;
    // On the signed value: every negative value takes the seven-digit rule.
    if (eight_for_large && value >= 100.0f) return "%.8g";
    // NaN never compares equal, so it gets "%g"; an infinity reads back equal.
    if (std::isnan(value)) return "%g";
    const bool negative = std::signbit(value);
    if (std::isinf(value)) {
        length = negative ? 4 : 3;
        std::memcpy(text, negative ? "-inf" : "inf", length + 1);
        return "%.7g";
    }
    // |value| with seven significant digits: "d.dddddde+XX".
    const float magnitude = std::fabs(value);
    char scientific[kSevenDigitBuffer];
    const auto r = std::to_chars(scientific, scientific + sizeof scientific,
                                 static_cast<double>(magnitude), std::chars_format::scientific, 6);
    if (read_back(scientific, r.ptr) != magnitude) return "%g";
    char* at = text;
    if (negative) *at++ = '-';
    at += general_from_scientific(scientific, static_cast<std::size_t>(r.ptr - scientific), 7,
                                  false, static_cast<double>(magnitude), at);
    *at = '\0';
    length = static_cast<std::size_t>(at - text);
    return "%.7g";
}

void kq::Formatter::DecodeForFloat76(float value, std::string& specifier) {
    if (specifier != "%76g") return;
    char text[kq::kSevenDigitBuffer];
    std::size_t length;
    specifier = kq::decode_pseudo_specifier(value, false, text, length);
}

void kq::Formatter::DecodeForFloat86(float value, std::string& specifier) {
    if (specifier != "%86g") return;
    char text[kq::kSevenDigitBuffer];
    std::size_t length;
    specifier = kq::decode_pseudo_specifier(value, true, text, length);
}
