#include "runtime/CountedLoop.h"

#include "runtime/Arithmetic.h"
#include "runtime/Conversion.h"

namespace kamorin {

namespace {

VarType counterType(Variant start, Variant end, Variant step)
{
    return commonType(commonType(start.type(), end.type()), step.type());
}

} // namespace

CountedLoop::CountedLoop(Variant start, Variant end, Variant step)
{
    const VarType type = counterType(start, end, step);
    // Each is converted exactly once, here; a text end is read only now.
    m_counter = convertTo(start, type);
    m_end = convertTo(end, type);
    m_step = convertTo(step, type);
    m_descending = lessThan(m_step, Variant::integer(0));
}

} // namespace kamorin
