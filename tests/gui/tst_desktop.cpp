// What a desktop user meets beyond the mouse: the keyboard does what a click
// does, and every text stays readable in a light and a dark theme.

#include "gui/Application.h"
#include "gui/FormView.h"
#include "gui/MainWindow.h"
#include "mainwindow/Form1.h"
#include "support/OpenWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <cmath>

using namespace kamorin;
using namespace Qt::StringLiterals;

namespace {

double luminance(QColor colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
            + 0.0722 * linear(colour.blueF());
}

// The WCAG contrast ratio, 1 … 21.
double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette()
{
    QPalette dark;
    const QColor face(53, 53, 53);
    dark.setColor(QPalette::Window, face);
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::AlternateBase, face);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, face);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void arrowKeysStartFromTheShownItem_data();
    void arrowKeysStartFromTheShownItem();
    void f10OpensTheMenuAndTheFocusIsShownAfterIt();
    void altEntersTheMenuBar();
    void hiddenCountHoldersAreNoWidgets();
    void textsStayReadableInEveryTheme_data();
    void textsStayReadableInEveryTheme();

private:
    QWidget *widget(const QString &name) const
    {
        return m_app->window->formView()->widgetFor(name.toStdString());
    }

    std::unique_ptr<test::OpenWindow> m_app;
};

void TestDesktop::init()
{
    m_app = std::make_unique<test::OpenWindow>();
    m_app->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_app->window.get()));
}

void TestDesktop::cleanup()
{
    m_app.reset();
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void TestDesktop::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return on CLEAR") << u"Command2"_s << int(Qt::Key_Return) << 0;
    QTest::newRow("keypad Enter on COPY")
            << u"Command4"_s << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Space on COPY") << u"Command4"_s << int(Qt::Key_Space) << 0;
}

void TestDesktop::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto *pushButton = static_cast<QPushButton *>(widget(button));
    pushButton->setFocus(Qt::TabFocusReason);
    QSignalSpy clicked(pushButton, &QPushButton::clicked);

    QTest::keyClick(pushButton, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(clicked.size(), 1);
}

void TestDesktop::arrowKeysStartFromTheShownItem_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("then");
    QTest::newRow("Down from 万回") << u"Combo5"_s << u"万回"_s << int(Qt::Key_Down) << u"億回"_s;
    QTest::newRow("Up from 万回") << u"Combo5"_s << u"万回"_s << int(Qt::Key_Up) << u"千回"_s;
    QTest::newRow("Down from 9000, then the last 5000")
            << u"Combo4"_s << u"9000"_s << int(Qt::Key_Down) << u"5000"_s;
    QTest::newRow("Down from a typed count starts at the top")
            << u"Combo4"_s << u"25"_s << int(Qt::Key_Down) << u"1"_s;
    QTest::newRow("Up from a typed unit too")
            << u"Combo5"_s << u"abc"_s << int(Qt::Key_Up) << u"回"_s;
}

// The model sets the text, as the user's typing does, without choosing an item.
void TestDesktop::arrowKeysStartFromTheShownItem()
{
    QFETCH(QString, combo);
    QFETCH(QString, shown);
    QFETCH(int, key);
    auto &box = static_cast<ComboBox &>(m_app->form.control(combo.toStdString()));
    box.setText(shown);
    auto *comboBox = static_cast<QComboBox *>(widget(combo));
    comboBox->setFocus();

    QTest::keyClick(comboBox, Qt::Key(key));

    QTEST(box.text(), "then");
    QTEST(comboBox->currentText(), "then");
}

