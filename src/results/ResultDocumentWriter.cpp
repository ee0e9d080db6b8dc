#include "results/ResultDocumentWriter.h"

#include "results/ResultDocument.h"

namespace kamorin {

ResultDocumentWriter::ResultDocumentWriter(Sink out, WarningWords words)
    : m_out(std::move(out)), m_words(std::move(words))
{
    // The version before the results, so that a reader knows how to read them.
    m_out(QByteArray("{\n    \"format\": ") + jsonString(kDocumentFormat).toUtf8()
          + QByteArray(",\n    \"version\": ") + QByteArray::number(kDocumentVersion)
          + QByteArray(",\n    \"results\": ["));
}

void ResultDocumentWriter::add(const SavedResult &result)
{
    // A result is an item of the "results" member: two levels in.
    JsonWriter writer(JsonWriter::Layout::Indented, 2);
    writeResult(writer, result, m_words);
    m_out((m_empty ? QByteArray("\n        ") : QByteArray(",\n        "))
          + writer.text().toUtf8());
    m_empty = false;
}

void ResultDocumentWriter::finish()
{
    m_out(QByteArray(m_empty ? "]\n}\n" : "\n    ]\n}\n"));
}

QByteArray resultDocument(std::span<const SavedResult> results, const WarningWords &words)
{
    QByteArray document;
    ResultDocumentWriter writer([&](QByteArrayView bytes) { document += bytes; }, words);
    for (const SavedResult &result : results)
        writer.add(result);
    writer.finish();
    return document;
}

} // namespace kamorin
