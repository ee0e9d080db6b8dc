#include "mainwindow/FormSnapshot.h"

#include "mainwindow/Controls.h"

namespace kamorin {

FormSnapshot::FormSnapshot(const std::vector<Control *> &controls)
{
    m_states.reserve(controls.size());
    for (Control *control : controls) {
        ControlState state { control, control->enabled(), {} };
        if (const auto *box = dynamic_cast<const TextControl *>(control))
            state.text = box->text();
        if (const auto *box = dynamic_cast<const TextBox *>(control)) {
            state.selStart = box->selStart();
            state.selLength = box->selLength();
        }
        if (const auto *button = dynamic_cast<const CommandButton *>(control))
            state.text = button->caption();
        if (const auto *label = dynamic_cast<const Label *>(control)) {
            state.text = label->caption();
            state.width = label->width();
            state.left = label->left();
        }
        m_states.push_back(std::move(state));
    }
}

void FormSnapshot::restore() const
{
    for (const ControlState &state : m_states) {
        Control *control = state.control;
        if (auto *box = dynamic_cast<TextControl *>(control); box && box->text() != state.text)
            box->setText(state.text);
        // After the text, which puts the selection back to the start.
        if (auto *box = dynamic_cast<TextBox *>(control);
            box && (box->selStart() != state.selStart || box->selLength() != state.selLength)) {
            box->setSelStart(state.selStart);
            box->setSelLength(state.selLength);
        }
        if (auto *button = dynamic_cast<CommandButton *>(control);
            button && button->caption() != state.text)
            button->setCaption(state.text);
        if (auto *label = dynamic_cast<Label *>(control)) {
            if (label->caption() != state.text)
                label->setCaption(state.text);
            if (label->width() != state.width)
                label->setWidth(state.width);
            if (label->left() != state.left)
                label->setLeft(state.left);
        }
        if (control->enabled() != state.enabled)
            control->setEnabled(state.enabled);
    }
}

} // namespace kamorin
