#pragma once

#include "mainwindow/Controls.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace kamorin {

class frmAbout2;
class QtPlatform;

// frmAbout2's window: a top-level dialog of its own, without a parent, so that
// closing the main window leaves it working; modeless, fixed in size, with a
// close box but no minimize or maximize button. cmdOK is both its default
// button (Enter) and its cancel button (Esc), wherever the focus is. It stays
// usable while the main window waits for a run.
class AboutDialog : public QDialog, private ControlObserver
{
    Q_OBJECT

public:
    // Opens centred over `mainWindow`, which it does not belong to.
    AboutDialog(frmAbout2 &form, QtPlatform &platform, const QWidget *mainWindow);
    ~AboutDialog() override;

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void propertyChanged(const Control &control, Property property) override;
    void showCaption(const Label &label, QLabel *widget);
    void stopWatching();

    frmAbout2 &m_form;
    QtPlatform &m_platform;
    bool m_watching = true;
    // The designed client area: the dialog itself, or on Wayland what lies
    // below the dialog's own title bar.
    QWidget *m_client;
    QPushButton *m_ok;
    QLabel *m_title;
    QLabel *m_version;
};

} // namespace kamorin
