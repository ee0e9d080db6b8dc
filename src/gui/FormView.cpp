#include "gui/FormView.h"

#include "gui/Accessibility.h"
#include "gui/ComboField.h"
#include "gui/DesignedLook.h"
#include "gui/ProgressButton.h"
#include "gui/RunProgressText.h"
#include "gui/TextFit.h"
#include "gui/Twips.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "report/Command2_Click.h"
#include "report/Command4_Click.h"
#include "runtime/EventDispatch.h"
#include "scoring/Command6_Click.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace kamorin {

namespace {

// Both colours or neither: a theme's text on a designed face, or designed
// text on a theme's face, can be unreadable (white on SCORE's light grey).
void applyColours(QWidget *widget, const ControlDesign &design, QPalette::ColorRole text,
                  QPalette::ColorRole background)
{
    const std::optional<ColourPair> colours = designedColours(design);
    if (!colours)
        return;
    QPalette palette = widget->palette();
    palette.setColor(text, toColor(colours->text));
    palette.setColor(background, toColor(colours->background));
    // The standard scheme's grey text, for a control switched off.
    palette.setColor(QPalette::Disabled, text, QColor(128, 128, 128));
    widget->setPalette(palette);
}

QString fromDesign(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

// A label that shows a value says what the value is, then the value, on one
// line: 真値 3.14159265358979.
QString spokenLabel(const Label &label)
{
    const QString name = fromDesign(label.design().spokenName);
    const QString value = label.caption().trimmed();
    if (name.isEmpty() || value.isEmpty())
        return name;
    return name + u' ' + value;
}

// A caption's CR LF is a line break, as the original forms drew it.
QString displayed(const QString &caption)
{
    QString text = caption;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel *makeLabel(const Label &label, QWidget *parent)
{
    const ControlDesign &design = label.design();
    const bool bar = label.name() == u"Label14" || label.name() == u"Label15";
    QLabel *widget = bar ? new BarLabel(parent) : new QLabel(parent);
    widget->setText(displayed(label.caption()));
    // Labels are opaque unless designed otherwise: the curtain hides what lies beneath it.
    widget->setAutoFillBackground(!design.transparent);
    widget->setAlignment(toAlignment(design.alignment) | Qt::AlignTop);
    widget->setWordWrap(design.wordWrap);
    widget->setTextFormat(Qt::PlainText);
    // A framed QLabel indents its text by half an "x" unless told otherwise.
    widget->setIndent(0);
    if (design.border == Border::FixedSingle) {
        widget->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
        widget->setLineWidth(1);
    }
    applyColours(widget, design, QPalette::WindowText, QPalette::Window);
    return widget;
}

QLineEdit *makeTextBox(const TextBox &box, QWidget *parent)
{
    auto *widget = new QLineEdit(box.text(), parent);
    widget->setAlignment(toAlignment(box.design().alignment) | Qt::AlignVCenter);
    applyColours(widget, box.design(), QPalette::Text, QPalette::Base);
    return widget;
}

QComboBox *makeComboBox(const ComboBox &box, QWidget *parent)
{
    auto *widget = new ComboField(parent);
    widget->setEditable(true);
    // What the user typed stays exactly as typed: Enter adds nothing to the
    // list, and no completer rewrites the text.
    widget->setInsertPolicy(QComboBox::NoInsert);
    widget->setCompleter(nullptr);
    widget->addItems(box.list());
    widget->setMaxVisibleItems(20);
    widget->setEditText(box.text());
    applyColours(widget, box.design(), QPalette::Text, QPalette::Base);
    return widget;
}

QPushButton *makeButton(const CommandButton &button, QWidget *parent)
{
    auto *widget = new ProgressButton(button.caption(), parent);
    widget->setAutoDefault(false);
    applyColours(widget, button.design(), QPalette::ButtonText, QPalette::Button);
    return widget;
}

// SCORE is greyed out until a run takes a second, which a small count never
// does; the tooltip says so instead of leaving the user guessing, a sentence
// a line, so it stays about as wide as the window.
void explainIfDisabled(const Control &control, QWidget *widget)
{
    if (control.design().name == "Command6")
        widget->setToolTip(control.enabled()
                                   ? QString()
                                   : QStringLiteral("SCORE には 1 秒以上かかった計算結果が"
                                                    "必要です。\nループ回数を増やして実行して"
                                                    "ください。"));
}

void nameForScreenReaders(const Control &control, QWidget *widget)
{
    if (const auto *label = dynamic_cast<const Label *>(&control)) {
        if (!label->design().spokenName.empty())
            widget->setAccessibleName(spokenLabel(*label));
        return;
    }
    const QString name = fromDesign(control.design().spokenName);
    if (name.isEmpty())
        return;
    widget->setAccessibleName(name);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->lineEdit()->setAccessibleName(name);
}

const QString kStopHint = QStringLiteral("Esc キーで計算を中止します。");

// What a screen reader hears when a run has ended: the value and the time as
// the fields show them.
QString runResultWords(const Form1 &form)
{
    return QStringLiteral("計算値 %1　計算時間 %2時間%3分%4.%5秒")
            .arg(form.Text2.text(), form.Text6.text(), form.Text5.text(), form.Text3.text(),
                 form.Text8.text());
}

} // namespace

FormView::FormView(Form1 &form, Platform &platform, QWidget *parent)
    : QWidget(parent), m_form(form), m_platform(platform)
{
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    for (Control *control : m_form.controls()) {
        const ControlDesign &design = control->design();
        if (design.plainValue)
            continue;
        QWidget *widget = createWidget(*control);
        widget->setObjectName(control->name());
        widget->setFont(designedFont(design));
        widget->setGeometry(designedRect(design.left, design.top, design.width, design.height));
        widget->setEnabled(control->enabled());
        explainIfDisabled(*control, widget);
        nameForScreenReaders(*control, widget);
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            edit->installEventFilter(this);
            fitText(edit, widget->font());
            connect(edit, &QLineEdit::textChanged, edit,
                    [edit, font = widget->font()] { fitText(edit, font); });
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            fitText(label, widget->font());
        }
        m_widgets.emplace(control, widget);
        connectEdits(*control, widget);
        if (const auto *label = dynamic_cast<const Label *>(control))
            placeLabel(*label, static_cast<QLabel *>(widget));
    }
    m_notice = new SpokenNotice(this);
    stackAndOrder();
    connectClicks();
    m_form.observers.add(this);
}

FormView::~FormView()
{
    m_form.observers.remove(this);
}

QWidget *FormView::widgetFor(std::string_view controlName) const
{
    const auto it = m_widgets.find(&m_form.control(controlName));
    return it == m_widgets.end() ? nullptr : it->second;
}

QWidget *FormView::createWidget(Control &control)
{
    switch (control.design().kind) {
    case ControlKind::Label:
        return makeLabel(static_cast<Label &>(control), this);
    case ControlKind::TextBox:
        return makeTextBox(static_cast<TextBox &>(control), this);
    case ControlKind::ComboBox:
        return makeComboBox(static_cast<ComboBox &>(control), this);
    case ControlKind::CommandButton:
        break;
    }
    return makeButton(static_cast<CommandButton &>(control), this);
}

// What the user types goes straight into the model, the one place each value lives.
void FormView::connectEdits(Control &control, QWidget *widget)
{
    auto *textControl = dynamic_cast<TextControl *>(&control);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        connect(edit, &QLineEdit::textEdited, this,
                [textControl](const QString &text) { textControl->setText(text); });
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        connect(combo, &QComboBox::editTextChanged, this, [textControl](const QString &text) {
            if (textControl->text() != text)
                textControl->setText(text);
        });
}

void FormView::connectClicks()
{
    // What each press has done is said to a screen reader once it has ended,
    // where the window shows it without moving the focus.
    // COPY selects each field it reads and CLEAR empties them: the press's
    // notice says what was done, not every field's selection.
    const auto onClick = [this](CommandButton &button, auto handler, auto done,
                                bool selectionsUntold = false) {
        connect(static_cast<QPushButton *>(m_widgets.at(&button)), &QPushButton::clicked, this,
                [this, handler, done, selectionsUntold] {
                    std::optional<CaretMovesUntold> untold;
                    if (selectionsUntold)
                        untold.emplace();
                    if (dispatchPress(m_platform, m_form, [&] { handler(m_form, m_platform); }))
                        m_notice->say(done(m_form));
                });
    };
    onClick(m_form.Command1, Command1_Click, runResultWords);
    onClick(m_form.Command6, Command6_Click,
            [](const Form1 &form) { return QStringLiteral("SCORE ") + form.Text7.text(); });
    onClick(
            m_form.Command4, Command4_Click,
            [](const Form1 &) { return QStringLiteral("結果をクリップボードにコピーしました。"); },
            true);
    onClick(
            m_form.Command2, [](Form1 &form, Platform &) { Command2_Click(form); },
            [](const Form1 &) { return QStringLiteral("結果を消去しました。"); }, true);
}

// A field selects its text as the Tab key brings the focus, and Qt tells
// that before the focus: Orca 43 would then move to the field silently.
bool FormView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return QWidget::eventFilter(watched, event);
    const CaretMovesUntold untold;
    static_cast<QObject *>(watched)->event(event);
    return true;
}

