#pragma once

#include "formats/TextWidth.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>
#include <vector>

namespace kamorin {

// Text from the user (a machine name, a count, an argument) made safe to put
// on a terminal: every control character, C0, DEL and C1, is shown as \xHH,
// so a name cannot move the cursor, recolour the screen or retitle the window.
QString escapeControls(QStringView text);

// The same for a text of several lines of our own making around user text:
// the line breaks stay, everything else is escaped.
QString escapeControlsKeepingLines(QStringView text);

// The widest a text table shows a label, a CPU model or a host, from the user
// or another machine and up to 200 characters: one long one would otherwise
// widen every row. JSON and CSV carry them whole.
inline constexpr int kLabelColumns = 24;
inline constexpr int kCpuColumns = 40;
inline constexpr int kHostColumns = 24;

// The text padded with blanks to `columns` display columns, on the right or the left.
QString padRight(const QString &text, int columns);
QString padLeft(const QString &text, int columns);

// Label and value; a line with no label continues the one above.
using LabelledLines = std::vector<std::pair<QString, QString>>;

// One line each, the values in one column by display width.
QString alignedLines(const LabelledLines &lines);

// A text column cut to fit a terminal keeps at least a character and "…".
inline constexpr int kNarrowestTextColumn = 3;

// The rows, their columns cut with "…" until the table that table() makes of
// them is no wider than `columns`: the widest column first, by display width,
// one column at a time, none below its `narrowest` width (0: kept whole).
// Where every column is down to that, the table stays wider. Rows that already
// fit come back as they are.
std::vector<QStringList> fitToColumns(std::vector<QStringList> rows,
                                      const std::vector<int> &narrowest, int columns);

// Rows of cells under a heading row, each column as wide as its widest cell
// by display width; the columns flagged in `rightAligned` are padded on the
// left. No line ends in blanks.
QString table(const std::vector<QStringList> &rows, const std::vector<bool> &rightAligned);

} // namespace kamorin
