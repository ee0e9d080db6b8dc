#pragma once

#include "runtime/Arithmetic.h"
#include "runtime/Variant.h"

namespace kamorin {

// A counted loop over a tagged counter:
//   for (CountedLoop loop(start, end, step); loop.running(); loop.next()) ...
// End and step are read once, when the loop starts. The counter takes the
// widest tag of the three (a text end makes it a Double) and keeps widening
// through the tagged addition, so it stays exact past the 32-bit range.
class CountedLoop
{
public:
    CountedLoop(Variant start, Variant end, Variant step);

    Variant counter() const { return m_counter; }
    // The end as the loop reads it, in the counter's tag.
    Variant end() const { return m_end; }
    // Not yet past the end: counter <= end for a step >= 0, >= end otherwise.
    bool running() const
    {
        return m_descending ? !lessThan(m_counter, m_end) : !greaterThan(m_counter, m_end);
    }
    void next() { m_counter = m_counter + m_step; }

private:
    Variant m_counter;
    Variant m_end;
    Variant m_step;
    bool m_descending;
};

} // namespace kamorin
