#include "output/OutputFile.h"
#include "output/StandardStreams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

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
    void accessKept_data();
    void accessKept();
    void othersSpecialFileRefused_data();
    void othersSpecialFileRefused();
};

namespace {

// A user this machine need not have: root can give files to any number.
constexpr uid_t kSomeoneElse = 54321;

QByteArray nameOf(const QString &path)
{
    return QFile::encodeName(path);
}

struct stat statOf(const QString &path)
{
    struct stat st
    { };
    if (stat(nameOf(path).constData(), &st) != 0)
        qFatal("cannot stat %s", nameOf(path).constData());
    return st;
}

// An access list giving `reader` read access, in the kernel's form:
// (tag, permissions, id) after a version, little-endian.
QByteArray accessListFor(uid_t reader)
{
    QByteArray list;
    const auto put = [&](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            list += char((value >> (8 * i)) & 0xff);
    };
    put(2, 4);
    const std::pair<quint16, quint16> entries[]
            = { { 0x01, 6 }, { 0x02, 4 }, { 0x04, 0 }, { 0x10, 4 }, { 0x20, 0 } };
    for (const auto &[tag, permissions] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(tag == 0x02 ? reader : quint32(-1), 4);
    }
    return list;
}

} // namespace

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
        // Never more open than the old file, from its first moment: a reader
        // who opens it then keeps it open.
        const QStringList beside = QDir(folder.path())
                                           .entryList({ QStringLiteral("results.json.*") },
                                                      QDir::Files | QDir::Hidden);
        QCOMPARE(beside.size(), 1);
        QCOMPARE(statOf(folder.filePath(beside[0])).st_mode & 07777,
                 mode_t(existing ? 0600 : 0644));
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

void TestOutputFile::accessKept_data()
{
    QTest::addColumn<bool>("otherOwner");
    QTest::addColumn<bool>("accessList");

    QTest::newRow("root replacing a user's file: theirs still") << true << false;
    QTest::newRow("an access list naming another reader: kept") << false << true;
}

void TestOutputFile::accessKept()
{
    QFETCH(bool, otherOwner);
    QFETCH(bool, accessList);
    if (otherOwner && geteuid() != 0)
        QSKIP("only root can give a file to another user");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.json"));
    writeOutputFile(path, folder.filePath(QStringLiteral("results.sqlite")), "old\n");
    QCOMPARE(chmod(nameOf(path).constData(), 0640), 0);
    const QByteArray list = accessListFor(kSomeoneElse);
    if (accessList
        && setxattr(nameOf(path).constData(), "system.posix_acl_access", list.constData(),
                    list.size(), 0)
                != 0)
        QSKIP("this file system keeps no access lists");
    if (otherOwner)
        QCOMPARE(chown(nameOf(path).constData(), kSomeoneElse, kSomeoneElse), 0);

    writeOutputFile(path, folder.filePath(QStringLiteral("results.sqlite")), "new\n");
    const struct stat st = statOf(path);
    QCOMPARE(st.st_uid, otherOwner ? kSomeoneElse : geteuid());
    QCOMPARE(st.st_gid, otherOwner ? gid_t(kSomeoneElse) : getegid());
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    QByteArray kept(256, '\0');
    const ssize_t size = getxattr(nameOf(path).constData(), "system.posix_acl_access", kept.data(),
                                  kept.size());
    QCOMPARE(size < 0 ? QByteArray() : kept.left(size), accessList ? list : QByteArray());
}

void TestOutputFile::othersSpecialFileRefused_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::addColumn<bool>("theirs");

    QTest::newRow("another user's FIFO in a shared sticky folder") << true << true;
    QTest::newRow("another user's device there") << false << true;
    QTest::newRow("one's own FIFO there: written") << true << false;
}

void TestOutputFile::othersSpecialFileRefused()
{
    QFETCH(bool, fifo);
    QFETCH(bool, theirs);
    if (geteuid() != 0)
        QSKIP("only root can give a file to another user, or make a device");
    QTemporaryDir folder;
    QCOMPARE(chmod(nameOf(folder.path()).constData(), 01777), 0);
    const QString path = folder.filePath(QStringLiteral("report.html"));
    QCOMPARE(fifo ? mkfifo(nameOf(path).constData(), 0666)
                  : mknod(nameOf(path).constData(), S_IFCHR | 0666, makedev(1, 3)),
             0);
    if (theirs)
        QCOMPARE(chown(nameOf(path).constData(), kSomeoneElse, kSomeoneElse), 0);
    // Read as it is written, so that a FIFO refused is not one waited on.
    const int reader = open(nameOf(path).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    if (theirs) {
        QVERIFY_THROWS_EXCEPTION(
                OutputFailed,
                writeOutputFile(path, folder.filePath(QStringLiteral("results.sqlite")), "page\n"));
    } else {
        writeOutputFile(path, folder.filePath(QStringLiteral("results.sqlite")), "page\n");
        char got[16] = {};
        QCOMPARE(read(reader, got, sizeof got), ssize_t(5));
    }
    close(reader);
    QVERIFY(QFileInfo(path).exists());
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"
