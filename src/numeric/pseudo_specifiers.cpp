// The pseudo-specifiers "%76g" and "%86g" of float values: seven significant
// digits when those digits read back as the same float, else the default
// six; "%86g" shows values of 100 and more with eight.
#include <cstdio>
#include <cstdlib>

#include "kq_format_data.h"

namespace {

// Any "%.7g" text of a float fits, sign and exponent included.
constexpr std::size_t kSevenDigitBuffer = 32;

// "%.7g" when seven significant digits give `value` back, "%g" otherwise.
// NaN never compares equal, so it gets "%g"; an infinity reads back equal.
const char* seven_or_six_digits(float value) {
    char text[kSevenDigitBuffer];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    const float readBack = static_cast<float>(std::strtod(text, nullptr));
    return readBack == value ? "%.7g" : "%g";
}

}  // namespace

void KQ_FORMAT_DATA::DecodeForFloat76(float value, std::string& specifier) {
    if (specifier != "%76g") return;
    specifier = seven_or_six_digits(value);
}

void KQ_FORMAT_DATA::DecodeForFloat86(float value, std::string& specifier) {
    if (specifier != "%86g") return;
    // On the signed value: every negative value takes the seven-digit rule.
    specifier = value >= 100.0f ? "%.8g" : seven_or_six_digits(value);
}
