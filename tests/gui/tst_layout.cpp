#include "gui/Application.h"
#include "gui/FormView.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"
#include "support/OpenWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextLayout>

#include <map>

using namespace kamorin;

namespace {

QString nameOf(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QRect pixels(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

QStringList names(const QString &spaced)
{
    return spaced.split(u' ');
}

// Anti-aliased text blends into its background; its core keeps the pure colour
// in every channel that is full or empty in the designed one.
bool inkOf(QColor pixel, QColor designed)
{
    const auto near
            = [](int channel, int wanted) { return wanted == 255 ? channel > 200 : channel < 90; };
    return near(pixel.red(), designed.red()) && near(pixel.green(), designed.green())
            && near(pixel.blue(), designed.blue());
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup();
    void controlsSitWhereDesigned_data();
    void controlsSitWhereDesigned();
    void windowHasAFixedClientArea();
    void clicksReachTheTopmostControl_data();
    void clicksReachTheTopmostControl();
    void tabVisitsTheFieldsInOrder_data();
    void tabVisitsTheFieldsInOrder();
    void controlsAskForTheirDesignedFont_data();
    void controlsAskForTheirDesignedFont();
    void chartShowsOnlyWhatTheCurtainUncovers_data();
    void chartShowsOnlyWhatTheCurtainUncovers();
    void fieldsDrawTheirTextInTheirColours_data();
    void fieldsDrawTheirTextInTheirColours();
    void displaySpeedCaptionWrapsOntoTwoLines();
    void comboBoxesKeepWhatWasTyped_data();
    void comboBoxesKeepWhatWasTyped();

private:
    FormView *view() const { return m_app->window->formView(); }
    QWidget *widget(const QString &name) const { return view()->widgetFor(name.toStdString()); }
    QString controlAt(QPoint point) const;
    QString focusedControl() const;

    std::unique_ptr<test::OpenWindow> m_app;
};

void TestLayout::init()
{
    m_app = std::make_unique<test::OpenWindow>();
    m_app->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_app->window.get()));
}

void TestLayout::cleanup()
{
    m_app.reset();
}

// A click lands on the form's control that owns the widget under the point,
// even when that widget is a combo box's line edit.
QString TestLayout::controlAt(QPoint point) const
{
    QWidget *hit = view()->childAt(point);
    while (hit && hit->parentWidget() != view())
        hit = hit->parentWidget();
    return hit ? hit->objectName() : QString();
}

QString TestLayout::focusedControl() const
{
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->parentWidget() != view())
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

void TestLayout::controlsSitWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    for (const ControlDesign &d : mainWindowDesign()) {
        if (d.plainValue)
            continue;
        const QString name = nameOf(d.name);
        // Form_Load empties both bars; the curtain keeps its full width.
        const bool emptyBar = name == u"Label14" || name == u"Label15";
        QTest::newRow(d.name.data())
                << name << pixels(d.left, d.top, emptyBar ? 0 : d.width, d.height);
    }
}

void TestLayout::controlsSitWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    QCOMPARE(widget(name)->geometry(), expected);
    QVERIFY(widget(name)->isVisible());
}

