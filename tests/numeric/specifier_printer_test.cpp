// Printing with untrusted specifiers: unusable ones give the empty text,
// usable ones give exactly what the C library prints.
#include "numeric/specifier_printer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

using kq::PrintValue;

namespace {
std::string printed(const std::string& specifier, const PrintValue& value) {
    std::string out = "stale";
    kq::print_with_specifier(specifier, value, out);
    return out;
}
}  // namespace

TEST(SpecifierPrinter, UnusableSpecifiersGiveEmptyText) {
    const std::string manyNines = "%" + std::string(300, '9') + "d";
    const std::string cases[] = {"%n", "%s", "%c", "%p", "%*d", "%1$d", "%d %d", "%", "x = %",
                                 "%.1000f", "%m", "%'d", "%ls", "%y", manyNines,
                                 // Digit runs past what an int holds (reading them must not
                                 // overflow).
                                 "%.2147483648f", "%2147483648.1f", "%-99999999999d"};
    for (const auto& specifier : cases)
        for (const PrintValue& value : {PrintValue::of_signed(7), PrintValue::of_double(1.5)}) {
            std::string out = "stale";
            EXPECT_FALSE(kq::print_with_specifier(specifier, value, out)) << specifier;
            EXPECT_EQ(out, "") << specifier;
        }
}

TEST(SpecifierPrinter, ByteIdenticalToSnprintf) {
    const char* const doubleFormats[] = {"%g",   "%.2f",       "%8.3e",    "%-10.4G|", "%a",
                                         "%76g", "%+#.0f deg", "%%%.1f%%", "%0999.3f", "%.999f",
                                         "%lf",  "%Lg",        "a %% b"};
    const double doubles[] = {
        0.1, -0.0, 1e300, 123.456, -1e-320, std::numeric_limits<double>::quiet_NaN(), -HUGE_VAL};
    char expected[kq::kPrintBufferSize];
    for (const std::string format : doubleFormats) {
        // The C library is asked without the length modifier the printer drops.
        std::string plain = format;
        for (auto at = plain.find_first_of("lL"); at != std::string::npos;
             at = plain.find_first_of("lL"))
            plain.erase(at, 1);
        for (double v : doubles) {
            std::snprintf(expected, sizeof expected, plain.c_str(), v);
            EXPECT_EQ(printed(format, PrintValue::of_double(v)), expected) << format << " " << v;
        }
    }
    // Conversions alone are compared in bulk in printer_identity_test.cpp;
    // here literal text around them and the cut at the buffer's end.
    const std::string intFormats[] = {"%#o",
                                      "%X",
                                      "abcdefghij%0120d",
                                      std::string(100, 'x') + "%+12.10d",
                                      std::string(120, 'x') + "%-9d|",
                                      std::string(126, 'x') + "%d"};
    const int ints[] = {0, -1, 42, std::numeric_limits<int>::min(),
                        std::numeric_limits<int>::max()};
    for (const std::string& format : intFormats)
        for (int v : ints) {
            if (std::strpbrk(format.c_str(), "uoxX"))
                std::snprintf(expected, sizeof expected, format.c_str(), static_cast<unsigned>(v));
            else
                std::snprintf(expected, sizeof expected, format.c_str(), v);
            EXPECT_EQ(printed(format, PrintValue::of_signed(v)), expected) << format << " " << v;
        }
}

TEST(SpecifierPrinter, ValueMeetsConversionOfTheOtherKind) {
    const PrintValue allOnes = PrintValue::of_unsigned(0xFFFFFFFFu);
    struct Case {
        const char* specifier;
        PrintValue value;
        const char* shown;
    } const cases[] = {
        {"%u", allOnes, "4294967295"},
        {"%d", allOnes, "-1"},
        {"%ld", allOnes, "-1"},
        {"%lld", PrintValue::of_signed(-1), "-1"},
        // "h" and "hh" narrow the value as printf narrows an int.
        {"%hd", PrintValue::of_signed(70000), "4464"},
        {"%hhd", PrintValue::of_signed(70000), "112"},
        {"%hu", PrintValue::of_signed(-1), "65535"},
        {"%hhu", PrintValue::of_signed(-1), "255"},
        {"%5hx|", PrintValue::of_double(-1.5), " ffff|"},
        {"%hf", PrintValue::of_signed(70000), "70000.000000"},
        {"%d", PrintValue::of_double(-3.9), "-3"},
        {"%d", PrintValue::of_double(4294967296.0 + 5), "5"},
        {"%d", PrintValue::of_double(2147483648.0), "-2147483648"},
        {"%u", PrintValue::of_double(-1.0), "4294967295"},
        {"%u", PrintValue::of_double(HUGE_VAL), "0"},
        {"%.1f", PrintValue::of_signed(-3), "-3.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printed(c.specifier, c.value), c.shown) << c.specifier << " -> " << c.shown;
}
