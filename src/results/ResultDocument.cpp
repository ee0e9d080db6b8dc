#include "results/ResultDocument.h"

#include "results/ResultChecks.h"
#include "results/ResultFileScanner.h"
#include "results/ResultsError.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cstring>
#include <optional>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ResultDocument)
};

// A value as it stands in the file, to quote it in a message.
QString jsonText(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(list.mid(1, list.size() - 2));
}

// Qt's reasons are English; a user of this program reads Japanese.
QString faultText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
    case QJsonParseError::UnterminatedArray:
    case QJsonParseError::UnterminatedString:
        return Words::tr("途中で終わっています");
    case QJsonParseError::MissingNameSeparator:
        return Words::tr("「:」があるべきところです");
    case QJsonParseError::MissingValueSeparator:
        return Words::tr("「,」があるべきところです");
    case QJsonParseError::IllegalNumber:
    case QJsonParseError::TerminationByNumber:
        return Words::tr("数が正しくありません");
    case QJsonParseError::IllegalEscapeSequence:
        return Words::tr("文字列のエスケープが正しくありません");
    case QJsonParseError::IllegalUTF8String:
        return Words::tr("UTF-8 として正しくない文字列です");
    case QJsonParseError::GarbageAtEnd:
        return Words::tr("値の後に余計なものがあります");
    default:
        return Words::tr("値として正しくありません");
    }
}

// One piece the scanner handed over, parsed: a value of any kind, so that a
// result that is a number is refused for what it is, not as broken JSON.
QJsonValue parsedValue(const QByteArray &bytes, qsizetype offset)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson('[' + bytes + ']', &error);
    if (error.error != QJsonParseError::NoError || document.array().size() != 1)
        throw JsonFault { offset + std::max(0, error.offset - 1), faultText(error.error) };
    return document.array()[0];
}

// The members beside the results, judged once the whole file is read: a file
// writes them in any order, this program's own after the results.
struct DocumentHead
{
    std::optional<QJsonValue> format;
    std::optional<QJsonValue> version;
    std::optional<QJsonValue> results;
    std::optional<QString> unknown;

    void take(const QString &key, const QByteArray &bytes, qsizetype offset)
    {
        std::optional<QJsonValue> *slot = key == u"format" ? &format
                : key == u"version"                        ? &version
                : key == u"results"                        ? &results
                                                           : nullptr;
        if (!slot) {
            if (!unknown)
                unknown = key;
            return;
        }
        if (*slot)
            refuse(key, Words::tr("二度あります"));
        *slot = key == u"results" && bytes == "[]" ? QJsonValue(QJsonArray())
                                                   : parsedValue(bytes, offset);
    }

    bool complete() const { return format && version; }

    // The version given, when this program reads it.
    std::optional<int> knownVersion() const
    {
        if (!version || !version->isDouble())
            return std::nullopt;
        const double given = version->toDouble();
        if (given != 1 && given != kDocumentVersion)
            return std::nullopt;
        return int(given);
    }

    void check() const
    {
        if (!format || format->toString() != QString::fromUtf16(kDocumentFormat))
            refuse(QStringLiteral("format"),
                   Words::tr("\"%1\" ではありません。Kamorin の結果のファイルではないようです")
                           .arg(QString::fromUtf16(kDocumentFormat)));
        if (!knownVersion())
            refuse(QStringLiteral("version"),
                   Words::tr("形式の版が %1 です。この Kamorin が読めるのは版 %2 のファイルです")
                           .arg(jsonText(version.value_or(QJsonValue(QJsonValue::Undefined))),
                                Words::tr("1 と %1").arg(kDocumentVersion)));
        if (unknown)
            refuse(*unknown, Words::tr("知らないメンバーです"));
        if (!results || !results->isArray())
            refuse(QStringLiteral("results"), Words::tr("結果の並びではありません"));
    }
};

