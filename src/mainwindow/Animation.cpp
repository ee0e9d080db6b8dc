#include "mainwindow/Animation.h"

#include "mainwindow/Controls.h"
#include "runtime/Arithmetic.h"
#include "runtime/NumberText.h"

namespace kamorin {

Variant stageRepeatCount(const ComboBox &displaySpeed)
{
    if (displaySpeed.text().isEmpty())
        return Variant::integer(10);
    // The text is read and converted afresh for each use, and both bounds are
    // always tested, so a bad text fails the same way whatever its value.
    const bool atLeastZero
            = !lessThan(Variant::real(textToNumber(displaySpeed.text())), Variant::integer(0));
    const bool atMostFive
            = !greaterThan(Variant::real(textToNumber(displaySpeed.text())), Variant::integer(5));
    if (atLeastZero && atMostFive)
        return Variant::real(textToNumber(displaySpeed.text())) * Variant::integer(2000)
                + Variant::integer(10);
    return Variant::integer(10010);
}

} // namespace kamorin
