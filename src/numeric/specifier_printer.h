// Printing one value with a printf specifier taken from configuration.
//
// The specifier is untrusted. It may hold literal text and "%%", and at most
// one conversion; the value is passed as exactly the argument that
// conversion expects, so the C library never reads an argument it was not
// given. Rules:
//   - floating conversions (f F e E g G a A) print the value as a double;
//   - integer conversions (d i u o x X) print the value as a 32-bit int
//     (signed for d i, unsigned for u o x X); "h" and "hh" narrow it to 16
//     or 8 bits as printf does, every other length modifier is dropped
//     ("%ld", "%lld" print the 32-bit value); a floating value is first
//     truncated toward zero and wrapped to 32 bits;
//   - flags "-+ #0", a width and a precision of at most 3 digits each are
//     kept; a length modifier of a floating conversion is dropped;
//   - anything else ("%n", "%s", "%c", "%p", "*", "1$", a second conversion,
//     a lone "%" at the end, a width or precision of 4 digits or more) makes
//     the whole specifier unusable: the text is empty;
//   - a specifier without any conversion prints its literal text.
// The text is cut to kPrintBufferSize - 1 bytes.
//
// Numbers are written by the fast printer (fast_printer.h) with the bytes
// glibc's printf gives; only what it does not cover (%a, %A, a number text
// longer than the buffer) reaches snprintf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "numeric/fast_printer.h"

namespace kq {

// Room for the printed text and its terminator.
constexpr std::size_t kPrintBufferSize = 128;

// The value being printed, as the column holds it.
struct PrintValue {
    enum Kind { kDouble, kSigned32, kUnsigned32 } kind;
    double d;
    int32_t i;
    uint32_t u;
    static PrintValue of_double(double v) { return {kDouble, v, 0, 0}; }
    static PrintValue of_signed(int32_t v) { return {kSigned32, 0.0, v, 0}; }
    static PrintValue of_unsigned(uint32_t v) { return {kUnsigned32, 0.0, 0, v}; }
};

// A specifier checked and split once, for printing many values with it.
// Column formatters keep one across rows and hand it each row's specifier;
// it parses again only when that text differs from the one it holds.
class ParsedSpecifier {
public:
    // Holds the empty specifier (prints the empty text).
    ParsedSpecifier() = default;

    // Makes `specifier` the one held, parsing it unless it is already held.
    void set(const std::string& specifier);

    // False when the held specifier breaks the rules above.
    bool usable() const { return usable_; }

    // Writes the text of `value` into `buf` (room for kPrintBufferSize bytes),
    // terminated, and returns its length; 0 for an unusable specifier.
    std::size_t print(const PrintValue& value, char* buf) const;

    // Only the conversion, by the fast printer: its text in `out` (at most
    // `capacity` bytes, no terminator) and its length, or kNotCovered when
    // print() would ask snprintf (also when there is no conversion).
    std::size_t print_conversion_fast(const PrintValue& value, char* out,
                                      std::size_t capacity) const;

private:
    enum class Argument { kNone, kDouble, kSigned, kUnsigned };

    void parse();

    std::string source_;  // the specifier as given
    bool usable_ = true;
    std::string prefix_;      // literal text before the conversion ("%%" undone)
    std::string conversion_;  // "%", flags, width, precision, "h"/"hh" if any, letter
    std::string suffix_;      // literal text after the conversion ("%%" undone)
    Argument argument_ = Argument::kNone;
    bool fast_ = false;  // the fast printer covers conversion_, described by fastConversion_
    Conversion fastConversion_;
};

// Writes the text of `value` printed with `specifier` into `out`
// (replacing it). Returns false when the specifier was unusable (out empty).
bool print_with_specifier(const std::string& specifier, const PrintValue& value, std::string& out);

}  // namespace kq
