#pragma once

#include "gui/LauncherEntry.h"
#include "gui/RunWatcher.h"
#include "mainwindow/Controls.h"

#include <QWidget>

#include <unordered_map>

class QLabel;

namespace kamorin {

class ProgressButton;
class SpokenNotice;

class Form1;
class Platform;

// The main window's client area: one Qt widget for each control of the form,
// placed, stacked and styled from its design, and kept in step with the model.
// Every assignment is applied and painted at once, since a handler does not
// return to the event loop before it ends: the animations are seen, and the
// display speed really sets how long each stage is held. While the series
// loop runs, the run button fills as a progress bar, and the task bar shows
// the same progress.
class FormView : public QWidget, private ControlObserver, public RunWatcher
{
    Q_OBJECT

public:
    FormView(Form1 &form, Platform &platform, QWidget *parent = nullptr);
    ~FormView() override;

    // None for a control the window holds only as a value (Combo1, Text1).
    QWidget *widgetFor(std::string_view controlName) const;

    void runStarted() override;
    void runProgressed(double fraction, double elapsedSeconds) override;
    void runEnded(bool stopped) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ProgressButton *runButton() const;
    void propertyChanged(const Control &control, Property property) override;
    QWidget *createWidget(Control &control);
    void connectEdits(Control &control, QWidget *widget);
    void connectClicks();
    void stackAndOrder();
    void placeLabel(const Label &label, QLabel *widget);
    void tellBarItsTime(const Label &time);

    Form1 &m_form;
    Platform &m_platform;
    std::unordered_map<const Control *, QWidget *> m_widgets;
    LauncherEntry m_launcherEntry;
    SpokenNotice *m_notice = nullptr;
};

} // namespace kamorin
