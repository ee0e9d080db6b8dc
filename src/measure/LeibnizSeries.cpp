#include "measure/LeibnizSeries.h"

#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"
#include "runtime/LoopProgress.h"
#include "runtime/VectorState.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kamorin {

namespace {

std::atomic<LoopProbe> g_probe { nullptr };

void look(LoopPoint point) noexcept
{
    if (const LoopProbe probe = g_probe.load(std::memory_order_relaxed)) [[unlikely]]
        probe(point);
}

// Passes of a loop from 1 in steps of 1.
double passesUpTo(Variant end)
{
    return std::max(0.0, std::floor(end.toDouble()));
}

} // namespace

void setLoopProbe(LoopProbe probe) noexcept
{
    g_probe.store(probe, std::memory_order_relaxed);
}

Variant sumLeibnizSeries(Variant end, LoopProgress &progress)
{
    Variant S = Variant::integer(0);
    Variant P = Variant::integer(0);
    CountedLoop loop(Variant::integer(1), end, Variant::integer(1));
    progress.begin(passesUpTo(loop.end()));
    look(LoopPoint::Ready);
    // Last before the first pass, on the thread that makes the passes: Qt's
    // string hash, for one, leaves the upper vector state dirty on processors
    // with VAES, and the window's worker thread and the parallel copies
    // inherit what their parent had. The passes themselves never dirty it.
    clearUpperVectorState();
    look(LoopPoint::Start);
    for (; loop.running(); loop.next()) {
        const Variant i = loop.counter();
        const Variant a = Variant::integer(2) * i;
        const Variant b = a - Variant::integer(1);
        const Variant c = Variant::integer(1) / b;
        const Variant d = i - Variant::integer(1);
        // Stays a general power: the reference machines paid for one.
        const Variant e = power(Variant::integer(-1), d);
        const Variant f = c * e;
        S = S + f;
        // Inside the loop, as the reference runs did it.
        P = S * Variant::integer(4);
        // The counter starts at 1 and steps by 1: it is the number of passes
        // made. Its double slot holds that number for any numeric tag, so an
        // integer end costs no conversion here.
        progress.reached(i.doubleValue());
        if (progress.stopRequested()) [[unlikely]]
            LoopProgress::raiseCancelled();
    }
    look(LoopPoint::End);
    return P;
}

} // namespace kamorin
