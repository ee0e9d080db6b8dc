#include "gui/Application.h"
#include "gui/FormView.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"
#include "support/OpenWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kamorin;

class TestFormView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup();
    void clientAreaHasItsDesignedSize();
    void runFillsTheResultFields();
    void runtimeErrorIsShownAndTheWindowGoesOn();
    void typedTextStaysAsTyped();
    void widthAssignmentsMoveTheLabel();
    void exitClosesTheWindow();

private:
    QWidget *widget(const char *name) const { return m_app->window->formView()->widgetFor(name); }

    std::unique_ptr<test::OpenWindow> m_app;
};

void TestFormView::init()
{
    m_app = std::make_unique<test::OpenWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->window.get()));
}

void TestFormView::cleanup()
{
    m_app.reset();
}

void TestFormView::clientAreaHasItsDesignedSize()
{
    QCOMPARE(m_app->window->formView()->size(), QSize(316, 385));
    QCOMPARE(widget("Text2")->geometry(), QRect(91, 39, 153, 25));
    QCOMPARE(m_app->window->windowTitle(), QStringLiteral("Kamorin"));
    QVERIFY(!m_app->window->windowIcon().isNull());
}

void TestFormView::runFillsTheResultFields()
{
    m_app->form.Combo4.setText(QStringLiteral("100"));
    m_app->form.Combo5.setText(QStringLiteral("回"));
    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QCOMPARE(static_cast<QLineEdit *>(widget("Text2"))->text(), QStringLiteral("3.13159290355855"));
    QCOMPARE(static_cast<QLineEdit *>(widget("Text4"))->text(), QStringLiteral("1"));
    QCOMPARE(static_cast<QPushButton *>(widget("Command1"))->text(), QStringLiteral("実行"));
    QVERIFY(!widget("Command6")->isEnabled());
}

void TestFormView::runtimeErrorIsShownAndTheWindowGoesOn()
{
    auto *count = static_cast<QComboBox *>(widget("Combo4"));
    count->setEditText(QStringLiteral("abc"));
    QCOMPARE(m_app->form.Combo4.text(), QStringLiteral("abc"));

    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->windowTitle() + u'|' + box->text();
        box->accept();
    });
    QTest::mouseClick(widget("Command1"), Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("Kamorin|実行時エラー '13': 型が一致しません。"));
    QVERIFY(m_app->window->isVisible());

    count->setEditText(QStringLiteral("1"));
    m_app->form.Combo5.setText(QStringLiteral("回"));
    QTest::mouseClick(widget("Command1"), Qt::LeftButton);
    QCOMPARE(m_app->form.Text2.text(), QStringLiteral("4"));
}

void TestFormView::typedTextStaysAsTyped()
{
    auto *count = static_cast<QComboBox *>(widget("Combo4"));
    count->setFocus();
    count->lineEdit()->selectAll();
    QTest::keyClicks(count, QStringLiteral("10"));
    QTest::keyClick(count, Qt::Key_Return);
    QCOMPARE(count->count(), 12);
    QCOMPARE(count->currentText(), QStringLiteral("10"));
    QCOMPARE(m_app->form.Combo4.text(), QStringLiteral("10"));

    auto *machine = static_cast<QComboBox *>(widget("Combo3"));
    machine->setEnabled(true);
    machine->setFocus();
    machine->lineEdit()->selectAll();
    QTest::keyClicks(machine, QStringLiteral("mmx-pentium166"));
    QTest::keyClick(machine, Qt::Key_Return);
    QCOMPARE(m_app->form.Combo3.text(), QStringLiteral("mmx-pentium166"));
    QCOMPARE(machine->count(), 262);
}

void TestFormView::widthAssignmentsMoveTheLabel()
{
    m_app->form.Label18.setWidth(1644);
    QCOMPARE(widget("Label18")->width(), 110);
    m_app->form.Label18.setWidth(0);
    QCOMPARE(widget("Label18")->width(), 0);
    m_app->form.Label19.setLeft(3000);
    QCOMPARE(widget("Label19")->x(), 200);
}

void TestFormView::exitClosesTheWindow()
{
    exit_Click(m_app->form, m_app->platform);
    QVERIFY(!m_app->window->isVisible());
}

QTEST_MAIN(TestFormView)
#include "tst_formview.moc"
