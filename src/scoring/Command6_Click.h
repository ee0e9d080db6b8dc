#pragma once

#include "runtime/Variant.h"

#include <QString>

#include <cstdint>

namespace kamorin {

class Form1;
class Platform;

// The passes of the standard run that every reference time was taken with.
inline constexpr std::int32_t kReferencePasses = 20000000;

// SCORE's formula: the speed of `loops` passes in `seconds` over the speed of
// the standard run in `referenceSeconds`. Fails as SCORE does: a run of no
// time is a division by zero.
Variant scoreOf(double loops, double seconds, double referenceSeconds);

// SCORE: compares the last run, as the window shows it, with the reference
// machine in Combo3, writes the score and draws the two bars.
void Command6_Click(Form1 &form, Platform &platform);

// A score as SCORE writes it into Text7 ("##0.000").
QString scoreFigure(double score);

} // namespace kamorin
