#include "cli/Language.h"
#include "formats/UiLanguage.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

using namespace kamorin;

class LanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chooses_as_gettext_does_data();
    void chooses_as_gettext_does();
    void english_leaves_the_programs_own_words();
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

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_language.moc"
