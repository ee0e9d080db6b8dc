#pragma once

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

// Columns a terminal gives the text: two for each East Asian wide or
// full-width character (ideographs, kana, full-width forms, most emoji), none
// for a combining mark or a zero-width one, one for the rest.
int displayColumns(QStringView text);

// The longest start of the text within `columns`; a character is never parted
// from its marks, nor a surrogate pair split.
QString leadingColumns(QStringView text, int columns);
// The text itself when it fits in `columns`; else its start and "…" in them.
QString cutToColumns(const QString &text, int columns);

// The text padded with blanks to `columns` display columns, on the right or the left.
QString padRight(const QString &text, int columns);
QString padLeft(const QString &text, int columns);

// Label and value; a line with no label continues the one above.
using LabelledLines = std::vector<std::pair<QString, QString>>;

// One line each, the values in one column by display width.
QString alignedLines(const LabelledLines &lines);

// Rows of cells under a heading row, each column as wide as its widest cell
// by display width; the columns flagged in `rightAligned` are padded on the
// left. No line ends in blanks.
QString table(const std::vector<QStringList> &rows, const std::vector<bool> &rightAligned);

} // namespace kamorin
