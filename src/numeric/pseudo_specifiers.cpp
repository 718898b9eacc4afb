// The pseudo-specifiers "%76g" and "%86g" of float values: seven significant
// digits when those digits read back as the same float, else the default
// six; "%86g" shows values of 100 and more with eight.
#include "numeric/pseudo_specifiers.h"

#include <cstdio>
#include <cstdlib>

#include "core/formatter.h"

const char* kq::decode_pseudo_specifier(float value, bool eight_for_large,
                                        char (&text)[kSevenDigitBuffer], std::size_t& length) {
    length = 0;
    // On the signed value: every negative value takes the seven-digit rule.
    if (eight_for_large && value >= 100.0f) return "%.8g";
    const int n = std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    // NaN never compares equal, so it gets "%g"; an infinity reads back equal.
    const float readBack = static_cast<float>(std::strtod(text, nullptr));
    if (readBack != value) return "%g";
    if (n > 0 && static_cast<std::size_t>(n) < sizeof text) length = static_cast<std::size_t>(n);
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
