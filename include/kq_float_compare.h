// Tolerant floating-point comparison for hosts.
//
// The tolerance is one machine epsilon (FLT_EPSILON / DBL_EPSILON) when the
// first operand's magnitude is at most 1, otherwise that magnitude times
// epsilon: only the first operand sets the scale, so the comparisons are not
// symmetric. The FLOAT32 family computes in float, the FLOAT64 family in
// double.
#pragma once

#include "kq_export.h"

// True unless |b - a| reaches the tolerance (true when either is NaN).
KQ_EXPORT bool AreEqualFLOAT32(float a, float b);
KQ_EXPORT bool AreEqualFLOAT64(double a, double b);
// True when b - a exceeds the tolerance (false with a NaN).
KQ_EXPORT bool IsLessThanFLOAT32(float a, float b);
KQ_EXPORT bool IsLessThanFLOAT64(double a, double b);
// True when a - b exceeds the tolerance (false with a NaN).
KQ_EXPORT bool IsGreaterThanFLOAT32(float a, float b);
KQ_EXPORT bool IsGreaterThanFLOAT64(double a, double b);
// AreEqual(|x|, x): true for x >= 0, NaN, and negatives within eps/2 of 0.
KQ_EXPORT bool IsPositiveFLOAT32(float x);
KQ_EXPORT bool IsPositiveFLOAT64(double x);
// True when |x| >= epsilon.
KQ_EXPORT bool IsNonZeroFLOAT32(float x);
KQ_EXPORT bool IsNonZeroFLOAT64(double x);
// True unless |x| >= epsilon (true for NaN).
KQ_EXPORT bool IsZeroFLOAT32(float x);
KQ_EXPORT bool IsZeroFLOAT64(double x);
// x when |x| >= epsilon; otherwise the smallest normal number, negative
// when x < 0 and positive else: +min for 0, for -0 and for NaN. The FLOAT64
// test is made in single precision.
KQ_EXPORT float EnsureNonZeroFLOAT32(float x);
KQ_EXPORT double EnsureNonZeroFLOAT64(double x);
