#include "runtime/Clock.h"

#include <chrono>

namespace kamorin {

double monotonicSeconds() noexcept
{
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

} // namespace kamorin
