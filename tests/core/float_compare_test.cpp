// Tolerant comparisons: a difference equal to the tolerance is not "equal",
// only the first operand sets the scale (with a floor of one epsilon), NaN
// rules, and each family keeping to its own epsilon and precision.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kq_float_compare.h"

namespace {

const float kNaN32 = std::numeric_limits<float>::quiet_NaN();
const double kNaN64 = std::numeric_limits<double>::quiet_NaN();
float p2f(int e) { return std::ldexp(1.0f, e); }
double p2(int e) { return std::ldexp(1.0, e); }
const float kBelowEps32 = std::nextafter(p2f(-23), 0.0f);

TEST(FloatCompare, TruthValues) {
    const struct {
        const char* name;
        bool got, want;
    } cases[] = {
        {"eq32 at tol", AreEqualFLOAT32(0.5f, 0.5f + p2f(-23)), false},
        {"eq32 a>1 widens", AreEqualFLOAT32(1.0f + p2f(-23), 1.0f), true},
        {"eq32 NaN", AreEqualFLOAT32(1.0f, kNaN32), true},
        {"lt32 beyond tol", IsLessThanFLOAT32(1.0f, 1.0f + p2f(-22)), true},
        {"lt32 eps floor", IsLessThanFLOAT32(0.25f, 0.25f + p2f(-23)), false},
        {"lt32 NaN", IsLessThanFLOAT32(kNaN32, 1.0f), false},
        {"gt32 beyond tol", IsGreaterThanFLOAT32(1.0f, 1.0f - p2f(-22)), true},
        {"gt32 4 at tol", IsGreaterThanFLOAT32(4.0f, 4.0f - p2f(-21)), false},
        {"pos32 -1e-8", IsPositiveFLOAT32(-1e-8f), true},
        {"pos32 -1e-7", IsPositiveFLOAT32(-1e-7f), false},
        {"nz32 below eps", IsNonZeroFLOAT32(kBelowEps32), false},
        {"nz32 NaN", IsNonZeroFLOAT32(kNaN32), false},
        {"zero32 NaN", IsZeroFLOAT32(kNaN32), true},
        {"eq64 at tol", AreEqualFLOAT64(0.5, 0.5 + p2(-52)), false},
        {"lt64 beyond tol", IsLessThanFLOAT64(1.0, 1.0 + p2(-51)), true},
        {"nz64 below eps", IsNonZeroFLOAT64(std::nextafter(p2(-52), 0.0)), false},
        {"pos64 -1e-16", IsPositiveFLOAT64(-1e-16), true},
        {"zero64 1e-15", IsZeroFLOAT64(1e-15), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(FloatCompare, EnsureNonZero) {
    const struct {
        const char* name;
        double got, want;
    } cases[] = {
        {"32 -1e-9", EnsureNonZeroFLOAT32(-1e-9f), -p2(-126)},
        {"32 -eps", EnsureNonZeroFLOAT32(-p2f(-23)), -p2(-23)},
        {"32 NaN", EnsureNonZeroFLOAT32(kNaN32), p2(-126)},
        {"32 -0", EnsureNonZeroFLOAT32(-0.0f), p2(-126)},
        {"64 -0", EnsureNonZeroFLOAT64(-0.0), p2(-1022)},
        {"64 -1e-20", EnsureNonZeroFLOAT64(-1e-20), -p2(-1022)},
        // The test is made in single precision: this double below 2^-52
        // rounds up to it as a float and is kept; the next one does not.
        {"64 rounds up to eps", EnsureNonZeroFLOAT64(p2(-52) - p2(-80)), p2(-52) - p2(-80)},
        {"64 below eps as float", EnsureNonZeroFLOAT64(p2(-52) - p2(-72)), p2(-1022)},
        {"64 beyond float range", EnsureNonZeroFLOAT64(-1e300), -1e300},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

}  // namespace