void FormView::stackAndOrder()
{
    const auto stacking = mainWindowStackingFromTop();
    for (auto name = stacking.rbegin(); name != stacking.rend(); ++name) {
        if (QWidget *widget = widgetFor(*name))
            widget->raise();
    }

    std::vector<Control *> byTabIndex = m_form.controls();
    std::erase_if(byTabIndex, [](const Control *c) {
        return c->design().kind == ControlKind::Label || c->design().plainValue;
    });
    std::sort(byTabIndex.begin(), byTabIndex.end(), [](const Control *a, const Control *b) {
        return a->design().tabIndex < b->design().tabIndex;
    });
    for (std::size_t i = 1; i < byTabIndex.size(); ++i)
        setTabOrder(m_widgets.at(byTabIndex[i - 1]), m_widgets.at(byTabIndex[i]));
}

ProgressButton *FormView::runButton() const
{
    return static_cast<ProgressButton *>(m_widgets.at(&m_form.Command1));
}

void FormView::runStarted()
{
    // The window takes no input until the run ends.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Said before the progress appears, which a screen reader reads at once.
    m_notice->say(QStringLiteral("計算中　") + kStopHint);
    runProgressed(0, 0);
}

void FormView::runProgressed(double fraction, double elapsedSeconds)
{
    ProgressButton *button = runButton();
    const QString progress = runProgressText(fraction, elapsedSeconds);
    button->setFill(fraction, progress);
    m_launcherEntry.showProgress(fraction);
    const QString text = progress + u'\n' + kStopHint;
    button->setToolTip(text);
    // A tooltip already open keeps what it said; this one follows the run.
    if (QToolTip::isVisible() && button->underMouse())
        QToolTip::showText(QCursor::pos(), text, button);
}

