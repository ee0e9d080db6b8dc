#pragma once

#include <QString>
#include <QStringView>

namespace kamorin {

// How wide a text is shown, for a terminal's columns and a page's drawn width.

// The code point at `i`, a surrogate pair taken whole; `i` moves past it.
char32_t nextCodePoint(QStringView text, qsizetype &i);
// Columns a terminal gives one code point: none for a combining or enclosing
// mark, a format character (zero-width space and joiner, bidirectional
// marks) or a conjoining Hangul vowel or final, which join the character
// before; two for East Asian wide and full-width ones; one for the rest.
int columnsOf(char32_t codePoint);

// Columns a terminal gives the text: two for each East Asian wide or
// full-width character (ideographs, kana, full-width forms, most emoji), none
// for a combining mark or a zero-width one, one for the rest.
int displayColumns(QStringView text);

// The longest start of the text within `columns`; a character is never parted
// from its marks, nor a surrogate pair split.
QString leadingColumns(QStringView text, int columns);
// The text itself when it fits in `columns`; else its start and "…" in them.
QString cutToColumns(const QString &text, int columns);

} // namespace kamorin
