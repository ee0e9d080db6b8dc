#include "measure/LeibnizSeries.h"

#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"

namespace kamorin {

Variant sumLeibnizSeries(Variant end)
{
    Variant S = Variant::integer(0);
    Variant P = Variant::integer(0);
    for (CountedLoop loop(Variant::integer(1), end, Variant::integer(1)); loop.running();
         loop.next()) {
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
    }
    return P;
}

} // namespace kamorin
