#include "results/ResultFileScanner.h"

#include "results/ResultChecks.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <string_view>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ResultFileScannerWords)
};

} // namespace

namespace {

constexpr qsizetype kChunk = 64 * 1024;
// A result is an object of objects of lists: four levels hold any that this
// program writes; the rest is room for what the checks refuse by name.
constexpr std::size_t kMaxNesting = 8;
// Every top member but the results is a word or a number.
constexpr qsizetype kMaxMemberBytes = 4096;
constexpr qsizetype kMaxDocumentBytes = kMaxResults * kMaxResultBytes;

} // namespace

bool ResultFileScanner::fill()
{
    if (m_ended)
        return false;
    // What has been read is dropped, but for the value being read.
    if (m_kept >= 0)
        keptWithinLimit(m_buffer.size() - m_kept);
    const qsizetype drop = m_kept >= 0 ? m_kept : m_pos;
    m_buffer.remove(0, drop);
    m_base += drop;
    m_pos -= drop;
    if (m_kept >= 0)
        m_kept = 0;
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + kChunk);
    const qsizetype got = m_source(m_buffer.data() + had, kChunk);
    m_buffer.resize(had + std::max<qsizetype>(got, 0));
    if (got <= 0) {
        m_ended = true;
        return false;
    }
    if (m_base + m_buffer.size() > kMaxDocumentBytes)
        refuse(QString(),
               Words::tr("%1 MiB を超えています（%2 件の結果に 1 件 %3 KiB まで）")
                       .arg(kMaxDocumentBytes >> 20)
                       .arg(kMaxResults)
                       .arg(kMaxResultBytes >> 10));
    return true;
}

int ResultFileScanner::peek()
{
    if (m_pos == m_buffer.size() && !fill())
        return -1;
    return static_cast<unsigned char>(m_buffer.constData()[m_pos]);
}

void ResultFileScanner::fault(const QString &what) const
{
    throw JsonFault { offset(), what };
}

void ResultFileScanner::skipBlanks()
{
    for (int c = peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = peek())
        ++m_pos;
}

void ResultFileScanner::expect(char c)
{
    skipBlanks();
    const int found = peek();
    if (found == -1)
        fault(Words::tr("途中で終わっています"));
    if (found != static_cast<unsigned char>(c))
        fault(Words::tr("「%1」があるべきところです").arg(QLatin1Char(c)));
    ++m_pos;
}

void ResultFileScanner::skipString()
{
    ++m_pos;
    for (;;) {
        const int c = peek();
        if (c == -1)
            fault(Words::tr("文字列が途中で終わっています"));
        ++m_pos;
        if (c == '"')
            return;
        if (c == '\\') {
            if (peek() == -1)
                fault(Words::tr("文字列が途中で終わっています"));
            ++m_pos;
        }
    }
}

// The bytes of one value, whatever it is; its parse tells whether they are JSON.
QByteArray ResultFileScanner::value(const QString &where)
{
    skipBlanks();
    m_kept = m_pos;
    m_keptWhere = where;
    m_keptLimit = where.startsWith(u"results[") ? kMaxResultBytes : kMaxMemberBytes;
    const int first = peek();
    if (first == -1)
        fault(Words::tr("途中で終わっています"));
    if (first == '"') {
        skipString();
    } else if (first == '{' || first == '[') {
        std::array<int, kMaxNesting> closing {};
        std::size_t depth = 0;
        do {
            const int c = peek();
            if (c == -1)
                fault(Words::tr("途中で終わっています"));
            if (c == '"') {
                skipString();
                continue;
            }
            if (c == '{' || c == '[') {
                if (depth == kMaxNesting)
                    refuse(where, Words::tr("入れ子が深すぎます"));
                closing[depth++] = c == '{' ? '}' : ']';
            } else if ((c == '}' || c == ']') && closing[--depth] != c) {
                fault(Words::tr("括弧の対応が取れていません"));
            }
            // Numbers, words, commas and colons: the value's parse judges them.
            ++m_pos;
        } while (depth > 0);
    } else {
        for (int c = peek();
             c != -1 && std::string_view(",]} \t\n\r").find(char(c)) == std::string_view::npos;
             c = peek())
            ++m_pos;
    }
    QByteArray bytes = m_buffer.mid(m_kept, m_pos - m_kept);
    m_kept = -1;
    keptWithinLimit(bytes.size());
    return bytes;
}

void ResultFileScanner::keptWithinLimit(qsizetype size) const
{
    if (size > m_keptLimit)
        refuse(m_keptWhere, Words::tr("%1 KiB を超えています").arg(m_keptLimit >> 10));
}

QString ResultFileScanner::key()
{
    skipBlanks();
    if (peek() != '"')
        fault(peek() == -1 ? Words::tr("途中で終わっています")
                           : Words::tr("メンバーの名前があるべきところです"));
    const qsizetype start = offset();
    const QByteArray quoted = value(QStringLiteral("$"));
    const QJsonArray parsed = QJsonDocument::fromJson('[' + quoted + ']').array();
    if (parsed.size() != 1 || !parsed[0].isString())
        throw JsonFault { start, Words::tr("メンバーの名前が正しくありません") };
    return parsed[0].toString();
}

void ResultFileScanner::scan(const MemberFound &memberFound, const ResultFound &resultFound)
{
    skipBlanks();
    if (peek() == '[')
        refuse(QStringLiteral("$"), Words::tr("オブジェクトではありません"));
    expect('{');
    skipBlanks();
    bool first = true;
    while (peek() != '}') {
        if (!first)
            expect(',');
        first = false;
        const QString name = key();
        expect(':');
        skipBlanks();
        if (name != u"results" || peek() != '[') {
            const qsizetype start = offset();
            memberFound(name, value(name), start);
            skipBlanks();
            continue;
        }
        memberFound(name, QByteArray("[]"), offset());
        ++m_pos;
        skipBlanks();
        for (qsizetype index = 0; peek() != ']'; ++index) {
            if (index > 0)
                expect(',');
            if (index == kMaxResults)
                refuse(QStringLiteral("results"),
                       Words::tr("結果が %1 件を超えています").arg(kMaxResults));
            skipBlanks();
            const qsizetype start = offset();
            const QString where = item(QStringLiteral("results"), index);
            resultFound(index, value(where), start);
            skipBlanks();
        }
        ++m_pos;
        skipBlanks();
    }
    ++m_pos;
    skipBlanks();
    if (peek() != -1)
        fault(Words::tr("オブジェクトの後に余計なものがあります"));
}

} // namespace kamorin
