#pragma once

#include "runtime/Variant.h"

namespace kamorin {

class LoopProgress;

// The benchmark's workload: 4 × Σ (−1)^(n−1) ÷ (2n − 1) for n = 1 … end,
// summed with tagged arithmetic. Returns the value reached; the 16-bit
// integer 0 when the loop does not run (an end below 1).
//
// The reference times were taken with exactly this work per pass: eight
// tagged operations on freshly made constants, plus the counted loop's own
// step and test. Nothing else may happen inside the loop but telling
// `progress` how far it has come and asking it whether to stop: a stop
// request ends the loop with the cancelled error.
Variant sumLeibnizSeries(Variant end, LoopProgress &progress);

// Where a test may look at the processor on the loop's own thread: Ready
// once everything before the loop is done, Start once the state the loop
// starts from is made clean, right before the first pass, End after the last.
enum class LoopPoint
{
    Ready,
    Start,
    End,
};
using LoopProbe = void (*)(LoopPoint) noexcept;
// Null, as in every run of the program, looks at nothing.
void setLoopProbe(LoopProbe probe) noexcept;

} // namespace kamorin
