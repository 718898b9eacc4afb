// Tolerant comparison of single- and double-precision numbers. The two
// families share one template; each instantiation computes only in its own
// precision, so a float comparison never sees a double intermediate.
//
// Everything here is plain IEEE arithmetic and relies on NaN comparing false:
// the results for NaN operands follow from writing each rule as the exact
// comparison below (for instance "not (tol <= |b - a|)" rather than
// "|b - a| < tol"). Do not build this file with options that let the
// compiler assume finite values.

#include <cfloat>
#include <cmath>

#include "kq_float_compare.h"

namespace kq {
namespace {

template <class T>
struct FloatTraits;

template <>
struct FloatTraits<float> {
    static constexpr float kEpsilon = FLT_EPSILON;  // 2^-23
    static constexpr float kMinNormal = FLT_MIN;    // 2^-126
};

template <>
struct FloatTraits<double> {
    static constexpr double kEpsilon = DBL_EPSILON;  // 2^-52
    static constexpr double kMinNormal = DBL_MIN;    // 2^-1022
};

// One epsilon for first operands of magnitude up to 1; beyond that the
// epsilon grows with the magnitude of `a` (the second operand never counts).
template <class T>
T tolerance_of(T a) {
    const T magnitude = std::fabs(a);
    return magnitude > T(1) ? magnitude * FloatTraits<T>::kEpsilon : FloatTraits<T>::kEpsilon;
}

template <class T>
bool are_equal(T a, T b) {
    const T tol = tolerance_of(a);
    const T diff = std::fabs(b - a);
    return !(tol <= diff);  // NaN anywhere: equal
}

template <class T>
bool is_less_than(T a, T b) {
    const T diff = b - a;
    return diff > tolerance_of(a);
}

template <class T>
bool is_greater_than(T a, T b) {
    const T diff = a - b;
    return diff > tolerance_of(a);
}

template <class T>
bool is_non_zero(T x) {
    return std::fabs(x) >= FloatTraits<T>::kEpsilon;
}

template <class T>
T min_normal_with_sign_of(T x) {
    return x < T(0) ? -FloatTraits<T>::kMinNormal : FloatTraits<T>::kMinNormal;
}

}  // namespace
}  // namespace kq

bool AreEqualFLOAT32(float a, float b) { return kq::are_equal(a, b); }
bool AreEqualFLOAT64(double a, double b) { return kq::are_equal(a, b); }

bool IsLessThanFLOAT32(float a, float b) { return kq::is_less_than(a, b); }
bool IsLessThanFLOAT64(double a, double b) { return kq::is_less_than(a, b); }

bool IsGreaterThanFLOAT32(float a, float b) { return kq::is_greater_than(a, b); }
bool IsGreaterThanFLOAT64(double a, double b) { return kq::is_greater_than(a, b); }

// |x| against x: a negative x differs by 2|x|, so only negatives closer to
// zero than half an epsilon still count as positive.
bool IsPositiveFLOAT32(float x) { return kq::are_equal(std::fabs(x), x); }
bool IsPositiveFLOAT64(double x) { return kq::are_equal(std::fabs(x), x); }

bool IsNonZeroFLOAT32(float x) { return kq::is_non_zero(x); }
bool IsNonZeroFLOAT64(double x) { return kq::is_non_zero(x); }

bool IsZeroFLOAT32(float x) { return !kq::is_non_zero(x); }
bool IsZeroFLOAT64(double x) { return !kq::is_non_zero(x); }

float EnsureNonZeroFLOAT32(float x) {
    return kq::is_non_zero(x) ? x : kq::min_normal_with_sign_of(x);
}

// The closeness test of the double variant is made in single precision: x
// rounded to float against 2^-52 held as a float. A double just below 2^-52
// that rounds up to it therefore passes unchanged.
double EnsureNonZeroFLOAT64(double x) {
    // Beyond the float range the rounded value would be infinite, which
    // passes the test anyway; answering directly keeps the conversion in
    // range.
    if (std::fabs(x) > static_cast<double>(FLT_MAX)) return x;
    const float narrowed = static_cast<float>(x);
    const float epsilon = static_cast<float>(DBL_EPSILON);
    if (std::fabs(narrowed) >= epsilon) return x;
    return kq::min_normal_with_sign_of(x);
}
