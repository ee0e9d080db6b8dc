#pragma once

#include <QString>

#include <vector>

namespace kamorin {

class Control;

// Every property of a set of controls that a handler can assign, taken at
// one moment: texts, captions, selections, widths, left edges and enabled
// states.
class FormSnapshot
{
public:
    explicit FormSnapshot(const std::vector<Control *> &controls);

    // Assigns back each property that differs from what was taken, so the
    // windows that watch the controls show it again too.
    void restore() const;

private:
    struct ControlState
    {
        Control *control;
        bool enabled;
        QString text; // Text of a text or combo box, Caption of a label or button
        int selStart = 0;
        int selLength = 0;
        float width = 0;
        float left = 0;
    };

    std::vector<ControlState> m_states;
};

} // namespace kamorin
