// Fuzz target: printing one value with an untrusted printf specifier.
//
// Input: one byte choosing the value's kind (double, signed or unsigned
// 32-bit), eight bytes of its bits, then the specifier text. A 0xFF byte in
// the text splits it into two specifiers, A and B, to check that a
// ParsedSpecifier kept across rows prints each as a fresh one would.
//
// Checks, besides the sanitizers:
//   - the text is never longer than kPrintBufferSize - 1 bytes;
//   - a specifier the printer's rules accept (literal text, "%%", at most one
//     conversion with flags, a width and a precision of at most 3 digits and
//     an optional length modifier) prints exactly what snprintf prints for
//     it when given the argument that conversion expects on the target (a
//     32-bit int for integer conversions, narrowed by "h" and "hh" as
//     printf narrows it, "%ld" a 32-bit long, a double for floating
//     conversions), cut to the buffer; this covers the fast printer and
//     the snprintf path alike;
//   - every other specifier prints nothing and reports itself unusable.
// The acceptance rules are written out again here, from the printer's
// documented contract, not taken from its code.
#include <cinttypes>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "numeric/specifier_printer.h"

namespace {

using kq::PrintValue;

enum class Conversion { kNone, kDouble, kSigned, kUnsigned };

// What the contract says about one specifier.
struct Expectation {
    bool usable = true;
    Conversion conversion = Conversion::kNone;
    std::string length;  // length modifier as written ("", "l", "hh", ...)
};

bool is_in(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Reads a run of digits at `i`; false when there are more than three.
bool digits_up_to_three(const char* s, std::size_t& i) {
    std::size_t n = 0;
    while (s[i] >= '0' && s[i] <= '9') ++i, ++n;
    return n <= 3;
}

Expectation expect(const char* s) {
    Expectation e;
    for (std::size_t i = 0; s[i] != '\0';) {
        if (s[i] != '%') {
            ++i;
            continue;
        }
        if (s[i + 1] == '%') {
            i += 2;
            continue;
        }
        if (e.conversion != Conversion::kNone) return {false, Conversion::kNone, ""};
        ++i;
        while (is_in(s[i], "-+ #0")) ++i;
        if (!digits_up_to_three(s, i)) return {false, Conversion::kNone, ""};
        if (s[i] == '.') {
            ++i;
            if (!digits_up_to_three(s, i)) return {false, Conversion::kNone, ""};
        }
        if ((s[i] == 'h' && s[i + 1] == 'h') || (s[i] == 'l' && s[i + 1] == 'l')) {
            e.length.assign(s + i, 2);
            i += 2;
        } else if (is_in(s[i], "hlLjzt")) {
            e.length.assign(s + i, 1);
            i += 1;
        }
        const char letter = s[i];
        if (is_in(letter, "fFeEgGaA"))
            e.conversion = Conversion::kDouble;
        else if (is_in(letter, "di"))
            e.conversion = Conversion::kSigned;
        else if (is_in(letter, "uoxX"))
            e.conversion = Conversion::kUnsigned;
        else
            return {false, Conversion::kNone, ""};
        ++i;
    }
    return e;
}

double double_of(const PrintValue& v) {
    if (v.kind == PrintValue::kSigned32) return v.i;
    if (v.kind == PrintValue::kUnsigned32) return v.u;
    return v.d;
}

// The 32 bits an integer conversion prints: a double is truncated toward
// zero and wrapped (non-finite values give 0). False for doubles too large
// to wrap through a 64-bit integer here; those are not compared.
bool bits_of(const PrintValue& v, uint32_t& bits) {
    if (v.kind == PrintValue::kSigned32) {
        bits = static_cast<uint32_t>(v.i);
        return true;
    }
    if (v.kind == PrintValue::kUnsigned32) {
        bits = v.u;
        return true;
    }
    if (!std::isfinite(v.d)) {
        bits = 0;
        return true;
    }
    if (!(std::fabs(v.d) < 9.2e18)) return false;
    bits = static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(v.d)));
    return true;
}

// Removes the length modifier from the one conversion of `s`.
std::string without_length(const std::string& s, const std::string& length) {
    if (length.empty()) return s;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') continue;
        if (s[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < s.size() && std::strchr("-+ #0123456789.", s[j]) != nullptr) ++j;
        return s.substr(0, j) + s.substr(j + length.size());
    }
    return s;
}

