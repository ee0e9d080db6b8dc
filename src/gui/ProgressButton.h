#pragma once

#include <QPushButton>

#include <optional>

namespace kamorin {

// A command button whose face can fill from the left as a progress bar. The
// fill is only drawn, and told to screen readers as the button's value and
// description: the caption, and every property the handlers know, stay as
// they are. Enter and keypad Enter press it as Space does.
class ProgressButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // 0 … 1 of the face filled, with words for it; none for a plain button.
    void setFill(std::optional<double> fraction, const QString &description = {});
    std::optional<double> fill() const { return m_fill; }
    // Whole percent of the fill, as a screen reader reads it.
    std::optional<int> percent() const;
    const QString &description() const { return m_description; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<double> m_fill;
    QString m_description;
};

} // namespace kamorin