std::vector<SavedResult> checkedDocument(ResultFileScanner &scanner,
                                         std::vector<SkippedResult> *skipped)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    DocumentHead head;
    std::vector<SavedResult> read;
    QSet<QString> ids;
    // The first result refused; the file is still read to its end, since
    // broken JSON, another format or another version after it is the
    // better reason to give.
    std::optional<Refusal> refused;
    // The first result read as each version.
    QHash<int, QString> firstReadAs;
    scanner.scan([&](const QString &key, const QByteArray &value,
                     qsizetype offset) { head.take(key, value, offset); },
                 [&](qsizetype index, const QByteArray &bytes, qsizetype offset) {
                     const QJsonValue value = parsedValue(bytes, offset);
                     if (refused)
                         return;
                     const QString at = item(QStringLiteral("results"), index);
                     // A file may give its version after its results, as
                     // version 1's writer did: a result is then read by its
                     // shape, which the version must bear out at the end.
                     const int readAs = head.knownVersion().value_or(
                             value.toObject().contains(QStringLiteral("settings")) ? 2 : 1);
                     if (!firstReadAs.contains(readAs))
                         firstReadAs.insert(readAs, at);
                     try {
                         SavedResult result = checkedResult(value, at, now, readAs);
                         if (ids.contains(result.id))
                             refuse(member(at, QStringLiteral("id")),
                                    Words::tr("同じ ID がこのファイルに二度あります"));
                         ids.insert(result.id);
                         read.push_back(std::move(result));
                     } catch (const Refusal &refusal) {
                         if (skipped) {
                             skipped->push_back(
                                     { value.toObject()[QStringLiteral("id")].toString(),
                                       refusal.where + QStringLiteral(": ") + refusal.what });
                             return;
                         }
                         refused = refusal;
                         read = {};
                         ids = {};
                         if (head.complete()) {
                             head.check();
                             throw;
                         }
                     }
                 });
    head.check();
    for (auto it = firstReadAs.begin(); it != firstReadAs.end(); ++it) {
        if (it.key() != *head.knownVersion())
            refuse(it.value(),
                   Words::tr("版 %1 のファイルの結果の形ではありません").arg(*head.knownVersion()));
    }
    if (refused)
        throw *refused;
    return read;
}

[[noreturn]] void refuseFile(const QString &fileName, const QString &why)
{
    throw ResultsError(Words::tr("「%1」は取り込めません: %2。").arg(fileName, why),
                       ResultsError::Kind::Document);
}

} // namespace

std::vector<SavedResult> readResultDocument(const ByteSource &source, const QString &fileName,
                                            std::vector<SkippedResult> *skipped)
{
    ResultFileScanner scanner(source);
    try {
        return checkedDocument(scanner, skipped);
    } catch (const JsonFault &fault) {
        refuseFile(fileName,
                   Words::tr("JSON として正しくありません（%1 バイト目: %2）。"
                             "途中で切れているか、壊れています")
                           .arg(fault.offset)
                           .arg(fault.what));
    } catch (const Refusal &refusal) {
        refuseFile(fileName,
                   refusal.where.isEmpty() ? refusal.what
                                           : refusal.where + QStringLiteral(": ") + refusal.what);
    }
}

std::vector<SavedResult> parseResultDocument(const QByteArray &bytes, const QString &fileName)
{
    qsizetype position = 0;
    return readResultDocument(
            [&](char *buffer, qsizetype size) {
                const qsizetype n = std::min(size, bytes.size() - position);
                std::memcpy(buffer, bytes.constData() + position, std::size_t(n));
                position += n;
                return n;
            },
            fileName);
}

std::vector<SavedResult> readResultDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuseFile(path, file.errorString());
    return readResultDocument(
            [&](char *buffer, qsizetype size) {
                const qsizetype n = file.read(buffer, size);
                if (n < 0)
                    refuseFile(path, file.errorString());
                return n;
            },
            path);
}

} // namespace kamorin
