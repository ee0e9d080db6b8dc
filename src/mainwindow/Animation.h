#pragma once

#include "runtime/CountedLoop.h"
#include "runtime/Variant.h"

namespace kamorin {

class ComboBox;

// How many times each animation stage assigns its width, from the display
// speed box: the empty text gives 10; a number v from 0 to 5 gives
// v × 2000 + 10 (a Double, so 2.5 gives 5010); any other number 10010.
// A text that is no number is a type mismatch.
Variant stageRepeatCount(const ComboBox &displaySpeed);

// One stage of an animation: the same assignment made `repeatCount` times in
// a row. The repetitions are the delay; a fractional count runs its whole part.
template<typename Assignment>
void holdStage(Variant repeatCount, Assignment &&assign)
{
    for (CountedLoop j(Variant::integer(1), repeatCount, Variant::integer(1)); j.running();
         j.next())
        assign();
}

} // namespace kamorin
