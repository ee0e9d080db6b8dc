#pragma once

#include <QString>

namespace kamorin {

class Form1;

// What the window shows once the runs and COPY are over, read once so that
// every format takes the same figures by name instead of by control.
struct WindowReadings
{
    // The loop count as the window wrote it back, e.g. "20000000".
    QString loops;
    QString value;
    // The true value the window prints beside the value reached.
    QString trueValue;
    // Empty when no decimal agrees with pi.
    QString digits;
    QString hours;
    QString minutes;
    QString seconds;
    QString hundredths;
    // SCORE could score the run, and so the score, the bars and their
    // captions hold its figures.
    bool scored = false;
    QString machine;
    QString score;
    QString referenceCaption;
    QString yourCaption;
    // In twips, as the window's single-precision widths hold them.
    float referenceBar = 0;
    float yourBar = 0;
    // COPY's lines as the clipboard holds them.
    QString report;
};

WindowReadings readWindow(const Form1 &form, const QString &report);

} // namespace kamorin
