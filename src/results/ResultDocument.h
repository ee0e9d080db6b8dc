#pragma once

#include "results/ResultFileScanner.h"
#include "benchmark/SavedResult.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kamorin {

// {"format": "kamorin-results", "version": 1, "results": [ ... ]}, each
// result as toJson gives it.
inline constexpr char16_t kDocumentFormat[] = u"kamorin-results";
inline constexpr int kDocumentVersion = 1;

// The results of a file, checked whole: a file that is not JSON, is of another
// format or version, breaks a limit or holds one doubtful value is refused
// with ResultsError naming `fileName` and the place of the fault. The
// statistics in the file are for its reader; the runs are what counts. It is
// read a piece at a time: what it costs beyond the results it holds is one
// result's bytes and tree.
std::vector<SavedResult> readResultDocument(const ByteSource &source, const QString &fileName);
std::vector<SavedResult> parseResultDocument(const QByteArray &bytes, const QString &fileName);
std::vector<SavedResult> readResultDocument(const QString &path);

} // namespace kamorin
