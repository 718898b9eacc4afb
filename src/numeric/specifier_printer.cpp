// Printing one value with an untrusted printf specifier.
//
// The specifier is split once into literal text before the conversion, the
// conversion itself and literal text after it. The conversion is written by
// the fast printer or, where that does not cover it, by snprintf, rebuilt
// from checked parts and paired with exactly the argument type it reads;
// the literal parts are copied. Copying "%%" as "%" and the
// other bytes as they are is what snprintf does with literal text, so the
// joined result is the text snprintf would give for the whole specifier.
#include "numeric/specifier_printer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kq {
namespace {

constexpr std::size_t kMaxNumberDigits = 3;  // of a width or a precision
constexpr double kTwoTo32 = 4294967296.0;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_one_of(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Reads a run of decimal digits (0 when there is none); false when it is
// longer than allowed. The run itself may be of any length: only the
// digits that fit the limit are added up, so the value cannot overflow.
bool read_number(const char* s, std::size_t& at, int& value) {
    std::size_t digits = 0;
    value = 0;
    while (is_digit(s[at])) {
        if (digits < kMaxNumberDigits) value = value * 10 + (s[at] - '0');
        ++at;
        ++digits;
    }
    return digits <= kMaxNumberDigits;
}

// Reads a C length modifier, if one stands at `at`: the bits "h" (16) and
// "hh" (8) narrow an integer to, 32 for any other. The value is always
// passed as a 32-bit int or a double, so the others are read and dropped.
int read_length_modifier(const char* s, std::size_t& at) {
    const char c = s[at];
    if (c == 'h' || c == 'l') {
        ++at;
        const bool doubled = s[at] == c;
        if (doubled) ++at;
        if (c == 'h') return doubled ? 8 : 16;
    } else if (is_one_of(c, "Ljzt")) {
        ++at;
    }
    return 32;
}

// A double truncated toward zero and wrapped to 32 bits; NaN and the
// infinities give 0.
uint32_t wrap_to_32_bits(double d) {
    if (!std::isfinite(d)) return 0;
    double m = std::fmod(std::trunc(d), kTwoTo32);  // exact; |m| < 2^32
    if (m < 0) m += kTwoTo32;
    return static_cast<uint32_t>(m);
}

double as_double(const PrintValue& v) {
    switch (v.kind) {
        case PrintValue::kSigned32: return static_cast<double>(v.i);
        case PrintValue::kUnsigned32: return static_cast<double>(v.u);
        case PrintValue::kDouble: break;
    }
    return v.d;
}

uint32_t as_bits(const PrintValue& v) {
    switch (v.kind) {
        case PrintValue::kSigned32: return static_cast<uint32_t>(v.i);
        case PrintValue::kUnsigned32: return v.u;
        case PrintValue::kDouble: break;
    }
    return wrap_to_32_bits(v.d);
}

}  // namespace

void ParsedSpecifier::set(const std::string& specifier) {
    if (specifier == source_) return;
    source_ = specifier;
    parse();
}

void ParsedSpecifier::parse() {
    prefix_.clear();
    conversion_.clear();
    suffix_.clear();
    argument_ = Argument::kNone;
    fast_ = false;
    usable_ = false;

    // The C library reads the specifier up to its first NUL byte.
    const char* s = source_.c_str();
    std::string* literal = &prefix_;
    std::size_t at = 0;
    while (s[at] != '\0') {
        const char* percent = std::strchr(s + at, '%');
        if (percent == nullptr) {
            literal->append(s + at);
            break;
        }
        literal->append(s + at, percent - (s + at));
        at = percent - s;
        if (s[at + 1] == '%') {
            literal->push_back('%');
            at += 2;
            continue;
        }
        if (argument_ != Argument::kNone) return;  // a second conversion

        const std::size_t start = at++;
        Conversion c;
        for (; is_one_of(s[at], "-+ #0"); ++at) {
            switch (s[at]) {
                case '-': c.left = true; break;
                case '+': c.plus = true; break;
                case ' ': c.space = true; break;
                case '0': c.zero = true; break;
                default: c.alternate = true; break;
            }
        }
        if (!read_number(s, at, c.width)) return;
        if (s[at] == '.') {
            ++at;
            if (!read_number(s, at, c.precision)) return;
        }
        const std::size_t kept_end = at;
        c.bits = read_length_modifier(s, at);
        const char letter = s[at];
        if (is_one_of(letter, "fFeEgGaA")) {
            argument_ = Argument::kDouble;
        } else if (is_one_of(letter, "di")) {
            argument_ = Argument::kSigned;
        } else if (is_one_of(letter, "uoxX")) {
            argument_ = Argument::kUnsigned;
        } else {
            return;  // %n, %s, %c, %p, *, 1$, a lone % ...
        }
        if (argument_ == Argument::kDouble) c.bits = 32;
        conversion_.assign(s + start, kept_end - start);
        if (c.bits < 32) conversion_.append(c.bits == 8 ? "hh" : "h");
        conversion_.push_back(letter);
        c.letter = letter;
        fast_ = fast_path_covers(letter);
        fastConversion_ = c;
        ++at;
        literal = &suffix_;
    }
    usable_ = true;
}

std::size_t ParsedSpecifier::print_conversion_fast(const PrintValue& value, char* out,
                                                   std::size_t capacity) const {
    if (!usable_ || !fast_) return kNotCovered;
    if (argument_ == Argument::kDouble)
        return print_double(fastConversion_, as_double(value), out, capacity);
    return print_integer(fastConversion_, as_bits(value), out, capacity);
}

std::size_t ParsedSpecifier::print(const PrintValue& value, char* buf) const {
    constexpr std::size_t kMaxText = kPrintBufferSize - 1;
    // The usual specifier is a conversion alone.
    if (fast_ && prefix_.empty() && suffix_.empty()) {
        const std::size_t n = print_conversion_fast(value, buf, kMaxText);
        if (n != kNotCovered) {
            buf[n] = '\0';
            return n;
        }
    }
    std::size_t len = 0;
    auto put = [&](const std::string& text) {
        if (text.empty()) return;
        const std::size_t n = std::min(text.size(), kMaxText - len);
        std::memcpy(buf + len, text.data(), n);
        len += n;
    };

    if (usable_) {
        put(prefix_);
        if (argument_ != Argument::kNone && len < kMaxText) {
            char* at = buf + len;
            const std::size_t room = kPrintBufferSize - len;
            const std::size_t fast = print_conversion_fast(value, at, room - 1);
            if (fast != kNotCovered) {
                len += fast;
            } else {
                // What the fast printer leaves: %a, %A and texts that the
                // buffer cuts.
                const char* conversion = conversion_.c_str();
                int written = 0;
                switch (argument_) {
                    case Argument::kDouble:
                        written = std::snprintf(at, room, conversion, as_double(value));
                        break;
                    case Argument::kSigned:
                        written =
                            std::snprintf(at, room, conversion,
                                          static_cast<int>(static_cast<int32_t>(as_bits(value))));
                        break;
                    case Argument::kUnsigned:
                        written = std::snprintf(at, room, conversion,
                                                static_cast<unsigned int>(as_bits(value)));
                        break;
                    case Argument::kNone: break;
                }
                if (written > 0) len += std::min(static_cast<std::size_t>(written), room - 1);
            }
        }
        put(suffix_);
    }
    buf[len] = '\0';
    return len;
}

bool print_with_specifier(const std::string& specifier, const PrintValue& value, std::string& out) {
    ParsedSpecifier parsed;
    parsed.set(specifier);
    char buf[kPrintBufferSize];
    const std::size_t len = parsed.print(value, buf);
    out.assign(buf, len);
    return parsed.usable();
}

}  // namespace kq
