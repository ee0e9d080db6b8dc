#pragma once

#include <QLabel>

namespace kamorin {

// What a screen reader is told beyond Qt's own: the run button's progress as
// a value, and the bars of the chart with their lengths.
void installAccessibleInterfaces();

// A bar of the chart: its length is its value, out of the chart frame's width.
class BarLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    void setLength(double twips, double fullTwips);
    double length() const { return m_length; }
    double fullLength() const { return m_full; }

private:
    double m_length = 0;
    double m_full = 1;
};

} // namespace kamorin
