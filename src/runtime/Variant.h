#pragma once

#include <QString>

#include <bit>
#include <cstdint>
#include <type_traits>

namespace kamorin {

// The tag of a tagged value. The order matters: for + - * and the comparisons
// the wider of two numeric tags wins, and a wider tag compares greater here.
// Four bytes, so that with the whole number beside it the tag fills the first
// register of a Variant and is read without partial-register moves.
enum class VarType : std::uint32_t
{
    Empty,
    Integer, // 16-bit
    Long,    // 32-bit
    Single,
    Double,
    String,
};

// A tagged value as the program's handlers compute with it. Numbers keep their
// own tag, so the arithmetic can follow the widening rules step by step.
//
// A Variant is trivially copyable and two registers wide, so the arithmetic
// takes and returns it in registers: the tag and the whole number of an
// Integer or Long in a general register, the number as a double in a
// floating-point one. That double is exact for every numeric tag (0 for
// Empty), so an operation that computes in double needs no conversion of
// either operand, whatever their tags; the tag still decides the operation
// and the tag of its result. The benchmark's workload is made of these calls.
//
// A text Variant refers to a text it does not own and must not outlive it; the
// reference travels as the bit pattern of the double slot and is only ever
// moved there, never computed with. The handlers make one where they read a
// control's text and use it at once; the arithmetic never makes a text.
class Variant
{
public:
    constexpr Variant() noexcept = default;

    static constexpr Variant integer(std::int16_t v) noexcept
    {
        return Variant(VarType::Integer, v, v);
    }
    static constexpr Variant longInteger(std::int32_t v) noexcept
    {
        return Variant(VarType::Long, v, v);
    }
    // A Single keeps its own bits too: a double holds every float exactly but
    // a signalling NaN, which the widening would quieten.
    static constexpr Variant single(float v) noexcept
    {
        return Variant(VarType::Single, std::bit_cast<std::int32_t>(v), v);
    }
    static constexpr Variant real(double v) noexcept { return Variant(VarType::Double, 0, v); }
    static Variant text(const QString &v) noexcept
    {
        return Variant(VarType::String, 0,
                       std::bit_cast<double>(reinterpret_cast<std::uintptr_t>(&v)));
    }

    constexpr VarType type() const noexcept { return m_type; }
    constexpr bool isEmpty() const noexcept { return m_type == VarType::Empty; }
    constexpr bool isText() const noexcept { return m_type == VarType::String; }

    // The whole number of an Empty (0), Integer or Long.
    constexpr std::int16_t integerValue() const noexcept
    {
        return static_cast<std::int16_t>(m_whole);
    }
    constexpr std::int32_t longValue() const noexcept { return m_whole; }
    constexpr float singleValue() const noexcept { return std::bit_cast<float>(m_whole); }
    // The number, exact, for every numeric tag (0 for Empty); not for a text.
    constexpr double doubleValue() const noexcept { return m_number; }
    const QString &textValue() const noexcept
    {
        return *reinterpret_cast<const QString *>(std::bit_cast<std::uintptr_t>(m_number));
    }

    // The value as a double: exact for every numeric tag, 0 for Empty, and the
    // number a text stands for (which may raise the type-mismatch error).
    double toDouble() const;

    // Exact tag and payload equality, for tests and diagnostics; the program's
    // own comparisons are equalTo, lessThan and greaterThan.
    bool sameAs(const Variant &other) const noexcept;

private:
    constexpr Variant(VarType type, std::int32_t whole, double number) noexcept
        : m_type(type), m_whole(whole), m_number(number)
    { }

    VarType m_type = VarType::Empty;
    // Integer, Long: the value; Single: the float's bits; otherwise 0.
    std::int32_t m_whole = 0;
    // Every numeric tag: the exact value; String: the text's address.
    double m_number = 0;
};

static_assert(std::is_trivially_copyable_v<Variant> && sizeof(Variant) == 16,
              "the arithmetic relies on passing Variants in registers");

} // namespace kamorin
