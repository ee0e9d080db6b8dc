#include "gui/AboutDialog.h"

#include "about/frmAbout2.h"
#include "gui/DesignedLook.h"
#include "gui/Icon.h"
#include "gui/QtPlatform.h"
#include "gui/TextFit.h"
#include "gui/TitleBar.h"
#include "gui/Twips.h"
#include "runtime/EventDispatch.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kamorin {

namespace {

constexpr int kIconPixels = 32;

QLabel *makeLabel(const Label &label, QWidget *parent)
{
    const ControlDesign &design = label.design();
    auto *widget = new QLabel(parent);
    widget->setObjectName(label.name());
    widget->setFont(designedFont(design));
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(toAlignment(design.alignment) | Qt::AlignTop);
    if (design.foreground) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, toColor(*design.foreground));
        widget->setPalette(palette);
    }
    return widget;
}

QLabel *makePicture(const PictureBoxDesign &design, QWidget *parent)
{
    auto *widget = new QLabel(parent);
    widget->setObjectName(
            QString::fromLatin1(design.name.data(), static_cast<qsizetype>(design.name.size())));
    widget->setGeometry(designedRect(design.left, design.top, design.width, design.height));
    // The sunken frame of a picture box; 36 pixels less the frame leave the icon's 32.
    widget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    widget->setLineWidth(2);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setPixmap(programIcon().pixmap(kIconPixels, kIconPixels));
    // Nothing to do with the icon, so the Tab key does not stop on it.
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setAccessibleName(QStringLiteral("Kamorin のアイコン"));
    return widget;
}

// A title and a close box only. Qt drops the frameless hint beside a button
// hint, and the title bar drawn on Wayland has the button.
Qt::WindowFlags dialogBorder()
{
    if (TitleBar::wanted())
        return Qt::Dialog | Qt::FramelessWindowHint;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
}

} // namespace

AboutDialog::AboutDialog(frmAbout2 &form, QtPlatform &platform, const QWidget *mainWindow)
    : QDialog(nullptr, dialogBorder()), m_form(form), m_platform(platform),
      m_client(TitleBar::wanted() ? new QWidget(this) : this),
      m_ok(new QPushButton(form.cmdOK.caption(), m_client)),
      m_title(makeLabel(form.lblTitle, m_client)), m_version(makeLabel(form.lblVersion, m_client))
{
    setWindowTitle(m_form.caption());
    m_client->setFixedSize(twipsToPixels(kAboutClientWidthTwips),
                           twipsToPixels(kAboutClientHeightTwips));
    if (m_client != this) {
        auto *column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        column->addWidget(new TitleBar(this, TitleBar::Close));
        column->addWidget(m_client);
        setFixedSize(sizeHint());
    }
    // Over the window it was opened from, where the user is looking; the
    // design position is relative to a screen corner of another age.
    if (mainWindow)
        move(mainWindow->frameGeometry().center() - rect().center());
    else
        move(twipsToPixels(kAboutLeftTwips), twipsToPixels(kAboutTopTwips));

    makePicture(m_form.picIcon, m_client);

    const ControlDesign &ok = m_form.cmdOK.design();
    m_ok->setObjectName(m_form.cmdOK.name());
    m_ok->setFont(designedFont(ok));
    m_ok->setGeometry(designedRect(ok.left, ok.top, ok.width, ok.height));
    m_ok->setDefault(true);
    m_ok->setEnabled(m_form.cmdOK.enabled());
    connect(m_ok, &QPushButton::clicked, this,
            [this] { dispatch(m_platform, [this] { cmdOK_Click(m_form, m_platform); }); });

    showCaption(m_form.lblTitle, m_title);
    showCaption(m_form.lblVersion, m_version);

    m_ok->setFocus();

    m_form.observers.add(this);
    m_form.captionChanged = [this] { setWindowTitle(m_form.caption()); };
}

AboutDialog::~AboutDialog()
{
    stopWatching();
}

// Esc presses the cancel button, which is cmdOK.
void AboutDialog::reject()
{
    m_ok->click();
}

// However the dialog closes, the form is unloaded; the close box runs no handler.
void AboutDialog::closeEvent(QCloseEvent *event)
{
    stopWatching();
    event->accept();
    m_platform.windowClosed(m_form);
}

void AboutDialog::stopWatching()
{
    if (!m_watching)
        return;
    m_watching = false;
    m_form.observers.remove(this);
    m_form.captionChanged = nullptr;
}

void AboutDialog::showCaption(const Label &label, QLabel *widget)
{
    const ControlDesign &design = label.design();
    widget->setGeometry(twipsToPixels(label.left()), twipsToPixels(design.top),
                        twipsToPixels(label.width()), twipsToPixels(design.height));
    widget->setEnabled(label.enabled());
    widget->setText(label.caption());
    fitText(widget, designedFont(design));
    // Orca reads a dialog's loose labels only when they hold three words or
    // more, which Japanese without spaces never does; it reads the dialog's
    // description as the dialog opens.
    setAccessibleDescription(m_form.lblTitle.caption() + u' ' + m_form.lblVersion.caption());
}

// Every assignment redraws the whole control: there are only a few of them.
void AboutDialog::propertyChanged(const Control &control, Property)
{
    if (&control == &m_form.cmdOK) {
        m_ok->setText(m_form.cmdOK.caption());
        m_ok->setEnabled(m_form.cmdOK.enabled());
    } else if (&control == &m_form.lblTitle) {
        showCaption(m_form.lblTitle, m_title);
    } else if (&control == &m_form.lblVersion) {
        showCaption(m_form.lblVersion, m_version);
    }
}

} // namespace kamorin
