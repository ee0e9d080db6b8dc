#pragma once

#include <QString>

namespace kamorin {

class Form1;

// The results the form shows and the report COPY made, as one JSON object
// (keys in a fixed order).
QString resultsAsJson(const Form1 &form, const QString &report);

// The same as a short summary in Japanese, then the report with the
// terminal's line ends.
QString resultsAsText(const Form1 &form, const QString &report);

// The machines the reference list offers, in its order: name, tab, seconds.
QString machineList();

} // namespace kamorin