void TestLayout::windowHasAFixedClientArea()
{
    QCOMPARE(view()->size(), QSize(316, 385));
    QCOMPARE(m_app->window->minimumSize(), m_app->window->maximumSize());
    QVERIFY(!m_app->window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(m_app->window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

void TestLayout::clicksReachTheTopmostControl_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<float>("curtainWidth");
    // The first of these under a point takes the click there; under none, the bare window.
    QTest::addColumn<QStringList>("fromTop");

    const QRect hiddenCount = pixels(1410, 105, 2295, 345).united(pixels(1395, 105, 975, 330));
    const QRect chart = pixels(135, 4080, 4110, 870);
    QTest::newRow("Combo1 and Text1 lie under the count and unit")
            << hiddenCount << 4110.0f << names(QStringLiteral("Combo5 Combo4"));
    QTest::newRow("curtain over the chart")
            << chart << 4110.0f << names(QStringLiteral("Combo2 Label20 Label18"));
    QTest::newRow("chart uncovered")
            << chart << 0.0f
            << names(QStringLiteral("Combo2 Label20 Label19 Label8 Label17 Label16 Label13"));
    QTest::newRow("Text8 over the end of 秒")
            << pixels(3900, 2325, 375, 255) << 4110.0f << names(QStringLiteral("Text8 Label3"));
}

void TestLayout::clicksReachTheTopmostControl()
{
    QFETCH(QRect, area);
    QFETCH(float, curtainWidth);
    QFETCH(QStringList, fromTop);
    m_app->form.Label18.setWidth(curtainWidth);

    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2) {
            const QPoint point(x, y);
            QString expected;
            for (const QString &name : fromTop) {
                if (widget(name)->geometry().contains(point)) {
                    expected = name;
                    break;
                }
            }
            QVERIFY2(controlAt(point) == expected,
                     qPrintable(QStringLiteral("at (%1,%2): %3 instead of %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(controlAt(point), expected)));
        }
    }
}

void TestLayout::tabVisitsTheFieldsInOrder_data()
{
    QTest::addColumn<bool>("scoreEnabled");
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("start-up: SCORE and the machine list are disabled")
            << false
            << names(QStringLiteral("Text2 Command1 Text3 Command2 Text4 Command4 Text5 Text6 "
                                    "Text7 Combo2 Combo4 Combo5 Text8"));
    QTest::newRow("after a long run")
            << true
            << names(QStringLiteral("Text2 Command1 Text3 Command2 Text4 Command4 Text5 Text6 "
                                    "Text7 Command6 Combo2 Combo3 Combo4 Combo5 "
                                    "Text8"));
}

void TestLayout::tabVisitsTheFieldsInOrder()
{
    QFETCH(bool, scoreEnabled);
    QFETCH(QStringList, chain);
    m_app->form.Command6.setEnabled(scoreEnabled);
    m_app->form.Combo3.setEnabled(scoreEnabled);

    QCOMPARE(focusedControl(), QStringLiteral("Text2"));
    QStringList visited;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControl();
    }
    QCOMPARE(visited, chain.mid(1) << chain.first());

    QStringList back;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        back.prepend(focusedControl());
    }
    QCOMPARE(back, chain);
}

void TestLayout::controlsAskForTheirDesignedFont_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    for (const ControlDesign &d : mainWindowDesign()) {
        if (!d.plainValue)
            QTest::newRow(d.name.data()) << nameOf(d.name) << d.pointSize << d.bold;
    }
}

void TestLayout::controlsAskForTheirDesignedFont()
{
    QFETCH(QString, name);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    const QFont font = widget(name)->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
    if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic")))
        QSKIP("IPAPGothic is not installed");
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
}

void TestLayout::chartShowsOnlyWhatTheCurtainUncovers_data()
{
    QTest::addColumn<float>("curtainWidth");
    QTest::addColumn<float>("youWidth");
    QTest::addColumn<float>("referenceWidth");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("everywhere"); // or nowhere

    const QColor black(0, 0, 0);
    const QRect blackArea = pixels(795, 4080, 4095 - 795, 870);
    const QRect youBar = pixels(795, 4260, 2000, 135).adjusted(1, 1, -1, -1);
    const QRect referenceBar = pixels(780, 4590, 1500, 135).adjusted(1, 1, -1, -1);
    QTest::newRow("closed curtain hides the black area")
            << 4110.0f << 0.0f << 0.0f << blackArea << black << false;
    QTest::newRow("closed curtain hides the bars")
            << 4110.0f << 2000.0f << 1500.0f << blackArea << QColor(255, 128, 128) << false;
    QTest::newRow("open curtain shows the black area")
            << 0.0f << 0.0f << 0.0f << QRect(blackArea.center(), QSize(5, 5)) << black << true;
    QTest::newRow("You bar") << 0.0f << 2000.0f << 1500.0f << youBar << QColor(255, 128, 128)
                             << true;
    QTest::newRow("reference bar")
            << 0.0f << 2000.0f << 1500.0f << referenceBar << QColor(0, 255, 255) << true;
}

