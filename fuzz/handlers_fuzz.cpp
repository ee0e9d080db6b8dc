// The form and its handlers as a user drives them: any texts in the fields,
// any order of 実行, SCORE (when enabled), COPY and CLEAR, and run times from
// none to over eleven days. A runtime error ends only its handler; anything
// else leaving a handler, or a sanitizer report, is a fault.
#include "FuzzCheck.h"
#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "report/Command2_Click.h"
#include "report/Command4_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/NumberText.h"
#include "scoring/Command6_Click.h"
#include "support/FakePlatform.h"

#include <QRegularExpression>

#include <cmath>
#include <fuzzer/FuzzedDataProvider.h>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

// More passes would make each input slow without reaching new code: one run
// may take them all, or several runs may share them.
constexpr double kMostPasses = 10000;
// Nor would more animation delay than one SCORE at the slowest display speed,
// five stages of 10010 assignments: an input may spend that much in all.
constexpr double kMostDelay = 5 * 10010;

// Mostly texts a user might type into a number field, sometimes any UTF-16.
QString typedText(FuzzedDataProvider &input)
{
    if (input.ConsumeBool()) {
        static constexpr char16_t kAlphabet[] = u"0123456789.+-eE \t";
        QString text;
        for (int n = input.ConsumeIntegralInRange<int>(0, 12); n > 0; --n)
            text += QChar(kAlphabet[input.ConsumeIntegralInRange<std::size_t>(
                    0, std::size(kAlphabet) - 2)]);
        return text;
    }
    QString text;
    for (int n = input.ConsumeIntegralInRange<int>(0, 12); n > 0; --n)
        text += QChar(input.ConsumeIntegral<char16_t>());
    return text;
}

// An entry of the control's list, or a typed text.
QString choice(FuzzedDataProvider &input, const ComboBox &box)
{
    if (!box.list().isEmpty() && input.ConsumeBool())
        return box.list().at(input.ConsumeIntegralInRange<qsizetype>(0, box.list().size() - 1));
    return typedText(input);
}

double unitFactor(const QString &unit)
{
    if (unit == u"億回")
        return 100000000;
    if (unit == u"万回")
        return 10000;
    if (unit == u"千回")
        return 1000;
    if (unit == u"百回")
        return 100;
    return 1;
}

// Whether the passes of 実行 still fit in what the input may spend on runs;
// if so, they are spent.
bool affordPasses(const Form1 &form, double &spent)
{
    double passes = 0;
    try {
        passes = textToNumber(form.Combo4.text()) * unitFactor(form.Combo5.text());
    } catch (const RuntimeError &) {
        return true; // the run stops before its loop
    }
    // A count that is no number or not above zero runs no pass at all.
    if (!(passes > 0))
        return true;
    if (spent + passes > kMostPasses)
        return false;
    spent += passes;
    return true;
}

// Whether a press whose animation has `stages` stages still fits in what the
// input may spend on delays; if so, it is spent.
bool affordDelay(const Form1 &form, int stages, double &spent)
{
    double perStage = 0;
    try {
        perStage = std::floor(stageRepeatCount(form.Combo2).toDouble());
    } catch (const RuntimeError &) {
        // The press stops before its animation.
    }
    if (spent + stages * perStage > kMostDelay)
        return false;
    spent += stages * perStage;
    return true;
}

bool matches(const QString &text, const QRegularExpression &pattern)
{
    return pattern.match(text).hasMatch();
}

// Compiled once: compiling them for every check took more time than the handlers.
const QRegularExpression kCount(QStringLiteral("\\A[0-9]+\\z"));
const QRegularExpression kHundredths(QStringLiteral("\\A[0-9]{2}\\z"));
const QRegularExpression kScore(QStringLiteral("\\A[0-9]+\\.[0-9]{3}\\z"));

// What an input may still spend on the run loops and on animation delays.
struct Budget
{
    double passes = 0;
    double delay = 0;
};

