#pragma once

#include <QLabel>

namespace kamorin {

// What a screen reader is told beyond Qt's own: the run button's progress,
// the bars of the chart, and the notices of what a press has done.
void installAccessibleInterfaces();

// While it lives, assistive technology is not told of text selections and
// caret moves: those a control makes as it takes the focus, which Qt sends
// before the focus itself, and Orca 43 then moves to the control without a
// word; and those COPY and CLEAR make, which are not the user's.
class CaretMovesUntold
{
public:
    CaretMovesUntold();
    ~CaretMovesUntold();
    CaretMovesUntold(const CaretMovesUntold &) = delete;
    CaretMovesUntold &operator=(const CaretMovesUntold &) = delete;
};

// A bar of the chart, told to screen readers with the time it stands for.
class BarLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // As the time beside the bar shows it, with its unit.
    void setTime(const QString &time);
    const QString &time() const { return m_time; }

private:
    QString m_time;
};

// Words for a screen reader alone: an empty notification that Orca speaks as
// it is shown, for what a press has done where no focus change or caption
// says it (a run started or ended, a score, a copy).
class SpokenNotice : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenNotice(QWidget *parent);

    void say(const QString &words);
};

} // namespace kamorin
