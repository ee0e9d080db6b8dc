#include "runtime/CountedLoop.h"

#include "runtime/Arithmetic.h"
#include "runtime/Conversion.h"

namespace kamorin {

namespace {

VarType counterType(const Variant &start, const Variant &end, const Variant &step)
{
    return commonType(commonType(start.type(), end.type()), step.type());
}

} // namespace

CountedLoop::CountedLoop(const Variant &start, const Variant &end, const Variant &step)
{
    const VarType type = counterType(start, end, step);
    // Each is converted exactly once, here; a text end is read only now.
    m_counter = convertTo(start, type);
    m_end = convertTo(end, type);
    m_step = convertTo(step, type);
    m_descending = lessThan(m_step, Variant::integer(0));
}

bool CountedLoop::running() const
{
    return m_descending ? !lessThan(m_counter, m_end) : !greaterThan(m_counter, m_end);
}

void CountedLoop::next()
{
    m_counter = m_counter + m_step;
}

} // namespace kamorin
