#pragma once

#include "benchmark/SavedResult.h"
#include "results/ResultFileScanner.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kamorin {

// {"format": "kamorin-results", "version": 2, "results": [ ... ]}, each
// result as writeResult gives it. Files of version 1 (the count, the unit and
// the passes beside "options", the runs as their seconds alone, the warnings
// as sentences) are read too.
inline constexpr char16_t kDocumentFormat[] = u"kamorin-results";
inline constexpr int kDocumentVersion = 2;

// The results of a file, checked whole: a file that is not JSON, is of another
// format or version, breaks a limit or holds one doubtful value is refused
// with ResultsError naming `fileName` and the place of the fault. The
// statistics in the file are for its reader; the runs are what counts. It is
// read a piece at a time: what it costs beyond the results it holds is one
// result's bytes and tree.
// With `skipped`, a result refused by itself (not the file) is passed over
// and told there, the others kept.
struct SkippedResult
{
    QString id;
    QString why;
};
std::vector<SavedResult> readResultDocument(const ByteSource &source, const QString &fileName,
                                            std::vector<SkippedResult> *skipped = nullptr);
std::vector<SavedResult> parseResultDocument(const QByteArray &bytes, const QString &fileName);
std::vector<SavedResult> readResultDocument(const QString &path);

} // namespace kamorin
