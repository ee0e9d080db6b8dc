#include "runtime/Variant.h"

#include "runtime/NumberText.h"

namespace kamorin {

double Variant::toDouble() const
{
    switch (m_type) {
    case VarType::Empty:
        return 0;
    case VarType::Integer:
        return integerValue();
    case VarType::Long:
        return longValue();
    case VarType::Single:
        return singleValue();
    case VarType::Double:
        return m_payload;
    case VarType::String:
        return textToNumber(textValue());
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
        return integerValue() == other.integerValue();
    case VarType::Long:
        return longValue() == other.longValue();
    case VarType::Single:
        return std::bit_cast<std::uint32_t>(singleValue())
                == std::bit_cast<std::uint32_t>(other.singleValue());
    case VarType::Double:
        return std::bit_cast<std::uint64_t>(m_payload)
                == std::bit_cast<std::uint64_t>(other.m_payload);
    case VarType::String:
        return textValue() == other.textValue();
    }
    return false;
}

} // namespace kamorin
