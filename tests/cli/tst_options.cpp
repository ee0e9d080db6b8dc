#include "cli/Options.h"

#include <QTest>

using namespace kamorin;

namespace {

// The parse result as one comparable line.
QString describe(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command)) {
        const auto show = [](const std::optional<QString> &text) {
            return text ? u'[' + *text + u']' : QStringLiteral("-");
        };
        return QStringLiteral("run count=%1 unit=%2 speed=%3 json=%4%5")
                .arg(show(options->count), show(options->unit), show(options->speed),
                     options->json ? QStringLiteral("yes") : QStringLiteral("no"),
                     options->machine ? QStringLiteral(" machine=") + show(options->machine)
                                      : QString());
    }
    if (std::holds_alternative<ShowHelp>(command))
        return QStringLiteral("help");
    if (std::holds_alternative<ShowVersion>(command))
        return QStringLiteral("version");
    if (std::holds_alternative<ListMachines>(command))
        return QStringLiteral("list machines");
    return QStringLiteral("usage error");
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    const auto args = [](std::initializer_list<const char *> list) {
        QStringList result;
        for (const char *a : list)
            result << QString::fromUtf8(a);
        return result;
    };
    QTest::newRow("nothing") << QStringList() << "run count=- unit=- speed=- json=no";
    QTest::newRow("separate values") << args({ "--count", "100", "--unit", "回", "--speed", "0" })
                                     << "run count=[100] unit=[回] speed=[0] json=no";
    QTest::newRow("joined values") << args({ "--count=100", "--unit=億回", "--json" })
                                   << "run count=[100] unit=[億回] speed=- json=yes";
    QTest::newRow("empty joined value")
            << args({ "--count=" }) << "run count=[] unit=- speed=- json=no";
    QTest::newRow("negative joined value")
            << args({ "--count=-5" }) << "run count=[-5] unit=- speed=- json=no";
    QTest::newRow("negative separate value")
            << args({ "--count", "-5" }) << "run count=[-5] unit=- speed=- json=no";
    QTest::newRow("value that looks like an option")
            << args({ "--unit", "--json" }) << "run count=- unit=[--json] speed=- json=no";
    QTest::newRow("value with =") << args({ "--count==3" })
                                  << "run count=[=3] unit=- speed=- json=no";
    QTest::newRow("last one wins")
            << args({ "--count=1", "--count=2" }) << "run count=[2] unit=- speed=- json=no";
    QTest::newRow("machine with spaces kept")
            << args({ "--machine", "MMX-Pentium166 " })
            << "run count=- unit=- speed=- json=no machine=[MMX-Pentium166 ]";
    QTest::newRow("joined machine")
            << args({ "--machine=Mobile　PenIII500" })
            << "run count=- unit=- speed=- json=no machine=[Mobile　PenIII500]";
    QTest::newRow("list machines") << args({ "--list-machines" }) << "list machines";
    QTest::newRow("help") << args({ "--count=1", "--help" }) << "help";
    QTest::newRow("short help") << args({ "-h" }) << "help";
    QTest::newRow("version") << args({ "--version" }) << "version";
    QTest::newRow("missing value") << args({ "--count" }) << "usage error";
    QTest::newRow("unknown option") << args({ "--fast" }) << "usage error";
    QTest::newRow("prefix of an option") << args({ "--co=1" }) << "usage error";
    QTest::newRow("stray word") << args({ "100" }) << "usage error";
}

void TestOptions::parse()
{
    QFETCH(QStringList, arguments);
    QTEST(describe(parseCommandLine(arguments)), "expected");
}

QTEST_APPLESS_MAIN(TestOptions)
#include "tst_options.moc"
