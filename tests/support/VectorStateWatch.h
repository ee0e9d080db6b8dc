#pragma once

#include "measure/LeibnizSeries.h"
#include "runtime/VectorState.h"

#include <atomic>

namespace kamorin::test {

// Watches every series loop while it lives: when a loop is ready it dirties
// the upper vector state on purpose, as code that ran before may have left
// it, and it counts the loops that still found it in use at their first pass
// or after their last. No clock is read, so nothing here passes by luck.
class VectorStateWatch
{
public:
    VectorStateWatch()
    {
        s_ready = s_dirtied = s_dirtyAtStart = s_dirtyAtEnd = 0;
        setLoopProbe(&look);
    }
    ~VectorStateWatch() { setLoopProbe(nullptr); }
    VectorStateWatch(const VectorStateWatch &) = delete;
    VectorStateWatch &operator=(const VectorStateWatch &) = delete;

    // Only a processor with an upper vector state that tells whether it is in
    // use can be watched.
    static bool possible() { return upperVectorStateInUse().has_value(); }
    static constexpr const char *kWhyNot
            = "this processor has no AVX state or cannot tell whether it is in use "
              "(xgetbv with ECX = 1)";

    static void dirty() noexcept
    {
#if defined(__x86_64__)
        __asm__ volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
#endif
    }

    int loopsReady() const
    {
        return s_ready;
    }
    // The loops whose state the watch dirtied: all of them, or it proves nothing.
    int loopsDirtied() const
    {
        return s_dirtied;
    }
    int dirtyAtStart() const
    {
        return s_dirtyAtStart;
    }
    int dirtyAtEnd() const
    {
        return s_dirtyAtEnd;
    }

private:
    static void look(LoopPoint point) noexcept
    {
        switch (point) {
        case LoopPoint::Ready:
            ++s_ready;
            dirty();
            if (upperVectorStateInUse().value_or(false))
                ++s_dirtied;
            break;
        case LoopPoint::Start:
            if (upperVectorStateInUse().value_or(true))
                ++s_dirtyAtStart;
            break;
        case LoopPoint::End:
            if (upperVectorStateInUse().value_or(true))
                ++s_dirtyAtEnd;
            break;
        }
    }

    // Parallel copies look from their own threads.
    static inline std::atomic<int> s_ready, s_dirtied, s_dirtyAtStart, s_dirtyAtEnd;
};

} // namespace kamorin::test
