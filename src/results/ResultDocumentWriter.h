#pragma once

#include "benchmark/SavedResult.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <span>

namespace kamorin {

// A results file written as it goes, handed to `out` a result at a time, so
// that an export of a whole store never holds more than one result's text.
// The bytes are those QJsonDocument's indented form gives for the whole
// document, so that a file does not change with how it was written.
class ResultDocumentWriter
{
public:
    using Sink = std::function<void(QByteArrayView)>;

    explicit ResultDocumentWriter(Sink out);

    void add(const SavedResult &result);
    // The end of the document; nothing is added after it.
    void finish();

private:
    Sink m_out;
    bool m_empty = true;
};

// {"format": "kamorin-results", "version": 1, "results": [ ... ]}, each
// result as toJson gives it, as indented UTF-8 JSON, so that a person can
// read it and edit it.
QByteArray resultDocument(std::span<const SavedResult> results);

} // namespace kamorin
