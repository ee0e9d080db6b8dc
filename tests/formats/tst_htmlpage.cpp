#include "formats/HtmlPage.h"
#include "formats/PageInput.h"
#include "formats/SvgChart.h"
#include "machines/ReferenceMachines.h"
#include "support/SampleResult.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kamorin;

namespace {

const QString kScriptLabel = QStringLiteral("<script>alert(1)</script>");
const QString kChromium = QStringLiteral("/usr/bin/chromium");

// Four nodes of one CPU model too long for its column.
const QString kNodeModel = QStringLiteral("Intel(R) Xeon(R) Platinum 8375C CPU @ 2.90GHz");

// This machine, on a host with a long unbroken name, among the reference
// machines and four saved nodes of one model, one labelled with markup and
// one with a long unbroken label; ten days of this model's history; a
// comparison.
PageInput samplePage()
{
    PageInput input;
    input.result = sampleResult(kScriptLabel);
    input.result.host = QString(180, u'h');
    input.written = QDateTime(QDate(2026, 12, 8), QTime(1, 0), Qt::UTC);
    for (const ReferenceMachine &m : referenceMachines())
        input.ranking.push_back({ QString::fromUtf16(m.name.data(), qsizetype(m.name.size())),
                                  {},
                                  m.seconds,
                                  false,
                                  false });
    const QString labels[] = { kScriptLabel, QStringLiteral("nightly"), QString(150, u'x'),
                               QStringLiteral("計測テスト") };
    for (int n = 0; n < 4; ++n)
        input.ranking.push_back({ kNodeModel, QStringLiteral("node-%1、").arg(n + 1) + labels[n],
                                  1.9 + 0.2 * n, true, false });
    input.ranking.push_back({ QStringLiteral("この機械"), {}, input.result.median(), false, true });
    // Places as a ranking gives them; no two of these times are equal.
    for (PageRankRow &row : input.ranking)
        row.position = 1
                + int(std::count_if(
                        input.ranking.begin(), input.ranking.end(),
                        [&](const PageRankRow &other) { return other.seconds < row.seconds; }));
    for (int d = 1; d <= 10; ++d)
        input.modelHistory.push_back(
                sampleResult(QStringLiteral("day %1").arg(d), input.result.system.cpuModel,
                             QDateTime(QDate(2026, 11, d), QTime(9, 0), Qt::UTC),
                             { 3.4 + 0.01 * d, 3.41 + 0.01 * d, 3.39 + 0.01 * d }));
    const SavedResult before = input.modelHistory.front();
    input.comparison = PageComparison { before, input.result,
                                        compareRuns(before.seconds(), input.result.seconds()) };
    return input;
}

QByteArray chromium(const QStringList &arguments, const QString &page)
{
    QTemporaryDir profile;
    QProcess browser;
    browser.start(kChromium,
                  QStringList { QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                QStringLiteral("--disable-gpu"),
                                QStringLiteral("--disable-background-networking"),
                                QStringLiteral("--disable-component-update"),
                                QStringLiteral("--disable-sync"), QStringLiteral("--no-first-run"),
                                QStringLiteral("--user-data-dir=") + profile.path() }
                          + arguments + QStringList { QUrl::fromLocalFile(page).toString() });
    if (!browser.waitForFinished(90000))
        return {};
    return browser.readAllStandardOutput();
}

} // namespace

class TestHtmlPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selfContained();
    void savedCounted_data();
    void savedCounted();
    void historySummarised_data();
    void historySummarised();
    void scaleBeyondTheNumbers_data();
    void scaleBeyondTheNumbers();
    void rendersInChromium();
};

void TestHtmlPage::scaleBeyondTheNumbers_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<bool>("logarithmic");
    QTest::newRow("log from zero") << 0.0 << 1.0 << true;
    QTest::newRow("log from the least double") << 5e-324 << 3.4 << true;
    QTest::newRow("log to infinity") << 1.0 << double(INFINITY) << true;
    QTest::newRow("linear from -infinity") << double(-INFINITY) << 1.0 << false;
    QTest::newRow("linear of NaN") << double(NAN) << double(NAN) << false;
    QTest::newRow("linear steps lost in the magnitude") << 1e16 << 1e16 + 4 << false;
}

// Whatever the values, a chart gets finite positions and an end to its marks.
void TestHtmlPage::scaleBeyondTheNumbers()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(bool, logarithmic);
    const Scale scale { low, high, 10, 400, logarithmic };
    const std::vector<double> marks = scale.ticks(6);
    QVERIFY(marks.size() <= 400);
    for (const double mark : marks)
        QVERIFY(std::isfinite(scale(mark)));
    QVERIFY(std::isfinite(scale(1.0)));
}

