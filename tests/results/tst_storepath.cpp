#include "results/StorePath.h"

#include <QTest>

using namespace kamorin;

class TestStorePath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resolve_data();
    void resolve();
};

void TestStorePath::resolve_data()
{
    QTest::addColumn<QString>("explicitPath");
    QTest::addColumn<QString>("store");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("expected");

    const QString home = QStringLiteral("/home/u/.local/share/kamorin/results.sqlite");
    QTest::newRow("--store first") << "/s/a.sqlite"
                                   << "/env.sqlite"
                                   << "/data"
                                   << "/s/a.sqlite";
    QTest::newRow("KAMORIN_STORE next") << ""
                                        << "/env.sqlite"
                                        << "/data"
                                        << "/env.sqlite";
    QTest::newRow("XDG_DATA_HOME") << ""
                                   << ""
                                   << "/data"
                                   << "/data/kamorin/results.sqlite";
    QTest::newRow("XDG default") << ""
                                 << ""
                                 << "" << home;
    QTest::newRow("relative XDG_DATA_HOME ignored") << ""
                                                    << ""
                                                    << "data" << home;
}

void TestStorePath::resolve()
{
    QFETCH(QString, explicitPath);
    QFETCH(QString, store);
    QFETCH(QString, dataHome);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/u"));
    // Set but empty counts as unset.
    environment.insert(QStringLiteral("KAMORIN_STORE"), store);
    if (!dataHome.isEmpty())
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    QTEST(resolveStorePath(explicitPath, environment), "expected");
}

QTEST_GUILESS_MAIN(TestStorePath)
#include "tst_storepath.moc"
