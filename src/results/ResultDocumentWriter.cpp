#include "results/ResultDocumentWriter.h"

#include "results/ResultDocument.h"

#include <QJsonDocument>

namespace kamorin {

namespace {

// QJsonDocument indents four spaces a level, and a result is an item of the
// "results" member: two levels in.
constexpr QByteArrayView kResultIndent = "        ";

} // namespace

ResultDocumentWriter::ResultDocumentWriter(Sink out) : m_out(std::move(out))
{
    // The members in QJsonObject's order, by name: format, results, version.
    m_out(QByteArray("{\n    \"format\": \"") + QString::fromUtf16(kDocumentFormat).toUtf8()
          + QByteArray("\",\n    \"results\": [\n"));
}

void ResultDocumentWriter::add(const SavedResult &result)
{
    // A result alone is "{\n" … "}\n" at the outermost level; two levels in,
    // every one of its lines is indented by two levels more and the last
    // line break belongs to the list. A string never holds a raw line break.
    const QByteArray alone = QJsonDocument(toJson(result)).toJson(QJsonDocument::Indented);
    QByteArray text;
    text.reserve(alone.size() + (alone.count('\n') + 1) * kResultIndent.size() + 2);
    if (!m_empty)
        text += ",\n";
    m_empty = false;
    qsizetype lineStart = 0;
    while (lineStart < alone.size()) {
        const qsizetype lineEnd = alone.indexOf('\n', lineStart);
        text += kResultIndent;
        text += QByteArrayView(alone).sliced(lineStart, lineEnd - lineStart);
        if (lineEnd + 1 < alone.size())
            text += '\n';
        lineStart = lineEnd + 1;
    }
    m_out(text);
}

void ResultDocumentWriter::finish()
{
    m_out(QByteArray(m_empty ? "" : "\n") + QByteArray("    ],\n    \"version\": ")
          + QByteArray::number(kDocumentVersion) + QByteArray("\n}\n"));
}

QByteArray resultDocument(std::span<const SavedResult> results)
{
    QByteArray document;
    ResultDocumentWriter writer([&](QByteArrayView bytes) { document += bytes; });
    for (const SavedResult &result : results)
        writer.add(result);
    writer.finish();
    return document;
}

} // namespace kamorin
