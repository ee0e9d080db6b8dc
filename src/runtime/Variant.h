#pragma once

#include <QString>

#include <bit>
#include <cstdint>
#include <type_traits>

namespace kamorin {

// The tag of a tagged value. The order matters: for + - * and the comparisons
// the wider of two numeric tags wins, and a wider tag compares greater here.
enum class VarType : std::uint8_t
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
// A Variant is a tag and one double-sized payload, trivially copyable, so the
// arithmetic takes and returns it in registers: the tag in a general register,
// the payload in a floating-point one, where a Double is already in place for
// the operation. The benchmark's workload is made of these calls. Integers,
// Singles and the text reference travel as bit patterns in that payload and
// are only ever moved there, never computed with.
//
// A text Variant refers to a text it does not own and must not outlive it.
// The handlers make one where they read a control's text and use it at once;
// the arithmetic never makes a text.
class Variant
{
public:
    constexpr Variant() noexcept = default;

    static constexpr Variant integer(std::int16_t v) noexcept
    {
        return Variant(VarType::Integer, std::bit_cast<double>(std::int64_t { v }));
    }
    static constexpr Variant longInteger(std::int32_t v) noexcept
    {
        return Variant(VarType::Long, std::bit_cast<double>(std::int64_t { v }));
    }
    static constexpr Variant single(float v) noexcept
    {
        return Variant(VarType::Single,
                       std::bit_cast<double>(std::uint64_t { std::bit_cast<std::uint32_t>(v) }));
    }
    static constexpr Variant real(double v) noexcept { return Variant(VarType::Double, v); }
    static Variant text(const QString &v) noexcept
    {
        return Variant(VarType::String,
                       std::bit_cast<double>(reinterpret_cast<std::uintptr_t>(&v)));
    }

    constexpr VarType type() const noexcept { return m_type; }
    constexpr bool isEmpty() const noexcept { return m_type == VarType::Empty; }
    constexpr bool isText() const noexcept { return m_type == VarType::String; }

    // Payloads; each is only meaningful for its own tag.
    constexpr std::int16_t integerValue() const noexcept
    {
        return static_cast<std::int16_t>(std::bit_cast<std::int64_t>(m_payload));
    }
    constexpr std::int32_t longValue() const noexcept
    {
        return static_cast<std::int32_t>(std::bit_cast<std::int64_t>(m_payload));
    }
    constexpr float singleValue() const noexcept
    {
        return std::bit_cast<float>(
                static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(m_payload)));
    }
    constexpr double doubleValue() const noexcept { return m_payload; }
    const QString &textValue() const noexcept
    {
        return *reinterpret_cast<const QString *>(std::bit_cast<std::uintptr_t>(m_payload));
    }

    // The value as a double: exact for every numeric tag, 0 for Empty, and the
    // number a text stands for (which may raise the type-mismatch error).
    double toDouble() const;

    // Exact tag and payload equality, for tests and diagnostics; the program's
    // own comparisons are equalTo, lessThan and greaterThan.
    bool sameAs(const Variant &other) const noexcept;

private:
    constexpr Variant(VarType type, double payload) noexcept : m_type(type), m_payload(payload) { }

    VarType m_type = VarType::Empty;
    double m_payload = 0;
};

static_assert(std::is_trivially_copyable_v<Variant> && sizeof(Variant) == 16,
              "the arithmetic relies on passing Variants in registers");

} // namespace kamorin
