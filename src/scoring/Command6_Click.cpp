#include "scoring/Command6_Click.h"

#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "runtime/Arithmetic.h"
#include "runtime/Conversion.h"
#include "runtime/Format.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "scoring/ReferenceMachineTable.h"

namespace kamorin {

namespace {

// Seconds from the four time fields, each read and converted afresh.
double yourTime(const Form1 &form)
{
    const double hours = checkedFloat(textToNumber(form.Text6.text()) * 3600);
    const double minutes = checkedFloat(textToNumber(form.Text5.text()) * 60);
    const double wholeSeconds
            = checkedFloat(checkedFloat(hours + minutes) + textToNumber(form.Text3.text()));
    return checkedFloat(wholeSeconds + checkedQuotient(textToNumber(form.Text8.text()), 100));
}

bool isReferenceRun(const Form1 &form)
{
    return equalTo(Variant::text(form.Combo1.text()), Variant::longInteger(kReferencePasses));
}

// The value labels stand 25 twips past the end of their bars.
float pastTheEnd(const Label &bar)
{
    return toSingle(Variant::real(checkedFloat(double { bar.left() } + bar.width() + 25)));
}

Variant scoreAgainst(const Form1 &form, double referenceSeconds)
{
    const double loops = textToNumber(form.Combo1.text());
    return scoreOf(loops, yourTime(form), referenceSeconds);
}

} // namespace

// Your speed over the reference machine's, both in passes per second.
Variant scoreOf(double loops, double seconds, double referenceSeconds)
{
    const Variant referenceSpeed
            = Variant::longInteger(kReferencePasses) / Variant::real(referenceSeconds);
    return Variant::real(checkedQuotient(loops, seconds)) / referenceSpeed;
}

QString scoreFigure(double score)
{
    static const FormatPattern threeDecimals = FormatPattern::parse(u"##0.000");
    return threeDecimals.apply(score);
}

void Command6_Click(Form1 &form, Platform &)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");

    form.Label19.setCaption(QString());
    form.Label20.setCaption(QString());
    form.Combo3.setEnabled(true);

    const QString machine = form.Combo3.text();
    const std::optional<double> referenceSeconds = ReferenceMachineTable::lookup(machine);

    form.Text7.setText(QString());

    // A name only typed by hand can be missing from the table; it is named in
    // plain words rather than dividing by an unassigned value.
    if (!referenceSeconds)
        throw RuntimeError::unknownReferenceMachine(machine);
    const double time = yourTime(form);
    const Variant score = scoreAgainst(form, *referenceSeconds);

    const Variant repeatCount = stageRepeatCount(form.Combo2);

    const Variant fullWidth = Variant::real(checkedFloat(double { form.Label13.width() } * 0.95));
    Variant referenceBar;
    Variant yourBar;
    if (greaterThan(score, Variant::integer(1))) {
        yourBar = fullWidth;
        referenceBar = fullWidth / score;
    } else {
        referenceBar = fullWidth;
        yourBar = fullWidth * score;
    }

    form.Label15.setWidth(toSingle(referenceBar));
    form.Label19.setLeft(pastTheEnd(form.Label15));
    form.Label19.setCaption(isReferenceRun(form) ? twoDecimals.apply(*referenceSeconds)
                                                 : QString());

    // Stage 1 starts from whatever width the bar had: it is not reset first.
    for (std::int16_t k = 1; k <= 4; ++k) {
        holdStage(repeatCount, [&] {
            form.Label14.setWidth(toSingle(yourBar * Variant::integer(k) / Variant::integer(5)));
        });
    }
    holdStage(repeatCount, [&] { form.Label14.setWidth(toSingle(yourBar)); });

    form.Label20.setLeft(pastTheEnd(form.Label14));
    form.Label20.setCaption(isReferenceRun(form) ? twoDecimals.apply(time) : QString());
    form.Text7.setText(scoreFigure(score.doubleValue()));
    form.Combo3.setEnabled(true);
}

} // namespace kamorin
