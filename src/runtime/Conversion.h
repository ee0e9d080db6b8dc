#pragma once

#include "runtime/Variant.h"

#include <QString>

#include <cstdint>

namespace kamorin {

// Nearest 32-bit integer, halves to even; overflow outside the 32-bit range.
std::int32_t toLong(Variant value);

// Nearest single-precision number; overflow beyond its range.
float toSingle(Variant value);

// The value brought to a numeric tag (Integer, Long, Single or Double).
Variant convertTo(Variant value, VarType type);

// The last `count` characters of the value's text form, all of it if shorter.
QString rightPart(Variant value, int count);

} // namespace kamorin
