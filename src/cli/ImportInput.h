#pragma once

#include <QString>

#include <functional>

namespace kamorin {

// Thrown when a stop signal ended the reading of a file to import.
struct ImportStopped
{ };

// The bytes of a file given to --import, or of stdin for "-", read in short
// waits so that a stop signal ends a read from a FIFO with no writer yet or a
// writer that trickles. ResultsError (a document error) naming the file when
// it cannot be opened or read.
class ImportInput
{
public:
    ImportInput(const QString &file, std::function<bool()> stopRequested);
    ~ImportInput();
    ImportInput(const ImportInput &) = delete;
    ImportInput &operator=(const ImportInput &) = delete;

    // Up to `size` bytes; 0 at the end. ImportStopped once a stop is asked for.
    qsizetype read(char *buffer, qsizetype size);

    // How messages name it.
    const QString &name() const { return m_name; }

private:
    [[noreturn]] void fail(int error) const;

    QString m_name;
    std::function<bool()> m_stopRequested;
    int m_fd = -1;
};

} // namespace kamorin