void TestDesktop::f10OpensTheMenuAndTheFocusIsShownAfterIt()
{
    QWidget *copy = widget(u"Command4"_s);
    copy->setFocus(Qt::MouseFocusReason);
    m_app->window->setAttribute(Qt::WA_KeyboardFocusChange, false);

    QTest::keyClick(m_app->window.get(), Qt::Key_F10);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), u"ファイル"_s);
    // The first Escape closes the menu and leaves the menu bar lit, as on
    // the desktops where Alt enters it; the second leaves the menu bar.
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QApplication::focusWidget(), m_app->window->menuBar());
    QTest::keyClick(m_app->window->menuBar(), Qt::Key_Escape);

    QCOMPARE(QApplication::focusWidget(), copy);
    QTRY_VERIFY(m_app->window->testAttribute(Qt::WA_KeyboardFocusChange));
}

void TestDesktop::altEntersTheMenuBar()
{
    QWidget *copy = widget(u"Command4"_s);
    copy->setFocus(Qt::TabFocusReason);

    QTest::keyClick(copy, Qt::Key_Alt, Qt::AltModifier);

    QMenuBar *menuBar = m_app->window->menuBar();
    QCOMPARE(QApplication::focusWidget(), menuBar);
    QVERIFY(menuBar->activeAction());
    QCOMPARE(menuBar->activeAction()->text(), u"ファイル"_s);
    // The item is lit, as while its menu is open.
    const QRect item = menuBar->actionGeometry(menuBar->activeAction());
    const QImage bar = menuBar->grab(item).toImage();
    const QRgb highlight = menuBar->palette().color(QPalette::Highlight).rgb();
    int lit = 0;
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            lit += bar.pixel(x, y) == highlight;
    QVERIFY2(lit > item.width() * item.height() / 3, qPrintable(QString::number(lit)));
    QTest::keyClick(menuBar, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), copy);
}

// They lie wholly beneath the count and its unit: a Tab, a click or a screen
// reader that reached them would meet a field nobody can see.
void TestDesktop::hiddenCountHoldersAreNoWidgets()
{
    QVERIFY(!widget(u"Combo1"_s));
    QVERIFY(!widget(u"Text1"_s));
    QCOMPARE(m_app->form.Combo1.text(), u"20000000"_s);
}

void TestDesktop::textsStayReadableInEveryTheme_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("name");
    for (const bool dark : { false, true }) {
        for (const ControlDesign &d : mainWindowDesign()) {
            const QString name = QString::fromLatin1(d.name.data(), qsizetype(d.name.size()));
            // The chart's frame, bars, panel and curtain carry no text.
            if (d.plainValue
                || QStringList { u"Label13"_s, u"Label14"_s, u"Label15"_s, u"Label8"_s,
                                 u"Label18"_s }
                           .contains(name))
                continue;
            QTest::addRow("%s %s", dark ? "dark" : "light", d.name.data()) << dark << name;
        }
    }
}

// At least the contrast of the design's own red on white, in either theme,
// and after the theme changes under an open window.
void TestDesktop::textsStayReadableInEveryTheme()
{
    QFETCH(bool, dark);
    QFETCH(QString, name);
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    QCoreApplication::processEvents();
    QWidget *w = widget(name);
    // As it reads when switched on; a control switched off is greyed on purpose.
    QPalette palette = w->palette();
    palette.setCurrentColorGroup(QPalette::Active);
    const ControlDesign &design = m_app->form.control(name.toStdString()).design();

    QColor text;
    QColor background;
    if (qobject_cast<QPushButton *>(w)) {
        text = palette.color(QPalette::ButtonText);
        background = palette.color(QPalette::Button);
    } else if (qobject_cast<QLabel *>(w)) {
        text = palette.color(QPalette::WindowText);
        // A label that paints only its text shows the black panel beneath it.
        background = design.transparent ? QColor(Qt::black) : palette.color(QPalette::Window);
    } else {
        text = palette.color(QPalette::Text);
        background = palette.color(QPalette::Base);
    }

    const double least = contrast(Qt::red, Qt::white);
    QVERIFY2(contrast(text, background) >= least,
             qPrintable(u"%1 on %2: %3"_s.arg(text.name(), background.name())
                                .arg(contrast(text, background))));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
