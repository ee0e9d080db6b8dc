// Random sequences of edits and clicks on the in-memory window. Whatever is
// typed and pressed, each click either runs to its end or raises one runtime
// error that the dispatch reports; nothing outside what the handler writes
// ever changes; and a finished run shows the right value.

#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "report/Command2_Click.h"
#include "report/Command4_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "scoring/Command6_Click.h"
#include "support/FakePlatform.h"

#include <QTest>

#include <map>
#include <random>
#include <set>

using namespace kamorin;
using namespace Qt::StringLiterals;

namespace {

constexpr double kMostPasses = 20000;

struct ControlState
{
    QString text;
    float width = 0;
    float left = 0;
    bool enabled = false;
    int selStart = 0;
    int selLength = 0;

    bool operator==(const ControlState &) const = default;
};

using FormState = std::map<QString, ControlState>;

FormState snapshot(Form1 &form)
{
    FormState state;
    for (Control *control : form.controls()) {
        ControlState &s = state[control->name()];
        s.enabled = control->enabled();
        if (const auto *box = dynamic_cast<const TextBox *>(control)) {
            s.selStart = box->selStart();
            s.selLength = box->selLength();
        }
        if (const auto *text = dynamic_cast<const TextControl *>(control))
            s.text = text->text();
        else if (const auto *label = dynamic_cast<const Label *>(control)) {
            s.text = label->caption();
            s.width = label->width();
            s.left = label->left();
        } else if (const auto *button = dynamic_cast<const CommandButton *>(control))
            s.text = button->caption();
    }
    return state;
}

// The controls each click may write; every other control must keep its state.
const std::map<QString, std::set<QString>> kWrites {
    { u"Command1"_s,
      { u"Combo1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s, u"Text5"_s, u"Text6"_s, u"Text7"_s,
        u"Text8"_s, u"Label14"_s, u"Label15"_s, u"Label16"_s, u"Label17"_s, u"Label18"_s,
        u"Label19"_s, u"Label20"_s, u"Command1"_s, u"Command6"_s } },
    { u"Command6"_s,
      { u"Label19"_s, u"Label20"_s, u"Combo3"_s, u"Text7"_s, u"Label14"_s, u"Label15"_s } },
    { u"Command4"_s,
      { u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text5"_s, u"Text6"_s, u"Text7"_s, u"Text8"_s } },
    { u"Command2"_s,
      { u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s, u"Text5"_s, u"Text6"_s, u"Text7"_s,
        u"Text8"_s, u"Label14"_s, u"Label15"_s, u"Label18"_s, u"Label19"_s, u"Label20"_s,
        u"Command6"_s, u"Combo3"_s } },
};

const QStringList kEditableFields { u"Combo4"_s, u"Combo5"_s, u"Combo2"_s, u"Combo3"_s, u"Combo1"_s,
                                    u"Text1"_s,  u"Text2"_s,  u"Text3"_s,  u"Text4"_s,  u"Text5"_s,
                                    u"Text6"_s,  u"Text7"_s,  u"Text8"_s };

QStringList editTexts()
{
    QStringList texts { QString(),
                        u" "_s,
                        u"\t 3 "_s,
                        u"0"_s,
                        u"1"_s,
                        u"5"_s,
                        u"12"_s,
                        u"-1"_s,
                        u"-0"_s,
                        u"+3"_s,
                        u"1.5"_s,
                        u"2.5"_s,
                        u"0.0001"_s,
                        u"30"_s,
                        u"50"_s,
                        u"3e2"_s,
                        u"1e308"_s,
                        u"-1e308"_s,
                        u"1e-308"_s,
                        u"1e400"_s,
                        u"-1e400"_s,
                        u"9e15"_s,
                        u"nan"_s,
                        u"inf"_s,
                        u"-inf"_s,
                        u"1,000"_s,
                        u"&H10"_s,
                        u"１２"_s,
                        u"abc"_s,
                        u"回"_s,
                        u"百回"_s,
                        u"千回"_s,
                        u"万回"_s,
                        u"億回"_s,
                        u"20000000"_s,
                        u"20000000.0"_s,
                        u"MMX-Pentium166"_s,
                        u"MMX-Pentium166 "_s,
                        u"Celeron400@450"_s,
                        u"Mobile　PenIII500"_s,
                        u"K6-2 999"_s,
                        u"𝟙𝟚"_s,
                        u"😀😀😀"_s,
                        u"1234😀"_s,
                        u"123456789😀"_s,
                        u"1234567890123456789😀"_s };
    texts << QString(QChar(0xD800)) << u"x"_s + QChar(0xDC00) << QString(10000, u'9')
          << QString(10000, u'a');
    return texts;
}

// The loop count the run would resolve, when its count is a number: runs are
// kept small by construction, so a press that would run long is left out.
std::optional<double> passes(const Form1 &form)
{
    try {
        const double count = textToNumber(form.Combo4.text());
        const QString &unit = form.Combo5.text();
        const double factor = unit == u"億回" ? 1e8
                : unit == u"万回"             ? 1e4
                : unit == u"千回"             ? 1e3
                : unit == u"百回"             ? 1e2
                                              : 1;
        return count * factor;
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

QString seriesText(double count)
{
    double sum = 0;
    for (double n = 1; n <= count; ++n)
        sum += (n - 1 == std::floor((n - 1) / 2) * 2 ? 1.0 : -1.0) / (2 * n - 1);
    return count >= 1 ? doubleToText(4 * sum) : u"0"_s;
}

// Half of a surrogate pair: a character cut in two.
bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

bool typedLoneSurrogate(Form1 &form)
{
    for (const QString &field : kEditableFields) {
        if (hasLoneSurrogate(static_cast<TextControl &>(form.control(field.toStdString())).text()))
            return true;
    }
    return false;
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomSequences();
};

void TestMonkey::randomSequences()
{
    const QStringList texts = editTexts();
    const QStringList buttons { u"Command1"_s, u"Command6"_s, u"Command4"_s, u"Command2"_s };
    const std::vector<double> elapsed { 0, 0.5, 0.99, 1, 1.5, 30.5, 59.99, 3725.5, 86399.99 };
    int completed = 0;
    int reported = 0;

    for (unsigned seed = 1; seed <= 2000; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](auto size) {
            return std::uniform_int_distribution<std::size_t>(0, std::size_t(size) - 1)(random);
        };
        Form1 form;
        test::FakePlatform platform;
        Form_Load(form);
        form.Combo4.setText(u"10"_s);
        form.Combo5.setText(u"回"_s);

        for (int step = 0; step < 15; ++step) {
            const QString where = u"seed %1 step %2"_s.arg(seed).arg(step);
            if (pick(3) == 0) {
                const QString &field = kEditableFields[qsizetype(pick(kEditableFields.size()))];
                auto &control = static_cast<TextControl &>(form.control(field.toStdString()));
                const FormState before = snapshot(form);
                control.setText(texts[qsizetype(pick(texts.size()))]);
                FormState after = snapshot(form);
                after[field] = before.at(field);
                QVERIFY2(after == before, qPrintable(where + u": an edit changed another field"_s));
                continue;
            }

            const QString button = buttons[qsizetype(pick(buttons.size()))];
            auto &control = static_cast<CommandButton &>(form.control(button.toStdString()));
            if (!control.enabled())
                continue; // a greyed-out button cannot be pressed
            if (button == u"Command1") {
                const auto count = passes(form);
                if (count && *count > kMostPasses)
                    continue;
            }
            platform.setElapsed(elapsed[pick(elapsed.size())]);

            const FormState before = snapshot(form);
            const bool typedHalfCharacter = typedLoneSurrogate(form);
            const std::size_t errorsBefore = platform.errors.size();
            const bool finished = dispatch(platform, [&] {
                if (button == u"Command1")
                    Command1_Click(form, platform);
                else if (button == u"Command6")
                    Command6_Click(form, platform);
                else if (button == u"Command4")
                    Command4_Click(form, platform);
                else
                    Command2_Click(form);
            });
            QCOMPARE(platform.errors.size(), errorsBefore + (finished ? 0 : 1));
            finished ? ++completed : ++reported;

            FormState after = snapshot(form);
            for (const QString &written : kWrites.at(button))
                after[written] = before.at(written);
            QVERIFY2(
                    after == before,
                    qPrintable(where + u": "_s + button + u" changed a field it does not write"_s));

            QVERIFY2(form.Command1.caption() == u"実行"_s,
                     qPrintable(where + u": the run button still reads "_s
                                + form.Command1.caption()));
            if (finished && button == u"Command4" && !typedHalfCharacter)
                QVERIFY2(!hasLoneSurrogate(platform.clipboard),
                         qPrintable(where + u": COPY cut a character in two"_s));

            if (finished && button == u"Command1")
                QVERIFY2(form.Text2.text() == seriesText(*passes(form)),
                         qPrintable(where + u": wrong value "_s + form.Text2.text()));
        }
    }
    // Both outcomes must really have been exercised.
    QVERIFY(completed > 1000);
    QVERIFY(reported > 1000);
    qInfo("%d clicks finished, %d reported a runtime error", completed, reported);
}

QTEST_APPLESS_MAIN(TestMonkey)
#include "tst_monkey.moc"
