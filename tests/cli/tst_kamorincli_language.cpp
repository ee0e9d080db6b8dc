#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

// kamorin-cli as a user on an English, a Japanese and a C-locale desktop runs it.
class KamorinCliLanguageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void speaks_the_users_language_data();
    void speaks_the_users_language();
};

namespace {

struct Outcome
{
    int status = -1;
    QStringList lines;
};

// `memoryLimit`: the address space in KiB, 0 for none.
Outcome run(const QStringList &arguments, const QString &locale, bool fromStderr, int memoryLimit)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" })
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    // No results store of the developer's own may join in.
    environment.insert(QStringLiteral("KAMORIN_STORE"), QString());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/nonexistent"));
    QProcess process;
    process.setProcessEnvironment(environment);
    if (memoryLimit > 0) {
        process.setChildProcessModifier([memoryLimit] {
            const rlimit limit { rlim_t(memoryLimit) * 1024, rlim_t(memoryLimit) * 1024 };
            setrlimit(RLIMIT_AS, &limit);
        });
    }
    process.start(QStringLiteral(KAMORIN_CLI), arguments);
    if (!process.waitForFinished(30000))
        return {};
    const QByteArray output
            = fromStderr ? process.readAllStandardError() : process.readAllStandardOutput();
    QStringList lines = QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts);
    // A warning of the machine's load comes and goes with the machine's state.
    lines.removeIf([](const QString &line) {
        return line.startsWith(u"kamorin-cli: 警告: ")
                || line.startsWith(u"kamorin-cli: warning: ");
    });
    return { process.exitCode(), lines };
}

bool hasKana(const QString &line)
{
    static const QRegularExpression kana(QStringLiteral("[\\x{3040}-\\x{30ff}]"));
    return line.contains(kana);
}

// COPY's four lines are the same in every language.
QStringList withoutCopyReport(QStringList lines)
{
    const auto start = std::find_if(lines.begin(), lines.end(), [](const QString &line) {
        return line.startsWith(u"★Kamorin(");
    });
    if (start != lines.end())
        lines.erase(start, start + std::min<qsizetype>(4, lines.end() - start));
    return lines;
}

} // namespace

void KamorinCliLanguageTest::speaks_the_users_language_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("fromStderr");
    QTest::addColumn<bool>("sameEveryTime");
    QTest::addColumn<int>("memoryLimit");

    // clang-format off
    //                                arguments                              stderr   same     KiB
    QTest::newRow("help")          << u"--help"_s                            << false << true  << 0;
    QTest::newRow("usage error")   << u"--runs 0"_s                          << true  << true  << 0;
    QTest::newRow("runtime error") << u"--count abc --no-progress"_s         << true  << true  << 0;
    QTest::newRow("summary")       << u"--count 1 --unit 回 --no-progress"_s << false << false << 0;
    // Said by main() itself, after everything else has ended: a hundred
    // thread stacks do not fit in 600 MB.
    QTest::newRow("threads that cannot be made")
            << u"--count 100 --unit 回 --threads 100 --force-threads --no-progress"_s
            << true << false << 600000;
    // clang-format on
}

void KamorinCliLanguageTest::speaks_the_users_language()
{
    QFETCH(QString, command);
    const QStringList arguments = command.split(u' ');
    QFETCH(bool, fromStderr);
    QFETCH(bool, sameEveryTime);
    QFETCH(int, memoryLimit);
#if defined(__SANITIZE_ADDRESS__)
    if (memoryLimit > 0)
        QSKIP("A sanitizer's shadow memory alone exceeds the limit");
#endif

    const Outcome japanese = run(arguments, QStringLiteral("ja_JP.UTF-8"), fromStderr, memoryLimit);
    const Outcome plain = run(arguments, QStringLiteral("C"), fromStderr, memoryLimit);
    const Outcome english = run(arguments, QStringLiteral("en_US.UTF-8"), fromStderr, memoryLimit);
    QVERIFY(!japanese.lines.isEmpty());
    QVERIFY(std::any_of(japanese.lines.begin(), japanese.lines.end(), hasKana));
    QCOMPARE(plain.status, japanese.status);
    QCOMPARE(english.status, japanese.status);
    if (sameEveryTime)
        QCOMPARE(plain.lines, japanese.lines);

    const QStringList read = withoutCopyReport(english.lines);
    const auto kanaLines = std::count_if(read.begin(), read.end(), hasKana);
    QVERIFY2(kanaLines * 10 <= read.size(), qPrintable(read.join(u'\n')));
}

QTEST_GUILESS_MAIN(KamorinCliLanguageTest)
#include "tst_kamorincli_language.moc"
