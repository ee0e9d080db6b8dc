#include "benchmark/ResultDocument.h"
#include "benchmark/ResultDocumentWriter.h"
#include "benchmark/ResultStore.h"
#include "benchmark/ResultsError.h"
#include "support/SampleResult.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace kamorin;

namespace {

const QString kScriptLabel = QStringLiteral("<script>alert(1)</script>");

using Edit = std::function<QByteArray(QJsonObject)>;

// Changes the first result's member `key` to `value` in the good file.
Edit firstResult(const QString &key, const QJsonValue &value)
{
    return [=](QJsonObject top) {
        QJsonArray results = top[QStringLiteral("results")].toArray();
        QJsonObject first = results[0].toObject();
        if (value.isUndefined())
            first.remove(key);
        else
            first[key] = value;
        results[0] = first;
        top[QStringLiteral("results")] = results;
        return QJsonDocument(top).toJson();
    };
}

} // namespace

class TestResultDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void import_data();
    void import();

private:
    QTemporaryDir m_dir;
};

void TestResultDocument::import_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("imports");
    QTest::addColumn<int>("added");
    // Empty when the file is taken; else a piece of the message.
    QTest::addColumn<QString>("refusal");

    const auto asIs = [](QJsonObject top) { return QJsonDocument(top).toJson(); };
    QTest::newRow("good file") << Edit(asIs) << 1 << 2 << QString();
    QTest::newRow("same file twice") << Edit(asIs) << 2 << 0 << QString();
    QTest::newRow("truncated") << Edit([](QJsonObject top) {
        const QByteArray whole = QJsonDocument(top).toJson();
        return whole.left(whole.size() / 2);
    }) << 1 << 0 << QStringLiteral("JSON として正しくありません");
    QTest::newRow("another format version") << Edit([](QJsonObject top) {
        top[QStringLiteral("version")] = 2;
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("形式の版が 2 です");
    QTest::newRow("another format") << Edit([](QJsonObject top) {
        top[QStringLiteral("format")] = QStringLiteral("hyperfine");
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("format");
    QTest::newRow("negative time") << firstResult(QStringLiteral("runs"), QJsonArray { 1.5, -1 })
                                   << 1 << 0 << QStringLiteral("results[0].runs[1]");
    QTest::newRow("time as text") << firstResult(QStringLiteral("runs"),
                                                 QJsonArray { QStringLiteral("1.5") })
                                  << 1 << 0 << QStringLiteral("results[0].runs[0]");
    QTest::newRow("no runs") << firstResult(QStringLiteral("runs"), QJsonArray {}) << 1 << 0
                             << QStringLiteral("results[0].runs");
    QTest::newRow("line break in a label")
            << firstResult(QStringLiteral("label"), QStringLiteral("a\nb")) << 1 << 0
            << QStringLiteral("制御文字");
    QTest::newRow("overlong label")
            << firstResult(QStringLiteral("label"), QString(201, QLatin1Char('x'))) << 1 << 0
            << QStringLiteral("200 文字");
    QTest::newRow("unknown member") << firstResult(QStringLiteral("score"), 9) << 1 << 0
                                    << QStringLiteral("results[0].score: 知らないメンバー");
    QTest::newRow("id not a UUID")
            << firstResult(QStringLiteral("id"), QStringLiteral("1; DROP TABLE results")) << 1 << 0
            << QStringLiteral("UUID");
    QTest::newRow("local time") << firstResult(QStringLiteral("started"),
                                               QStringLiteral("2026-12-01T09:30:00"))
                                << 1 << 0 << QStringLiteral("ISO 8601");
    QTest::newRow("no system") << firstResult(QStringLiteral("system"),
                                              QJsonValue(QJsonValue::Undefined))
                               << 1 << 0 << QStringLiteral("results[0].system: ありません");
    QTest::newRow("nested too deep") << firstResult(
            QStringLiteral("options"),
            QJsonObject { { QStringLiteral("a"),
                            QJsonObject { { QStringLiteral("b"),
                                            QJsonObject { { QStringLiteral("c"),
                                                            QJsonArray { 1 } } } } } } })
                                     << 1 << 0 << QStringLiteral("入れ子");
    QTest::newRow("one id twice") << Edit([](QJsonObject top) {
        QJsonArray results = top[QStringLiteral("results")].toArray();
        results.append(results[0]);
        top[QStringLiteral("results")] = results;
        return QJsonDocument(top).toJson();
    }) << 1 << 0 << QStringLiteral("同じ ID");
}

void TestResultDocument::import()
{
    QFETCH(Edit, edit);
    QFETCH(int, imports);
    QFETCH(QString, refusal);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString file = m_dir.filePath(tag + QStringLiteral(".json"));
    const SavedResult results[] = { sampleResult(), sampleResult(kScriptLabel) };
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(edit(QJsonDocument::fromJson(resultDocument(results)).object()));
    }
    ResultStore store(m_dir.filePath(tag + QStringLiteral(".sqlite")));

    ImportOutcome outcome;
    try {
        for (int i = 0; i < imports; ++i)
            outcome = store.importResults(readResultDocument(file));
        QVERIFY2(refusal.isEmpty(), "taken");
    } catch (const ResultsError &error) {
        QVERIFY2(!refusal.isEmpty() && error.message().contains(file)
                         && error.message().contains(refusal),
                 qPrintable(error.message()));
        QVERIFY(store.history().empty());
        return;
    }
    QTEST(outcome.added, "added");
    QCOMPARE(outcome.skipped, 2 - outcome.added);
    const std::vector<SavedResult> saved = store.history();
    QCOMPARE(saved.size(), std::size_t(2));
    // The label is kept as written; only what shows it escapes it.
    QCOMPARE(store.find(results[1].id)->label, kScriptLabel);
    QCOMPARE(toJson(*store.find(results[0].id)), toJson(results[0]));
}

QTEST_GUILESS_MAIN(TestResultDocument)
#include "tst_resultdocument.moc"
