#include "runtime/LoopProgress.h"

#include "runtime/RuntimeError.h"

#include <algorithm>

namespace kamorin {

void LoopProgress::raiseCancelled()
{
    throw RuntimeError(ErrorNumber::Cancelled);
}

double LoopProgress::fractionDone() const noexcept
{
    const double total = totalPasses();
    if (!(total > 0))
        return 0;
    return std::clamp(passesDone() / total, 0.0, 1.0);
}

} // namespace kamorin
