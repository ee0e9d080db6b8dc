#pragma once

#include <QPushButton>

#include <optional>

namespace kamorin {

// A command button whose face can fill from the left as a progress bar. The
// fill is only drawn: the caption, and every property the handlers know, stay
// as they are.
class ProgressButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // 0 … 1 of the face filled; none for a plain button.
    void setFill(std::optional<double> fraction);
    std::optional<double> fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<double> m_fill;
};

} // namespace kamorin
