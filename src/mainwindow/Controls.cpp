#include "mainwindow/Controls.h"

#include "runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

QString fromDesign(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// Qt cannot give a widget a negative or infinite extent, and a silently
// clamped bar would show a wrong result as if it were right.
float checkedTwips(float value)
{
    if (!std::isfinite(value) || value < 0)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    return value;
}

} // namespace

void ControlObservers::add(ControlObserver *observer)
{
    m_observers.push_back(observer);
}

void ControlObservers::remove(ControlObserver *observer)
{
    std::erase(m_observers, observer);
}

void ControlObservers::notify(const Control &control, Property property) const
{
    for (ControlObserver *observer : m_observers)
        observer->propertyChanged(control, property);
}

Control::Control(const ControlObservers &observers, const ControlDesign &design)
    : m_observers(observers), m_design(design)
{ }

QString Control::name() const
{
    return QString::fromLatin1(m_design.name.data(), static_cast<qsizetype>(m_design.name.size()));
}

void Control::setEnabled(bool enabled)
{
    m_enabled = enabled;
    changed(Property::Enabled);
}

TextControl::TextControl(const ControlObservers &observers, const ControlDesign &design)
    : Control(observers, design), m_text(fromDesign(design.text))
{ }

void TextControl::setText(const QString &text)
{
    m_text = text;
    changed(Property::Text);
}

void TextBox::setText(const QString &text)
{
    m_selStart = 0;
    m_selLength = 0;
    TextControl::setText(text);
}

namespace {

// A cut between the two halves of a surrogate pair would leave half a
// character (an emoji typed into a field) on either side: it moves past the pair.
int afterWholeCharacter(const QString &text, int position)
{
    if (position > 0 && position < text.size() && text[position - 1].isHighSurrogate()
        && text[position].isLowSurrogate())
        return position + 1;
    return position;
}

} // namespace

void TextBox::setSelStart(int start)
{
    if (start < 0)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    m_selStart = afterWholeCharacter(text(), std::min(start, static_cast<int>(text().size())));
    m_selLength = 0;
    changed(Property::Selection);
}

void TextBox::setSelLength(int length)
{
    if (length < 0)
        throw RuntimeError(ErrorNumber::InvalidPropertyValue);
    const int end = afterWholeCharacter(
            text(), m_selStart + std::min(length, static_cast<int>(text().size()) - m_selStart));
    m_selLength = end - m_selStart;
    changed(Property::Selection);
}

ComboBox::ComboBox(const ControlObservers &observers, const ControlDesign &design, QStringList list)
    : TextControl(observers, design), m_list(std::move(list))
{ }

CommandButton::CommandButton(const ControlObservers &observers, const ControlDesign &design)
    : Control(observers, design), m_caption(fromDesign(design.text))
{ }

void CommandButton::setCaption(const QString &caption)
{
    m_caption = caption;
    changed(Property::Text);
}

Label::Label(const ControlObservers &observers, const ControlDesign &design)
    : Control(observers, design), m_caption(fromDesign(design.text)),
      m_width(static_cast<float>(design.width)), m_left(static_cast<float>(design.left))
{ }

void Label::setCaption(const QString &caption)
{
    m_caption = caption;
    changed(Property::Text);
}

// The animations assign one width thousands of times in a row: the same value
// needs no checking and no storing, only the notice that it was assigned.
void Label::setWidth(float width)
{
    if (width != m_width)
        m_width = checkedTwips(width);
    changed(Property::Width);
}

void Label::setLeft(float left)
{
    m_left = checkedTwips(left);
    changed(Property::Left);
}

} // namespace kamorin
