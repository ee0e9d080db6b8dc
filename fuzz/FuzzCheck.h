#pragma once

#include "runtime/RuntimeError.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <type_traits>

namespace kamorin::fuzz {

// A broken property: say what and on which value, then abort so that
// libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char *what, const QString &detail = {})
{
    std::fprintf(stderr, "property broken: %s\n  %s\n", what, detail.toUtf8().constData());
    std::abort();
}

inline void check(bool holds, const char *what, const QString &detail = {})
{
    if (!holds)
        fail(what, detail);
}

// The same, with the detail put together only when it is needed.
template<typename Detail>
requires std::is_invocable_r_v<QString, Detail>
void check(bool holds, const char *what, Detail &&detail)
{
    if (!holds)
        fail(what, detail());
}

inline bool isOneOf(const RuntimeError &error, std::initializer_list<ErrorNumber> allowed)
{
    for (const ErrorNumber number : allowed) {
        if (error.number() == number)
            return true;
    }
    return false;
}

template<typename Detail>
requires std::is_invocable_r_v<QString, Detail>
void expectError(const RuntimeError &error, std::initializer_list<ErrorNumber> allowed,
                 Detail &&detail)
{
    if (!isOneOf(error, allowed))
        fail("unexpected runtime error", error.report() + QStringLiteral(" | ") + detail());
}

// Exact text of a double for the messages.
inline QString exact(double v)
{
    return QString::number(v, 'g', 17);
}

} // namespace kamorin::fuzz
