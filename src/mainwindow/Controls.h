#pragma once

#include "mainwindow/ControlDesign.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kamorin {

class Control;

enum class Property
{
    Text, // Text of text and combo boxes, Caption of labels and buttons
    Width,
    Left,
    Enabled,
    Selection, // SelStart and SelLength of a text box
};

// Told of every property assignment, including one that assigns the value a
// property already had: the animations are made of such repeated assignments.
class ControlObserver
{
public:
    virtual ~ControlObserver() = default;
    virtual void propertyChanged(const Control &control, Property property) = 0;
};

class ControlObservers
{
public:
    void add(ControlObserver *observer);
    void remove(ControlObserver *observer);
    void notify(const Control &control, Property property) const;

private:
    std::vector<ControlObserver *> m_observers;
};

// A control of a form: the state that the handlers read and write. Its fixed
// look (place, font, colours) is its design.
class Control
{
public:
    Control(const ControlObservers &observers, const ControlDesign &design);
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;
    virtual ~Control() = default;

    const ControlDesign &design() const { return m_design; }
    QString name() const;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

protected:
    void changed(Property property) const { m_observers.notify(*this, property); }

private:
    const ControlObservers &m_observers;
    const ControlDesign &m_design;
    bool m_enabled = true;
};

// Text boxes and combo boxes: an editable text the user may change at any time.
class TextControl : public Control
{
public:
    TextControl(const ControlObservers &observers, const ControlDesign &design);

    const QString &text() const { return m_text; }
    virtual void setText(const QString &text);

private:
    QString m_text;
};

// A text box also has a selection, counted in UTF-16 code units as the text
// is, whose ends never split a surrogate pair: an end that would falls after
// the pair. Setting its text puts the selection back to the start.
class TextBox : public TextControl
{
public:
    using TextControl::TextControl;

    void setText(const QString &text) override;

    int selStart() const { return m_selStart; }
    // Beyond the end of the text means at its end; negative is an invalid value.
    void setSelStart(int start);
    int selLength() const { return m_selLength; }
    // A length past the end of the text selects up to the end.
    void setSelLength(int length);
    QString selText() const { return text().mid(m_selStart, m_selLength); }

private:
    int m_selStart = 0;
    int m_selLength = 0;
};

class ComboBox : public TextControl
{
public:
    ComboBox(const ControlObservers &observers, const ControlDesign &design, QStringList list = {});

    const QStringList &list() const { return m_list; }

private:
    QStringList m_list;
};

class CommandButton : public Control
{
public:
    CommandButton(const ControlObservers &observers, const ControlDesign &design);

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

private:
    QString m_caption;
};

// A label's width and left edge are single-precision twips at run time.
class Label : public Control
{
public:
    Label(const ControlObservers &observers, const ControlDesign &design);

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

    float width() const { return m_width; }
    // A negative or non-finite size is an invalid property value.
    void setWidth(float width);

    float left() const { return m_left; }
    void setLeft(float left);

private:
    QString m_caption;
    float m_width;
    float m_left;
};

struct MenuItem
{
    QString name;
    QString caption;
};

} // namespace kamorin
