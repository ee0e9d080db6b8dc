#pragma once

#include <QString>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

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

// A tagged value as the program's handlers compute with it. Numbers stay in
// their own tag, so the arithmetic can follow the widening rules step by step.
class Variant
{
public:
    Variant() noexcept : m_type(VarType::Empty), m_double(0) { }
    static Variant integer(std::int16_t v) noexcept { return Variant(VarType::Integer, v); }
    static Variant longInteger(std::int32_t v) noexcept { return Variant(VarType::Long, v); }
    static Variant single(float v) noexcept { return Variant(VarType::Single, v); }
    static Variant real(double v) noexcept { return Variant(VarType::Double, v); }
    static Variant text(QString v);

    // Numbers are plain bytes; only a text needs its own copy, move and
    // destruction, so the numeric paths stay inline and cheap.
    Variant(const Variant &other) : m_type(other.m_type)
    {
        if (m_type == VarType::String)
            new (&m_text) QString(other.m_text);
        else
            copyNumber(other);
    }
    Variant(Variant &&other) noexcept : m_type(other.m_type)
    {
        if (m_type == VarType::String)
            new (&m_text) QString(std::move(other.m_text));
        else
            copyNumber(other);
    }
    Variant &operator=(const Variant &other)
    {
        if (this != &other) {
            Variant copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    Variant &operator=(Variant &&other) noexcept
    {
        if (this != &other) {
            destroy();
            m_type = other.m_type;
            if (m_type == VarType::String)
                new (&m_text) QString(std::move(other.m_text));
            else
                copyNumber(other);
        }
        return *this;
    }
    ~Variant() { destroy(); }

    VarType type() const noexcept { return m_type; }
    bool isEmpty() const noexcept { return m_type == VarType::Empty; }
    bool isText() const noexcept { return m_type == VarType::String; }

    // Raw payloads; each is only meaningful for its own tag.
    std::int16_t integerValue() const noexcept { return m_integer; }
    std::int32_t longValue() const noexcept { return m_long; }
    float singleValue() const noexcept { return m_single; }
    double doubleValue() const noexcept { return m_double; }
    const QString &textValue() const noexcept { return m_text; }

    // The value as a double: exact for every numeric tag, 0 for Empty, and the
    // number a text stands for (which may raise the type-mismatch error).
    double toDouble() const;

    // Exact tag and payload equality, for tests and diagnostics; the program's
    // own comparisons are equalTo, lessThan and greaterThan.
    bool sameAs(const Variant &other) const noexcept;

private:
    template<typename T>
    Variant(VarType type, T value) noexcept : m_type(type), m_double(0)
    {
        if constexpr (std::is_same_v<T, std::int16_t>)
            m_integer = value;
        else if constexpr (std::is_same_v<T, std::int32_t>)
            m_long = value;
        else if constexpr (std::is_same_v<T, float>)
            m_single = value;
        else
            m_double = value;
    }
    void copyNumber(const Variant &other) noexcept
    {
        std::memcpy(&m_double, &other.m_double, sizeof m_double);
    }
    void destroy() noexcept
    {
        if (m_type == VarType::String)
            m_text.~QString();
    }

    VarType m_type;
    union {
        std::int16_t m_integer;
        std::int32_t m_long;
        float m_single;
        double m_double;
        QString m_text;
    };
};

} // namespace kamorin
