#pragma once

#include "runtime/NumberText.h"
#include "runtime/Variant.h"

#include <QString>

#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>

namespace kamorin::fuzz {

// Tagged values of every kind from fuzz input. Numbers are finite, as every
// value the program makes is. A text Variant refers to a text kept here, so
// the source must outlive the Variants it made.
class VariantSource
{
public:
    explicit VariantSource(FuzzedDataProvider &input) : m_in(input) { }

    VarType nextType() { return static_cast<VarType>(m_in.ConsumeIntegralInRange<int>(0, 5)); }

    Variant next() { return of(nextType()); }

    Variant of(VarType type)
    {
        switch (type) {
        case VarType::Empty:
            return {};
        case VarType::Integer:
            return Variant::integer(m_in.ConsumeIntegral<std::int16_t>());
        case VarType::Long:
            return Variant::longInteger(m_in.ConsumeIntegral<std::int32_t>());
        case VarType::Single:
            return Variant::single(nextSingle());
        case VarType::Double:
            return Variant::real(nextDouble());
        case VarType::String:
            return Variant::text(keep(nextText()));
        }
        return {};
    }

    double nextDouble()
    {
        switch (m_in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: // small whole numbers and halves, where ties and widening happen
            return m_in.ConsumeIntegralInRange<int>(-70000, 70000) / 2.0;
        case 1: // near the 32-bit limits
            return 2147483648.0 + m_in.ConsumeIntegralInRange<int>(-8, 8) / 4.0;
        case 2:
            return -2147483648.0 + m_in.ConsumeIntegralInRange<int>(-8, 8) / 4.0;
        default: {
            const double d = std::bit_cast<double>(m_in.ConsumeIntegral<std::uint64_t>());
            return std::isfinite(d) ? d : std::numeric_limits<double>::max();
        }
        }
    }

    float nextSingle()
    {
        if (m_in.ConsumeBool())
            return static_cast<float>(m_in.ConsumeIntegralInRange<int>(-70000, 70000)) / 2;
        const float f = std::bit_cast<float>(m_in.ConsumeIntegral<std::uint32_t>());
        return std::isfinite(f) ? f : std::numeric_limits<float>::max();
    }

    // A number's text, a text made of number characters, or any UTF-16.
    QString nextText()
    {
        switch (m_in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0:
            return doubleToText(nextDouble());
        case 1: {
            static constexpr char16_t kAlphabet[] = u"0123456789.+-eE \t";
            QString text;
            for (int n = m_in.ConsumeIntegralInRange<int>(0, 24); n > 0; --n)
                text += QChar(kAlphabet[m_in.ConsumeIntegralInRange<std::size_t>(
                        0, std::size(kAlphabet) - 2)]);
            return text;
        }
        default: {
            QString text;
            for (int n = m_in.ConsumeIntegralInRange<int>(0, 24); n > 0; --n)
                text += QChar(m_in.ConsumeIntegral<char16_t>());
            return text;
        }
        }
    }

    const QString &keep(QString text) { return m_texts.emplace_back(std::move(text)); }

private:
    FuzzedDataProvider &m_in;
    std::deque<QString> m_texts; // a deque never moves what it holds
};

} // namespace kamorin::fuzz
