#include "benchmark/Ranking.h"
#include "cli/Language.h"
#include "formats/Format.h"
#include "formats/UiLanguage.h"
#include "formats/WarningText.h"
#include "runtime/RuntimeError.h"
#include "support/SampleResult.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

using namespace kamorin;

Q_DECLARE_METATYPE(Warning)

class LanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chooses_as_gettext_does_data();
    void chooses_as_gettext_does();
    void english_leaves_the_programs_own_words();
    void formats_speak_english_data();
    void formats_speak_english();
    void warnings_count_in_english_data();
    void warnings_count_in_english();
};

void LanguageTest::chooses_as_gettext_does_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("spoken");

    // clang-format off
    //                                     LANGUAGE        LC_ALL          LC_MESSAGES    LANG
    QTest::newRow("nothing set")        << ""            << ""            << ""           << ""            << "ja";
    QTest::newRow("C")                  << ""            << ""            << ""           << "C"           << "ja";
    QTest::newRow("C.UTF-8")            << ""            << ""            << ""           << "C.UTF-8"     << "ja";
    QTest::newRow("POSIX")              << ""            << ""            << ""           << "POSIX"       << "ja";
    QTest::newRow("Japanese")           << ""            << ""            << ""           << "ja_JP.UTF-8" << "ja";
    QTest::newRow("English")            << ""            << ""            << ""           << "en_US.UTF-8" << "en";
    QTest::newRow("German")             << ""            << ""            << ""           << "de_DE.UTF-8" << "en";
    QTest::newRow("modifier")           << ""            << ""            << ""           << "de_DE@euro"  << "en";
    QTest::newRow("LC_ALL over LANG")   << ""            << "ja_JP.UTF-8" << ""           << "en_US.UTF-8" << "ja";
    QTest::newRow("LC_ALL=C over LANG") << ""            << "C"           << ""           << "en_US.UTF-8" << "ja";
    QTest::newRow("LC_MESSAGES")        << ""            << ""            << "en_GB.UTF-8"<< "ja_JP.UTF-8" << "en";
    QTest::newRow("LC_ALL over LC_MESSAGES") << ""       << "ja_JP.UTF-8" << "en_GB.UTF-8"<< ""            << "ja";
    QTest::newRow("LANGUAGE first")     << "ja"          << ""            << ""           << "en_US.UTF-8" << "ja";
    QTest::newRow("LANGUAGE to English")<< "en_GB:ja"    << ""            << ""           << "ja_JP.UTF-8" << "en";
    QTest::newRow("untranslated passed over") << "de:ja" << ""            << ""           << "de_DE.UTF-8" << "ja";
    QTest::newRow("none of its list")   << "de:fr"       << ""            << ""           << "ja_JP.UTF-8" << "ja";
    QTest::newRow("C in the list")      << "de:C:en"     << ""            << ""           << "de_DE.UTF-8" << "ja";
    QTest::newRow("empty entries")      << ":en:"        << ""            << ""           << "ja_JP.UTF-8" << "en";
    QTest::newRow("LANGUAGE under C")   << "en"          << ""            << ""           << "C"           << "ja";
    QTest::newRow("LANGUAGE, C.UTF-8")  << "en"          << ""            << ""           << "C.UTF-8"     << "en";
    QTest::newRow("C.UTF-8 in LC_ALL")  << ""            << "C.UTF-8"     << ""           << "en_US.UTF-8" << "ja";
    QTest::newRow("LANGUAGE, no locale")<< "en"          << ""            << ""           << ""            << "ja";
    QTest::newRow("LANGUAGE, LC_ALL=C") << "en"          << "C"           << ""           << "ja_JP.UTF-8" << "ja";
    // clang-format on
}

void LanguageTest::chooses_as_gettext_does()
{
    QFETCH(QString, language);
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(QString, spoken);
    QCOMPARE(chooseLanguage({ language, lcAll, lcMessages, lang }, { QStringLiteral("en") }),
             spoken);
}

// The window installs no translation and shows the Japanese; kamorin-cli in
// English shows the translation, yet writes data in the program's own words.
void LanguageTest::english_leaves_the_programs_own_words()
{
    const RuntimeError error(ErrorNumber::TypeMismatch);
    QCOMPARE(error.report(), u"実行時エラー '13': 型が一致しません。");
    QCOMPARE(uiLanguageTag(), u"ja");

    QTranslator english;
    QVERIFY(english.load(QStringLiteral(KAMORIN_ENGLISH_QM)));
    QCoreApplication::installTranslator(&english);
    QCOMPARE(error.report(), u"Run-time error '13': Type mismatch");
    QCOMPARE(error.report(RuntimeError::Words::Own), u"実行時エラー '13': 型が一致しません。");
    QCOMPARE(uiLanguageTag(), u"en");
    QCoreApplication::removeTranslator(&english);
}

