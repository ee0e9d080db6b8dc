#include "output/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kamorin;

// A file that is replaced is the whole new output or the old file, with
// nothing left beside it, whatever becomes of the output; the part of the
// rule only a caller in the middle of its output can show.
class TestOutputFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replacement_data();
    void replacement();
};

void TestOutputFile::replacement_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("committed");

    QTest::newRow("private file, committed: replaced, still private") << true << true;
    QTest::newRow("private file, given up midway: as it was") << true << false;
    QTest::newRow("new path, committed: made with the umask") << false << true;
    QTest::newRow("new path, given up midway: nothing there") << false << false;
}

void TestOutputFile::replacement()
{
    QFETCH(bool, existing);
    QFETCH(bool, committed);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.json"));
    if (existing) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\n");
        old.close();
        QCOMPARE(chmod(QFile::encodeName(path).constData(), 0600), 0);
    }
    const mode_t mask = umask(022);
    {
        OutputFile file(path, folder.filePath(QStringLiteral("results.sqlite")));
        // More than one piece, so that some of it is on the disk before the end.
        file.write(QByteArray(200 * 1024, 'x'));
        if (committed)
            file.commit();
    }
    umask(mask);

    const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left,
             existing || committed ? QStringList { QStringLiteral("results.json") }
                                   : QStringList());
    if (!existing && !committed)
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), committed ? QByteArray(200 * 1024, 'x') : QByteArray("old\n"));
    struct stat st
    { };
    QCOMPARE(stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(existing ? 0600 : 0644));
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
