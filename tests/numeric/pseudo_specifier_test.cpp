// "%76g" and "%86g": seven digits when they read back as the same float.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/formatter.h"
#include "kq_format_data.h"

TEST(PseudoSpecifiers, DecodeByValue) {
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float kEightDigits = std::nextafter(0.1f, 1.0f);
    struct Case {
        const char* name;
        bool decoder86;
        float value;
        const char* specifier;
        const char* expected;
    } const cases[] = {
        {"tenth reads back", false, 0.1f, "%76g", "%.7g"},
        {"needs eight digits", false, kEightDigits, "%76g", "%g"},
        {"NaN", false, kNaN, "%76g", "%g"},
        {"infinity reads back", false, std::numeric_limits<float>::infinity(), "%76g", "%.7g"},
        {"86 at 100", true, 100.0f, "%86g", "%.8g"},
        {"86 below 100", true, 99.5f, "%86g", "%.7g"},
        {"86 negative", true, -500.0f, "%86g", "%.7g"},
        {"86 negative, eight digits", true, -std::nextafter(100.0f, 200.0f), "%86g", "%g"},
        {"86 NaN", true, kNaN, "%86g", "%g"},
        {"76 with a trailing char", false, 0.1f, "%76gx", "%76gx"},
        {"86 under the 76 decoder", false, 100.0f, "%86g", "%86g"},
        {"76 under the 86 decoder", true, 0.1f, "%76g", "%76g"},
    };
    kq::Formatter fmt;
    for (const auto& c : cases) {
        std::string specifier = c.specifier;
        c.decoder86 ? fmt.DecodeForFloat86(c.value, specifier)
                    : fmt.DecodeForFloat76(c.value, specifier);
        EXPECT_EQ(specifier, c.expected) << c.name;
    }
}
