#include "measure/LeibnizSeries.h"

#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"
#include "runtime/LoopProgress.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

// Passes of a loop from 1 in steps of 1.
double passesUpTo(Variant end)
{
    return std::max(0.0, std::floor(end.toDouble()));
}

} // namespace

Variant sumLeibnizSeries(Variant end, LoopProgress &progress)
{
    Variant S = Variant::integer(0);
    Variant P = Variant::integer(0);
    CountedLoop loop(Variant::integer(1), end, Variant::integer(1));
    progress.begin(passesUpTo(loop.end()));
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
    return P;
}

} // namespace kamorin
