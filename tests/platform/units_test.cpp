// Host unit catalog: names, display texts, conversions and their failures.
#include <gtest/gtest.h>

#include "kq_host_units.h"

TEST(HostUnits, NamesAndDisplayTexts) {
    EXPECT_EQ(GetUnitEnum("degC"), 10);
    EXPECT_EQ(GetUnitEnum("s"), UNIT_SECONDS);
    EXPECT_EQ(GetUnitEnum(""), UNIT_NONE);
    EXPECT_EQ(GetUnitEnum("DEGC"), UNIT_NONE);
    EXPECT_STREQ(getDisplayUnits("degF"),
                 "\xC2\xB0"
                 "F");
    EXPECT_STREQ(getDisplayUnits("furlong"), "furlong");
    kqhost::define_unit({"degC", 10, "deg C", "temperature", 1.0, 273.15});
    kqhost::define_unit({"gal/h", 77, "", "flow", 3785.411784 / 3600.0, 0.0});
    EXPECT_STREQ(getDisplayUnits("degC"), "deg C");
    EXPECT_EQ(GetUnitEnum("gal/h"), 77);
    kqhost::reset_units();
    EXPECT_STREQ(getDisplayUnits("degC"),
                 "\xC2\xB0"
                 "C");
    EXPECT_EQ(GetUnitEnum("gal/h"), UNIT_NONE);
}

TEST(HostUnits, Conversions) {
    DATA_TYPE_UNION v;
    v.dVal = 100.0;
    EXPECT_EQ(ConvertUnits(GetUnitEnum("degC"), GetUnitEnum("degF"), DT_DOUBLE, &v), 0);
    EXPECT_NEAR(v.dVal, 212.0, 1e-9);
    v.fVal = 1.0f;
    EXPECT_EQ(ConvertUnits(GetUnitEnum("bar"), GetUnitEnum("psi"), DT_FLOAT, &v), 0);
    EXPECT_EQ(v.fVal, 14.5037737f);
    // Integers are rounded half away from zero and kept 32-bit.
    const struct {
        const char *from, *to;
        int32_t in, out;
    } ints[] = {{"min", "s", -3, -180}, {"min", "h", -7, 0}, {"min", "h", -30, -1}};
    for (const auto& c : ints) {
        v.lVal = c.in;
        EXPECT_EQ(ConvertUnits(GetUnitEnum(c.from), GetUnitEnum(c.to), DT_INT32, &v), 0);
        EXPECT_EQ(v.lVal, c.out) << c.in << " " << c.from << " in " << c.to;
    }
    // Failures leave the value.
    v.dVal = 3.0;
    EXPECT_NE(ConvertUnits(GetUnitEnum("degC"), GetUnitEnum("bar"), DT_DOUBLE, &v), 0);
    EXPECT_NE(ConvertUnits(static_cast<UNIT_ENUM>(999), GetUnitEnum("bar"), DT_DOUBLE, &v), 0);
    EXPECT_NE(ConvertUnits(GetUnitEnum("mm"), GetUnitEnum("m"), DT_STRING, &v), 0);
    EXPECT_EQ(v.dVal, 3.0);
}
