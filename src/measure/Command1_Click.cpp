#include "measure/Command1_Click.h"

#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "mainwindow/LoopUnits.h"
#include "measure/LeibnizSeries.h"
#include "runtime/Arithmetic.h"
#include "runtime/Conversion.h"
#include "runtime/CountedLoop.h"
#include "runtime/Format.h"
#include "runtime/LoopProgress.h"
#include "runtime/NumberText.h"
#include "runtime/Platform.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kamorin {

namespace {

// Any other text, the empty one included, multiplies by 1. The factor of
// 億回 is a Long, the others Integers, as the tagged arithmetic of the
// count then widens them.
Variant unitFactor(const QString &unit)
{
    const std::int32_t factor = loopUnitFactor(unit).value_or(1);
    if (factor > std::numeric_limits<std::int16_t>::max())
        return Variant::longInteger(factor);
    return Variant::integer(static_cast<std::int16_t>(factor));
}

QString loopCountText(const QString &count, const QString &unit)
{
    const Variant factor = unitFactor(unit);
    return textOf(Variant::text(count) * factor);
}

struct ElapsedTime
{
    std::int32_t hours;
    std::int32_t minutes;
    std::int32_t seconds;
    std::int32_t hundredths;
};

ElapsedTime split(Variant elapsed)
{
    const Variant whole = wholePart(elapsed);
    ElapsedTime t {};
    t.hours = toLong(wholePart(whole / Variant::integer(3600)));
    const Variant afterHours = whole - Variant::longInteger(checkedMultiply(t.hours, 3600));
    t.minutes = toLong(wholePart(afterHours / Variant::integer(60)));
    t.seconds = toLong(afterHours - Variant::longInteger(checkedMultiply(t.minutes, 60)));
    // The true hundredths: the fraction of the elapsed time. Both products are
    // scaled in double, where a single-precision time times 100 is exact, so a
    // time just below a whole second cannot round up to 100 hundredths, and
    // the whole seconds of a run of days keep every digit.
    t.hundredths = toLong(wholePart(elapsed * Variant::real(100)) - whole * Variant::real(100));
    return t;
}

// Writes each k from 1 to 14 at which the value's first k decimals agree with
// the true value's; the test goes on past a disagreement, so the largest wins.
void markAgreeingDigits(Form1 &form, Variant value)
{
    for (CountedLoop k(Variant::integer(1), Variant::integer(14), Variant::integer(1)); k.running();
         k.next()) {
        const Variant trueDigits = wholePart(Variant::real(3.14159265358979)
                                             * power(Variant::integer(10), k.counter()));
        const Variant digits = wholePart(value * power(Variant::integer(10), k.counter()));
        if (equalTo(trueDigits - digits, Variant::integer(0)))
            form.Text4.setText(textOf(k.counter()));
    }
}

void drawCurtainBack(Form1 &form)
{
    const Variant repeatCount = stageRepeatCount(form.Combo2);
    // In double, so each width is the exact fifth and not a Single quotient.
    const Variant full = Variant::real(kCurtainFullWidth);
    const Variant fifths = Variant::integer(5);
    for (const std::int16_t parts : { 4, 3, 2, 1 }) {
        const float width = toSingle(full * Variant::integer(parts) / fifths);
        holdStage(repeatCount, [&] { form.Label18.setWidth(width); });
    }
    form.Label18.setWidth(0);
}

// Held in single precision, as the reference times were.
ElapsedTime elapsedTimeOf(double seconds)
{
    return split(Variant::single(static_cast<float>(seconds)));
}

ElapsedTime writeElapsedTime(Form1 &form, double seconds)
{
    const ElapsedTime t = elapsedTimeOf(seconds);

    static const FormatPattern twoDigits = FormatPattern::parse(u"00");
    form.Text3.setText(integerToText(t.seconds));
    form.Text8.setText(twoDigits.apply(t.hundredths));
    form.Text6.setText(integerToText(t.hours));
    form.Text5.setText(integerToText(t.minutes));
    return t;
}

const QString kRunCaption = QStringLiteral("実行");

// From the timer reading before the loop to the end of the handler.
void runAndShow(Form1 &form, Platform &platform)
{
    const double start = platform.clockSeconds();
    form.Command1.setCaption(QStringLiteral("計算中"));

    LoopProgress progress;
    Variant value;
    platform.runLongStep(progress, [&] {
        value = sumLeibnizSeries(Variant::text(form.Combo1.text()), progress);
    });

    form.Text2.setText(textOf(value));
    form.Command1.setCaption(kRunCaption);

    const ElapsedTime t = writeElapsedTime(form, platform.clockSeconds() - start);

    markAgreeingDigits(form, value);

    const std::int32_t total = checkedAdd(
            checkedAdd(checkedMultiply(t.hours, 3600), checkedMultiply(t.minutes, 60)), t.seconds);
    if (lessThan(Variant::longInteger(total), Variant::integer(1))) {
        form.Command6.setEnabled(false);
        form.Label16.setEnabled(false);
        form.Label17.setEnabled(false);
        form.Text7.setText(QString());
        form.Label14.setWidth(0);
        form.Label15.setWidth(0);
    } else {
        form.Command6.setEnabled(true);
        form.Label16.setEnabled(true);
        form.Label17.setEnabled(true);
        form.Label18.setWidth(kCurtainFullWidth);
        drawCurtainBack(form);
    }
}

} // namespace

double passesFor(const QString &count, const QString &unit)
{
    // The loop's end is read from Combo1's text, as the series loop reads it.
    const CountedLoop loop(Variant::integer(1), Variant::text(loopCountText(count, unit)),
                           Variant::integer(1));
    return std::max(0.0, std::floor(loop.end().toDouble()));
}

bool enablesScore(double seconds)
{
    const ElapsedTime t = elapsedTimeOf(seconds);
    return t.hours > 0 || t.minutes > 0 || t.seconds >= 1;
}

void Command1_Click(Form1 &form, Platform &platform)
{
    form.Combo1.setText(loopCountText(form.Combo4.text(), form.Combo5.text()));

    form.Text3.setText(QString());
    form.Text4.setText(QString());
    form.Text8.setText(QString());
    form.Label19.setCaption(QString());
    form.Label20.setCaption(QString());

    try {
        runAndShow(form, platform);
    } catch (...) {
        // 計算中 is only ever meant while the loop runs: a run that fails or is
        // stopped from here on leaves the button ready for the next one, and
        // everything else as far as the steps got.
        if (form.Command1.caption() != kRunCaption)
            form.Command1.setCaption(kRunCaption);
        throw;
    }
}

} // namespace kamorin
