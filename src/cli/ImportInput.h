#pragma once

#include <QString>

namespace kamorin {

// The bytes of a file given to --import, or of stdin for "-". A FIFO waits
// for its writer like any reader; a stop signal ends a store command, and
// so that wait, at once. ResultsError (a document error) naming the file
// when it cannot be opened or read.
class ImportInput
{
public:
    explicit ImportInput(const QString &file);
    ~ImportInput();
    ImportInput(const ImportInput &) = delete;
    ImportInput &operator=(const ImportInput &) = delete;

    // Up to `size` bytes; 0 at the end.
    qsizetype read(char *buffer, qsizetype size);

    // How messages name it.
    const QString &name() const { return m_name; }

private:
    [[noreturn]] void fail(int error) const;

    QString m_name;
    int m_fd = -1;
};

} // namespace kamorin
