#pragma once

#include "benchmark/SavedResult.h"
#include "results/ResultJson.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <span>

namespace kamorin {

// A results file written as it goes, handed to `out` a result at a time, so
// that an export of a whole store never holds more than one result's text:
// {"format": "kamorin-results", "version": 2, "results": [ ... ]}, each
// result as writeResult gives it, as indented UTF-8 JSON, so that a person
// can read it and edit it. `words` words the warnings the results keep.
class ResultDocumentWriter
{
public:
    using Sink = std::function<void(QByteArrayView)>;

    ResultDocumentWriter(Sink out, WarningWords words);

    void add(const SavedResult &result);
    // The end of the document; nothing is added after it.
    void finish();

private:
    Sink m_out;
    WarningWords m_words;
    bool m_empty = true;
};

// The whole document at once.
QByteArray resultDocument(std::span<const SavedResult> results, const WarningWords &words);

} // namespace kamorin
