#pragma once

#include "runtime/Variant.h"

#include <cstdint>

namespace kamorin {

// Tagged arithmetic. Each operation is compiled out of line on purpose: the
// benchmark's workload is defined as calls into these, with their dispatch on
// the tags, and must not be folded into native arithmetic by the compiler.
//
// Widening: a text counts as the Double it stands for, Empty as 0. + - *
// keep integer tags while the result fits, widening 16 -> 32 bits -> Double
// instead of overflowing. Single with Single or 16-bit gives Single, with
// 32-bit or Double a Double. / gives Single when each side is a Single or a
// 16-bit integer, else Double. ^ gives Double.
// The tag both operands of + - * are brought to before the operation.
VarType commonType(VarType a, VarType b);

Variant operator+(Variant a, Variant b);
Variant operator-(Variant a, Variant b);
Variant operator*(Variant a, Variant b);
Variant operator/(Variant a, Variant b);
Variant power(Variant base, Variant exponent);

// Comparisons: numerically between numbers, exactly (code unit by code unit)
// between texts.
bool equalTo(Variant a, Variant b);
bool lessThan(Variant a, Variant b);
bool greaterThan(Variant a, Variant b);

// The largest whole number not above the value, in the value's own tag
// (a text gives a Double).
Variant wholePart(Variant value);

// Floating-point results of typed (untagged) code, followed by the test of
// the processor's status: an overflow or invalid operation is the overflow
// error, a nonzero number divided by zero the division-by-zero error.
double checkedFloat(double result);
double checkedQuotient(double dividend, double divisor);

// 32-bit integer arithmetic as typed code does it: checked, never widening.
std::int32_t checkedAdd(std::int32_t a, std::int32_t b);
std::int32_t checkedMultiply(std::int32_t a, std::int32_t b);

} // namespace kamorin