void LanguageTest::formats_speak_english_data()
{
    QTest::addColumn<OutputForm>("form");
    QTest::addColumn<bool>("page");
    // Counts grouped for a reader, as data for a program; plurals as English has them.
    QTest::addColumn<QStringList>("holds");
    const QString loops = QStringLiteral("20,000,000");
    QTest::newRow("text") << OutputForm::Text << false
                          << QStringList { loops, u"1 run (not recorded)"_qs, u"ns per loop"_qs };
    QTest::newRow("Markdown") << OutputForm::Markdown << false
                              << QStringList { loops, u"1 run (not recorded)"_qs };
    QTest::newRow("CSV") << OutputForm::Csv << false << QStringList { u",20000000,"_qs };
    QTest::newRow("page") << OutputForm::Text << true
                          << QStringList { u"2000 万回 (20,000,000 loops)"_qs,
                                           u"1 warm-up run, 10 recorded runs"_qs,
                                           u"on logical CPU 0"_qs };
}

// In English every format words what it shows itself: no Japanese but the
// program's own data (COPY's lines, the unit as typed, the reference
// machines' names) may reach it.
void LanguageTest::formats_speak_english()
{
    QFETCH(OutputForm, form);
    QFETCH(bool, page);
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(KAMORIN_ENGLISH_QM)));
    QCoreApplication::installTranslator(&english);

    SavedResult saved = sampleResult();
    // A sentence an older Kamorin kept stays as it was written.
    saved.warnings.pop_back();
    BenchmarkResult benchmark;
    benchmark.settings = saved.settings;
    benchmark.warmupRuns = saved.settings.warmup;
    benchmark.runs = saved.runs;
    benchmark.system = saved.system;
    const SavedMachine machine { saved.id, QStringLiteral("CPU"), QStringLiteral("host"),
                                 QStringLiteral("label"), 15 };
    benchmark.rank = rankAmong(ReferenceMachineTable::entries(), 25, { &machine, 1 });
    const QString report = QStringLiteral("★Kamorin(Ver1.2.7) 結果★\r\nループ回数 2000万回  計算値 "
                                          "3.14159260358979\r\n小数点以下7桁まで一致しました。");
    const WindowReadings window { QStringLiteral("20000000"),
                                  QStringLiteral("3.14159260358979"),
                                  QStringLiteral("3.14159265358979"),
                                  QStringLiteral("7"),
                                  QStringLiteral("0"),
                                  QStringLiteral("0"),
                                  QStringLiteral("3"),
                                  QStringLiteral("41"),
                                  true,
                                  QStringLiteral("MMX-Pentium166"),
                                  QStringLiteral("12.34"),
                                  QStringLiteral("基準機"),
                                  QStringLiteral("あなたの機械"),
                                  4110,
                                  2000,
                                  report };
    const RunAnswer answer { window,       benchmark, std::nullopt, std::nullopt,
                             std::nullopt, &saved,    {},           saved.started };
    QString out = (page ? pageFormat() : formatFor(form)).run(answer);
    QCoreApplication::removeTranslator(&english);
    QFETCH(QStringList, holds);
    for (const QString &text : holds)
        QVERIFY2(out.contains(text), qPrintable(text + u'\n' + out));

    for (const QString &line : report.split(QStringLiteral("\r\n")))
        out.remove(line);
    out.remove(QStringLiteral("万回"));
    for (const RankRow &row : benchmark.rank->rows)
        if (!row.name.isEmpty())
            out.remove(row.name.toHtmlEscaped());
    static const QRegularExpression japanese(
            QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}"
                           "\\x{ff00}-\\x{ffef}]+"));
    const QRegularExpressionMatch match = japanese.match(out);
    QVERIFY2(!match.hasMatch(), qPrintable(match.captured() + u'\n' + out));
}

void LanguageTest::warnings_count_in_english_data()
{
    QTest::addColumn<Warning>("warning");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QString>("english");
    // One-CPU virtual machines are common, and each count keeps its own number.
    QTest::newRow("others busy, one CPU")
            << Warning { OthersBusy { 1, 1, 0.3 } }
            << u"スレッドが 1 個あり、論理 CPU 1 個に対して"_qs
            << u"had 1 runnable thread, too many for 1 logical CPU ("_qs;
    QTest::newRow("load, two CPUs")
            << Warning { BusyMachine { 1.5, 2, 0.3 } } << u"1.50 で、論理 CPU 2 個に対して"_qs
            << u"was 1.50, too high for 2 logical CPUs ("_qs;
    QTest::newRow("crowded, one CPU")
            << Warning { CrowdedCpus { 2, 1 } } << u"あり、論理 CPU 1 個を超えていました。"_qs
            << u"more than the 1 logical CPU."_qs;
    QTest::newRow("parallel, one of each")
            << Warning { ParallelCrowded { 0.5, 1, 1 } }
            << u"使える CPU 1 個のうち空いていたのはスレッド数 1 より少なかった"_qs
            << u"leaving fewer of the 1 usable CPU free than the 1 thread,"_qs;
}

void LanguageTest::warnings_count_in_english()
{
    QFETCH(Warning, warning);
    QFETCH(QString, japanese);
    QFETCH(QString, english);
    QVERIFY2(warningText(warning).contains(japanese), qPrintable(warningText(warning)));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(KAMORIN_ENGLISH_QM)));
    QCoreApplication::installTranslator(&translator);
    const QString text = warningText(warning);
    QCoreApplication::removeTranslator(&translator);
    QVERIFY2(text.contains(english), qPrintable(text));
}

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_language.moc"