void TestLayout::chartShowsOnlyWhatTheCurtainUncovers()
{
    QFETCH(float, curtainWidth);
    QFETCH(float, youWidth);
    QFETCH(float, referenceWidth);
    QFETCH(QRect, area);
    QFETCH(QColor, colour);
    QFETCH(bool, everywhere);
    m_app->form.Label18.setWidth(curtainWidth);
    m_app->form.Label14.setWidth(youWidth);
    m_app->form.Label15.setWidth(referenceWidth);

    const QImage image = view()->grab().toImage();
    int matching = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            matching += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    QCOMPARE(matching, everywhere ? area.width() * area.height() : 0);
}

void TestLayout::fieldsDrawTheirTextInTheirColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("ink");

    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    QTest::newRow("Label6 true value") << QStringLiteral("Label6") << QString() << blue;
    QTest::newRow("Text2 computed value")
            << QStringLiteral("Text2") << QStringLiteral("3.14159260358982") << QColor(Qt::black);
    QTest::newRow("Text4 digits") << QStringLiteral("Text4") << QStringLiteral("14") << blue;
    QTest::newRow("Text6 hours") << QStringLiteral("Text6") << QStringLiteral("0") << red;
    QTest::newRow("Text5 minutes") << QStringLiteral("Text5") << QStringLiteral("0") << red;
    QTest::newRow("Text3 seconds") << QStringLiteral("Text3") << QStringLiteral("12") << red;
    QTest::newRow("Text8 hundredths") << QStringLiteral("Text8") << QStringLiteral("07") << red;
    QTest::newRow("Text7 score") << QStringLiteral("Text7") << QStringLiteral("1.000") << red;
}

// The commonest colour inside the field is its background; some of the rest
// must be the ink the design gives it.
void TestLayout::fieldsDrawTheirTextInTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QColor, ink);
    if (!text.isEmpty())
        static_cast<TextControl &>(m_app->form.control(name.toStdString())).setText(text);

    const QRect inside = widget(name)->geometry().adjusted(3, 3, -3, -3);
    const QImage image = view()->grab().toImage();
    std::map<QRgb, int> counts;
    bool inked = false;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ++counts[c.rgb()];
            inked = inked || inkOf(c, ink);
        }
    }
    const auto background = std::max_element(counts.begin(), counts.end(),
                                             [](auto a, auto b) { return a.second < b.second; });
    QCOMPARE(QColor(background->first), QColor(Qt::white));
    QVERIFY(inked);
}

void TestLayout::displaySpeedCaptionWrapsOntoTwoLines()
{
    auto *label = static_cast<QLabel *>(widget(QStringLiteral("Label12")));
    QVERIFY(label->wordWrap());

    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        lines << label->text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    QCOMPARE(lines, names(QStringLiteral("表示 速度")));

    // Both lines must be drawn, not only laid out: ink in the upper and the lower half.
    const QImage image = label->grab().toImage();
    int upper = 0;
    int lower = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (inkOf(image.pixelColor(x, y), Qt::black))
                ++(y < image.height() / 2 ? upper : lower);
        }
    }
    QVERIFY(upper > 0);
    QVERIFY(lower > 0);
}

void TestLayout::comboBoxesKeepWhatWasTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("listed");

    QTest::newRow("count also in the list")
            << QStringLiteral("Combo4") << QStringLiteral("10") << 12;
    QTest::newRow("count not in the list")
            << QStringLiteral("Combo4") << QStringLiteral("12345") << 12;
    QTest::newRow("unit that starts a listed one")
            << QStringLiteral("Combo5") << QStringLiteral("万") << 5;
    QTest::newRow("machine in lower case")
            << QStringLiteral("Combo3") << QStringLiteral("mmx-pentium166") << 262;
    QTest::newRow("speed") << QStringLiteral("Combo2") << QStringLiteral("7") << 6;
}

void TestLayout::comboBoxesKeepWhatWasTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(int, listed);
    auto &control = static_cast<ComboBox &>(m_app->form.control(name.toStdString()));
    control.setEnabled(true);
    auto *combo = static_cast<QComboBox *>(widget(name));

    combo->setFocus();
    combo->lineEdit()->selectAll();
    // QTest::keyClicks knows only ASCII; a key carrying its text types 万 as well.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(combo, Qt::Key_Return);

    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(control.text(), typed);
    QCOMPARE(combo->count(), listed);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
