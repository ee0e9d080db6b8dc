#pragma once

#include "mainwindow/Controls.h"

#include <QWidget>

#include <unordered_map>

class QLabel;

namespace kamorin {

class Form1;
class Platform;

// The main window's client area: one Qt widget for each control of the form,
// placed, stacked and styled from its design, and kept in step with the model.
// A handler runs to its end without returning to the event loop, so every
// assignment is applied and painted at once: the animations are seen, and the
// display speed really sets how long each stage is held.
class FormView : public QWidget, private ControlObserver
{
    Q_OBJECT

public:
    FormView(Form1 &form, Platform &platform, QWidget *parent = nullptr);
    ~FormView() override;

    QWidget *widgetFor(std::string_view controlName) const;

private:
    void propertyChanged(const Control &control, Property property) override;
    QWidget *createWidget(Control &control);
    void connectEdits(Control &control, QWidget *widget);
    void connectClicks();
    void stackAndOrder();
    void placeLabel(const Label &label, QLabel *widget);

    Form1 &m_form;
    Platform &m_platform;
    std::unordered_map<const Control *, QWidget *> m_widgets;
};

} // namespace kamorin
