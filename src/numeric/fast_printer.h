// Printing one number as printf prints it for one conversion, without the C
// library: integers digit by digit, doubles through std::to_chars, with
// printf's sign, padding, precision, "#" and "%g" rules applied here.
//
// The text is that of glibc's printf in the "C" locale with the default
// rounding mode (to nearest, ties to even on the exact binary value), and it
// stays so whatever locale or rounding mode the calling thread has set.
// Conversions this path does not cover, and texts longer than the room
// given, are reported as not covered; the caller then asks snprintf.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kq {

// One conversion as written: flags, width, precision, length and letter.
struct Conversion {
    bool left = false;       // "-"
    bool plus = false;       // "+"
    bool space = false;      // " "
    bool alternate = false;  // "#"
    bool zero = false;       // "0"
    int width = 0;           // 0: none
    int precision = -1;      // -1: none; "." alone is 0
    int bits = 32;           // integer conversions: 16 for "h", 8 for "hh"
    char letter = 0;         // d i u o x X, f F e E g G (a A are not covered)
};

// The length the functions below return when they do not cover the case.
constexpr std::size_t kNotCovered = static_cast<std::size_t>(-1);

// True for the conversions the functions below cover.
bool fast_path_covers(char letter);

// Writes what printf prints for `c` (d i u o x X) given the 32-bit value
// `bits` as an int (signed conversions) or an unsigned int, narrowed first
// to `c.bits`. Returns the length (no terminator is written), or
// kNotCovered when the text needs more than `capacity` bytes.
std::size_t print_integer(const Conversion& c, uint32_t bits, char* out, std::size_t capacity);

// Writes what printf prints for `c` (f F e E g G) given `value`. Returns the
// length, or kNotCovered for another letter or a text over `capacity`.
std::size_t print_double(const Conversion& c, double value, char* out, std::size_t capacity);

// Rewrites the text std::to_chars gives for a finite, non-negative value in
// scientific form with `significant` - 1 digits after the point
// ("d.ddde+XX") as "%.{significant}g" prints `magnitude`, that value ("#":
// `alternate`). Returns the length written to `out` (room for
// `significant` + 8 bytes).
std::size_t general_from_scientific(const char* scientific, std::size_t length, int significant,
                                    bool alternate, double magnitude, char* out);

}  // namespace kq
