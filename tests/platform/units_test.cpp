// Host unit catalog: conversions and their failures.
#include <gtest/gtest.h>

#include "kq_host_units.h"

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