void TestHtmlPage::selfContained()
{
    const QString html = htmlPage(samplePage());
    for (const QString &reference :
         { QStringLiteral("<script"), QStringLiteral("src="), QStringLiteral("href="),
           QStringLiteral("url("), QStringLiteral("@import"), QStringLiteral("<link") })
        QVERIFY2(!html.contains(reference, Qt::CaseInsensitive), qPrintable(reference));
    // The SVG namespace is a name, not a place the page goes to.
    QCOMPARE(html.count(QStringLiteral("http")),
             html.count(QStringLiteral("xmlns=\"http://www.w3.org/2000/svg\"")));
}

void TestHtmlPage::savedCounted_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("others");
    QTest::addColumn<QString>("counted");
    QTest::newRow("shown only") << false << 0 << "保存した結果 0 件";
    QTest::newRow("shown only, beside a saved one") << false << 1 << "保存した結果 1 件";
    QTest::newRow("saved") << true << 0 << "保存した結果 1 件";
    QTest::newRow("saved, beside a saved one") << true << 1 << "保存した結果 2 件";
}

// A run that was only shown is drawn on the page but never counted as saved.
void TestHtmlPage::savedCounted()
{
    QFETCH(bool, saved);
    QFETCH(int, others);
    QFETCH(QString, counted);
    const SavedResult result = sampleResult();
    std::vector<SavedResult> store;
    for (int n = 0; n < others; ++n)
        store.push_back(sampleResult(QStringLiteral("before")));
    // Before a save the store does not hold the run; after it, it does.
    if (saved)
        store.push_back(result);
    const QString html
            = htmlPage(pageInputFor(result, saved ? ResultSaved::Yes : ResultSaved::No, store,
                                    std::nullopt, QDateTime::currentDateTimeUtc()));
    QVERIFY2(html.contains(counted), qPrintable(html.section(QStringLiteral("id=\"history\""), 1)));
    QCOMPARE(html.count(QStringLiteral("<circle class=\"point\"")), saved ? others + 1 : others);
}

void TestHtmlPage::historySummarised_data()
{
    QTest::addColumn<int>("results");
    QTest::addColumn<int>("minutesApart");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("caption");
    // 250 saved before the run; the run itself among them once saved.
    QTest::newRow("few, shown only") << 250 << 60 << false << 250 << 0 << "（全 250 件）";
    QTest::newRow("few, saved") << 249 << 60 << true << 250 << 0 << "（全 250 件）";
    QTest::newRow("a year day by day") << 366 << 1440 << false << 366 << 0 << "（全 366 件）";
    // 1,000 hours: 42 days of 24 results, the last of 16.
    QTest::newRow("many, by the day") << 1000 << 60 << false << 42 << 42
                                      << "縦棒はその日の最小から最大です（結果 1000 件、42 日）";
    QTest::newRow("many, saved") << 999 << 60 << true << 42 << 42 << "（結果 1000 件、42 日）";
    // 1,000 days in spans of 3, the last span of one result.
    QTest::newRow("many, by spans of days")
            << 1000 << 1440 << false << 334 << 333
            << "点は 3 日ごとの保存した結果の中央値、縦棒はその期間の最小から最大です"
               "（結果 1000 件、334 期間）";
}

// Few results are drawn as they are, many as the medians of their days, and
// the caption says which; a run not saved has a mark of its own.
void TestHtmlPage::historySummarised()
{
    QFETCH(int, results);
    QFETCH(int, minutesApart);
    QFETCH(bool, saved);
    QFETCH(int, points);
    QFETCH(int, bars);
    QFETCH(QString, caption);
    const QDateTime first(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);
    std::vector<SavedResult> store;
    for (int n = 0; n < results; ++n)
        store.push_back(sampleResult(QStringLiteral("nightly"), kNodeModel,
                                     first.addSecs(qint64(n) * minutesApart * 60),
                                     { 3.4 + 0.001 * (n % 7), 3.41 }));
    const SavedResult result
            = sampleResult(QStringLiteral("nightly"), kNodeModel,
                           first.addSecs(qint64(results) * minutesApart * 60), { 3.39, 3.42 });
    if (saved)
        store.push_back(result);
    const QString html = htmlPage(pageInputFor(result, saved ? ResultSaved::Yes : ResultSaved::No,
                                               store, std::nullopt, first));
    const QString history = html.section(QStringLiteral("<section id=\"history\""), 1);
    QCOMPARE(history.count(QStringLiteral("<circle class=\"point\"")), points);
    QCOMPARE(history.count(QStringLiteral("class=\"range\"")), bars);
    QVERIFY2(history.contains(caption), qPrintable(history.section(QStringLiteral("</svg>"), 1)));
    // The run not saved: its mark, the key's, and the caption's word for it.
    QCOMPARE(history.count(QStringLiteral("<path class=\"unsaved\"")), saved ? 0 : 2);
    QCOMPARE(history.contains(QStringLiteral("◇ は保存していないこの実行です。")), !saved);
}

