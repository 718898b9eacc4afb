// Deciding what the pseudo-specifiers "%76g" and "%86g" become for a float.
#pragma once

#include <cstddef>

namespace kq {

// Room for the "%.7g" text of any float, sign and exponent included.
constexpr std::size_t kSevenDigitBuffer = 32;

// The real specifier for `value`: "%.8g" for "%86g" (`eight_for_large`) when
// the value is at least 100; otherwise "%.7g" when seven significant digits
// read back as the same float, else "%g". Deciding prints the value with
// "%.7g" into `text`; when the answer is "%.7g" that text is the printed
// value, and `length` is set to its length (0 otherwise).
const char* decode_pseudo_specifier(float value, bool eight_for_large,
                                    char (&text)[kSevenDigitBuffer], std::size_t& length);

}  // namespace kq