// snprintf of `s` with the argument its conversion takes on the 32-bit
// target. False when no reference text can be made for this value.
bool reference_text(const std::string& s, const Expectation& e, const PrintValue& v,
                    std::string& out) {
    static char buf[8192];
    int n = 0;
    if (e.conversion == Conversion::kNone) {
        n = std::snprintf(buf, sizeof buf, s.c_str(), 0);
    } else if (e.conversion == Conversion::kDouble) {
        // "l" means nothing to a floating conversion; "L" would want a long
        // double, which the printer never passes: compare without it.
        const std::string f = e.length == "l" ? s : without_length(s, e.length);
        n = std::snprintf(buf, sizeof buf, f.c_str(), double_of(v));
    } else {
        uint32_t bits = 0;
        if (!bits_of(v, bits)) return false;
        const bool sign = e.conversion == Conversion::kSigned;
        const int32_t i = static_cast<int32_t>(bits);
        // A 32-bit long is what "%ld" reads on the target; the host's wider
        // long gets the same value, sign- or zero-extended.
        if (e.length == "l") {
            n = sign ? std::snprintf(buf, sizeof buf, s.c_str(), static_cast<long>(i))
                     : std::snprintf(buf, sizeof buf, s.c_str(), static_cast<unsigned long>(bits));
        } else {
            // "h" and "hh" narrow the int as printf does; every other
            // modifier is documented to print the 32-bit value as an int.
            const bool narrows = e.length == "h" || e.length == "hh";
            const std::string f = narrows ? s : without_length(s, e.length);
            n = sign ? std::snprintf(buf, sizeof buf, f.c_str(), i)
                     : std::snprintf(buf, sizeof buf, f.c_str(), bits);
        }
    }
    if (n < 0) return false;
    out.assign(buf, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
    return true;
}

void check_one(const std::string& specifier, const PrintValue& value) {
    std::string out;
    const bool usable = kq::print_with_specifier(specifier, value, out);
    if (out.size() > kq::kPrintBufferSize - 1) std::abort();

    // The C library reads a format up to its first zero byte.
    const std::string c_text(specifier.c_str());
    const Expectation e = expect(c_text.c_str());
    if (!e.usable) {
        if (usable || !out.empty()) std::abort();
        return;
    }
    if (!usable) std::abort();
    std::string reference;
    if (!reference_text(c_text, e, value, reference)) return;
    if (reference.size() > kq::kPrintBufferSize - 1) reference.resize(kq::kPrintBufferSize - 1);
    if (out != reference) std::abort();
}

// A ParsedSpecifier handed several specifiers in turn prints each as a fresh
// one does.
void check_reuse(const std::string& a, const std::string& b, const PrintValue& value) {
    kq::ParsedSpecifier parsed;
    char buf[kq::kPrintBufferSize];
    for (const std::string* s : {&a, &b, &a, &a}) {
        parsed.set(*s);
        const std::size_t length = parsed.print(value, buf);
        if (length >= kq::kPrintBufferSize || buf[length] != '\0') std::abort();
        std::string fresh;
        const bool usable = kq::print_with_specifier(*s, value, fresh);
        if (usable != parsed.usable() || fresh != std::string(buf, length)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    uint64_t bits = 0;
    std::memcpy(&bits, data + 1, sizeof bits);
    PrintValue value = PrintValue::of_double(0);
    switch (data[0] % 3) {
        case 0: {
            double d;
            std::memcpy(&d, &bits, sizeof d);
            value = PrintValue::of_double(d);
            break;
        }
        case 1: value = PrintValue::of_signed(static_cast<int32_t>(bits)); break;
        default: value = PrintValue::of_unsigned(static_cast<uint32_t>(bits)); break;
    }

    const std::string text(reinterpret_cast<const char*>(data) + 9, size - 9);
    const std::size_t split = text.find('\xFF');
    const std::string a = text.substr(0, split);
    check_one(a, value);
    if (split != std::string::npos) {
        const std::string b = text.substr(split + 1);
        check_one(b, value);
        check_reuse(a, b, value);
    }
    return 0;
}
