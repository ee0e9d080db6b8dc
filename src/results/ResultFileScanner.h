#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace kamorin {

// Fills `buffer` with up to `size` bytes of a results file and returns how
// many; 0 at its end. It throws whatever should end the reading.
using ByteSource = std::function<qsizetype(char *buffer, qsizetype size)>;

// Bytes that are not JSON: where (from 0) and what is wrong.
struct JsonFault
{
    qsizetype offset;
    QString what;
};

// The largest result a file may hold, written out: a thousand runs and the
// parallel result of a thousand threads, with room to spare.
inline constexpr qsizetype kMaxResultBytes = 256 * 1024;
inline constexpr qsizetype kMaxResults = 100000;

// A results file's outer object read from a source piece by piece, so that
// what it costs is the bytes of one result at a time, never a tree of the
// whole file: each member is handed over as the bytes of its value as soon as
// they are whole, and each element of "results" on its own. Only the nesting
// and the punctuation are checked here; each piece is JSON to be parsed.
// JsonFault where the outer structure breaks; Refusal where a piece is too
// large, too deep or one too many.
class ResultFileScanner
{
public:
    using MemberFound
            = std::function<void(const QString &key, const QByteArray &value, qsizetype offset)>;
    using ResultFound
            = std::function<void(qsizetype index, const QByteArray &value, qsizetype offset)>;

    explicit ResultFileScanner(ByteSource source) : m_source(std::move(source)) { }

    void scan(const MemberFound &memberFound, const ResultFound &resultFound);

private:
    int peek();
    bool fill();
    qsizetype offset() const { return m_base + m_pos; }
    void skipBlanks();
    void expect(char c);
    [[noreturn]] void fault(const QString &what) const;
    void skipString();
    QByteArray value(const QString &where);
    QString key();
    void keptWithinLimit(qsizetype size) const;

    ByteSource m_source;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    // The offset in the file of m_buffer's first byte.
    qsizetype m_base = 0;
    // Where the value being read began in m_buffer: kept on a refill.
    qsizetype m_kept = -1;
    // Where that value is, to name it, and how large it may be.
    QString m_keptWhere;
    qsizetype m_keptLimit = 0;
    bool m_ended = false;
};

} // namespace kamorin
