#include "runtime/Variant.h"

#include "runtime/NumberText.h"

namespace kamorin {

double Variant::toDouble() const
{
    if (m_type == VarType::String)
        return textToNumber(textValue());
    return m_number;
}

bool Variant::sameAs(const Variant &other) const noexcept
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case VarType::Empty:
        return true;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
        return m_whole == other.m_whole;
    case VarType::Double:
        // Bits, so that 0 and -0 differ.
        return std::bit_cast<std::uint64_t>(m_number)
                == std::bit_cast<std::uint64_t>(other.m_number);
    case VarType::String:
        return textValue() == other.textValue();
    }
    return false;
}

} // namespace kamorin