void TestHtmlPage::rendersInChromium()
{
    if (!QFile::exists(kChromium))
        QSKIP("no chromium");
    // Kept beside the test for a person to look at.
    const QString page = QDir::current().absoluteFilePath(QStringLiteral("page.html"));
    const QString picture = QDir::current().absoluteFilePath(QStringLiteral("page.png"));
    {
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(htmlPage(samplePage()).toUtf8());
    }
    const QString dom = QString::fromUtf8(chromium({ QStringLiteral("--dump-dom") }, page));
    for (const QString &chart :
         { QStringLiteral("runs-chart"), QStringLiteral("ranking-chart"),
           QStringLiteral("history-chart"), QStringLiteral("comparison-chart") })
        QVERIFY2(dom.contains(QStringLiteral("<svg id=\"%1\"").arg(chart)), qPrintable(chart));
    QCOMPARE(dom.count(QRegularExpression(QStringLiteral("<rect class=\"bar "))), 60);
    QCOMPARE(dom.count(QStringLiteral("<rect class=\"bar this-machine\"")), 1);
    QCOMPARE(dom.count(QStringLiteral("<rect class=\"bar saved\"")), 4);
    // Each node by its host, in the chart itself and not only in a tooltip.
    for (int n = 1; n <= 4; ++n)
        QVERIFY(dom.contains(QRegularExpression(
                QStringLiteral("<text [^>]*class=\"detail\">node-%1、").arg(n))));
    QCOMPARE(dom.count(QStringLiteral("<circle class=\"run\"")), 10 + 3 + 10);
    // The ten saved days, and this run, which is not saved, by a mark of its own.
    QCOMPARE(dom.count(QStringLiteral("<circle class=\"point\"")), 10);
    QCOMPARE(dom.count(QStringLiteral("<path class=\"unsaved\"")), 2);
    // The label reaches the page as text, never as an element.
    QVERIFY(dom.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
    QVERIFY(!dom.contains(QStringLiteral("<script")));

    // Laid out by the browser: no text of a chart runs past its edge, and no
    // long unbroken text makes the page wider than the window.
    const QString measured = QDir::current().absoluteFilePath(QStringLiteral("page-measured.html"));
    {
        QFile file(measured);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(htmlPage(samplePage())
                           .replace(QStringLiteral("</body>"), QString::fromUtf8(R"(<script>
const bad = [];
for (const svg of document.querySelectorAll('svg.chart')) {
  const box = svg.viewBox.baseVal;
  for (const t of svg.querySelectorAll('text')) {
    const b = t.getBBox();
    if (b.x < box.x - 0.5 || b.x + b.width > box.x + box.width + 0.5)
      bad.push(svg.id + ': ' + t.textContent);
  }
}
if (document.documentElement.scrollWidth > document.documentElement.clientWidth)
  bad.push('page wider than the window');
document.body.dataset.layout = bad.length ? bad.join(' | ') : 'ok';
</script></body>)"))
                           .toUtf8());
    }
    const QString laidOut = QString::fromUtf8(chromium(
            { QStringLiteral("--dump-dom"), QStringLiteral("--window-size=800,1200") }, measured));
    QCOMPARE(QRegularExpression(QStringLiteral("data-layout=\"([^\"]*)\""))
                     .match(laidOut)
                     .captured(1),
             QStringLiteral("ok"));

    QFile::remove(picture);
    chromium({ QStringLiteral("--screenshot=") + picture, QStringLiteral("--window-size=1000,2400"),
               QStringLiteral("--hide-scrollbars") },
             page);
    QVERIFY(QFileInfo(picture).size() > 20000);
    qInfo("page and its screenshot: %s, %s", qPrintable(page), qPrintable(picture));
}

QTEST_GUILESS_MAIN(TestHtmlPage)
#include "tst_htmlpage.moc"