void run(Form1 &form, test::FakePlatform &platform, FuzzedDataProvider &input, Budget &spent)
{
    if (!affordPasses(form, spent.passes) || !affordDelay(form, 4, spent.delay))
        return;
    const double elapsed = input.ConsumeBool()
            ? input.ConsumeIntegralInRange<int>(0, 400000) / 100.0
            : input.ConsumeFloatingPointInRange<double>(0, 1e6);
    platform.setElapsed(elapsed);
    const bool ran = dispatch(platform, [&] { Command1_Click(form, platform); });
    const auto subject = [&] {
        return form.Combo4.text() + form.Combo5.text() + QStringLiteral(" elapsed ")
                + exact(elapsed);
    };
    check(form.Command1.caption() == u"実行", "実行 left its caption changed", subject);
    if (!ran)
        return;
    check(matches(form.Text6.text(), kCount) && matches(form.Text5.text(), kCount)
                  && matches(form.Text3.text(), kCount) && matches(form.Text8.text(), kHundredths),
          "a time field is not a plain count", subject);
    // The stand-in clock reads 5000 s and then 5000 s plus the elapsed time.
    const double whole = std::floor(static_cast<float>((5000.0 + elapsed) - 5000.0));
    check(form.Command6.enabled() == (whole >= 1), "SCORE enabled after the wrong run", subject);
}

void score(Form1 &form, test::FakePlatform &platform, Budget &spent)
{
    if (!form.Command6.enabled() || !affordDelay(form, 5, spent.delay))
        return;
    if (!dispatch(platform, [&] { Command6_Click(form, platform); }))
        return;
    check(matches(form.Text7.text(), kScore), "a malformed score", form.Text7.text());
}

void copy(Form1 &form, test::FakePlatform &platform)
{
    if (!dispatch(platform, [&] { Command4_Click(form, platform); }))
        return;
    check(platform.clipboard.startsWith(QStringLiteral("★Kamorin(Ver1.2.7) 結果★\r\n"))
                  && platform.clipboard.count(QStringLiteral("\r\n")) >= 3,
          "a malformed report", platform.clipboard);
}

void clear(Form1 &form, test::FakePlatform &platform)
{
    check(dispatch(platform, [&] { Command2_Click(form); }), "CLEAR failed");
    check(!form.Command6.enabled() && form.Text2.text().isEmpty() && form.Label14.width() == 0,
          "CLEAR left results behind");
}

void edit(Form1 &form, FuzzedDataProvider &input)
{
    ComboBox *const combos[]
            = { &form.Combo4, &form.Combo5, &form.Combo2, &form.Combo3, &form.Combo1 };
    TextBox *const boxes[] = { &form.Text2, &form.Text3, &form.Text4, &form.Text5,
                               &form.Text6, &form.Text7, &form.Text8 };
    const auto which = input.ConsumeIntegralInRange<std::size_t>(
            0, std::size(combos) + std::size(boxes) - 1);
    if (which < std::size(combos))
        combos[which]->setText(choice(input, *combos[which]));
    else
        boxes[which - std::size(combos)]->setText(typedText(input));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Form1 form;
    Form_Load(form);
    test::FakePlatform platform;

    for (ComboBox *box : { &form.Combo4, &form.Combo5, &form.Combo2, &form.Combo3 })
        box->setText(choice(input, *box));
    for (TextBox *box : { &form.Text2, &form.Text3, &form.Text4, &form.Text5, &form.Text6,
                          &form.Text7, &form.Text8 }) {
        if (input.ConsumeBool())
            box->setText(typedText(input));
    }
    if (input.ConsumeBool())
        form.Combo1.setText(typedText(input));

    Budget spent;
    for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            run(form, platform, input, spent);
            break;
        case 1:
            score(form, platform, spent);
            break;
        case 2:
            copy(form, platform);
            break;
        case 3:
            clear(form, platform);
            break;
        default:
            edit(form, input);
            break;
        }
    }
    return 0;
}
