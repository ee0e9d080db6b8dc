#include "runtime/Variant.h"

#include "runtime/NumberText.h"

namespace kamorin {

Variant Variant::text(QString v)
{
    Variant result;
    result.m_type = VarType::String;
    new (&result.m_text) QString(std::move(v));
    return result;
}

double Variant::toDouble() const
{
    switch (m_type) {
    case VarType::Empty:
        return 0;
    case VarType::Integer:
        return m_integer;
    case VarType::Long:
        return m_long;
    case VarType::Single:
        return m_single;
    case VarType::Double:
        return m_double;
    case VarType::String:
        return textToNumber(m_text);
    }
    return 0;
}

bool Variant::sameAs(const Variant &other) const noexcept
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case VarType::Empty:
        return true;
    case VarType::Integer:
        return m_integer == other.m_integer;
    case VarType::Long:
        return m_long == other.m_long;
    case VarType::Single:
        return m_single == other.m_single;
    case VarType::Double:
        return m_double == other.m_double;
    case VarType::String:
        return m_text == other.m_text;
    }
    return false;
}

} // namespace kamorin
