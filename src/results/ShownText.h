#pragma once

#include <QString>

#include <optional>

namespace kamorin {

// The longest label, host or CPU name a result carries, in code points.
inline constexpr qsizetype kMaxShownTextLength = 200;

// Why `text` may not stand in a line of a table, a CSV row or the page, as a
// phrase ("制御文字が含まれています"); nothing when it may. The same rule holds
// for --label and for what a results file carries, so that every saved
// result can be exported and imported again.
std::optional<QString> shownTextFault(QStringView text, qsizetype limit = kMaxShownTextLength);

// The key --compare and --forget read as the result saved last, whatever
// its label.
inline constexpr QStringView kLastResultKey = u"last";

// Why `label` may not be a result's label, as a phrase; nothing when it may.
// One rule for every label a result is given, by --label or by a results
// file: the text rule above, and not the key that names the result saved
// last, for a result labelled so could never be chosen by its label.
std::optional<QString> labelFault(QStringView label);

// A name the system gives (a host, a CPU model) as a result keeps it, so that
// the rule above takes it back on import: each character the rule refuses
// written as \xHH, \uHHHH or \UHHHHHHHH, and the whole cut to the limit.
QString keptShownText(QStringView text, qsizetype limit = kMaxShownTextLength);

} // namespace kamorin