void FormView::runEnded(bool stopped)
{
    if (stopped)
        m_notice->say(QStringLiteral("計算を中止しました。"));
    ProgressButton *button = runButton();
    button->setFill(std::nullopt);
    m_launcherEntry.showProgress(std::nullopt);
    button->setToolTip(QString());
    if (QToolTip::isVisible() && button->underMouse())
        QToolTip::hideText();
    QApplication::restoreOverrideCursor();
}

// Each bar's time is shown beside it; a screen reader hears it with the bar.
void FormView::tellBarItsTime(const Label &time)
{
    const Label *bar = &time == &m_form.Label20 ? &m_form.Label14
            : &time == &m_form.Label19          ? &m_form.Label15
                                                : nullptr;
    if (!bar)
        return;
    const QString caption = time.caption().trimmed();
    static_cast<BarLabel *>(m_widgets.at(bar))
            ->setTime(caption.isEmpty() ? caption : caption + u'秒');
}

void FormView::placeLabel(const Label &label, QLabel *widget)
{
    const QRect before = widget->geometry();
    widget->setGeometry(twipsToPixels(label.left()), before.y(), twipsToPixels(label.width()),
                        before.height());
    if (isVisible())
        repaint(before.united(widget->geometry()));
}

void FormView::propertyChanged(const Control &control, Property property)
{
    const auto it = m_widgets.find(&control);
    if (it == m_widgets.end())
        return;
    QWidget *widget = it->second;
    switch (property) {
    case Property::Text:
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            const QString &text = static_cast<const TextControl &>(control).text();
            if (edit->text() != text)
                edit->setText(text);
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            const QString &text = static_cast<const TextControl &>(control).text();
            if (combo->currentText() != text)
                combo->setEditText(text);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            label->setText(displayed(static_cast<const Label &>(control).caption()));
            fitText(label, designedFont(control.design()));
            nameForScreenReaders(control, widget);
            tellBarItsTime(static_cast<const Label &>(control));
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            button->setText(static_cast<const CommandButton &>(control).caption());
        }
        break;
    case Property::Width:
    case Property::Left:
        placeLabel(static_cast<const Label &>(control), static_cast<QLabel *>(widget));
        return;
    case Property::Enabled:
        widget->setEnabled(control.enabled());
        explainIfDisabled(control, widget);
        break;
    case Property::Selection: {
        const auto &box = static_cast<const TextBox &>(control);
        static_cast<QLineEdit *>(widget)->setSelection(box.selStart(), box.selLength());
        break;
    }
    }
    if (widget->isVisible())
        widget->repaint();
}

} // namespace kamorin
