#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kamorin {

// The status when the results cannot be written (EX_IOERR).
inline constexpr int kOutputErrorStatus = 74;

// Thrown once the failure to write the results has been told on stderr.
class OutputFailed
{ };

// The system's words for an errno value, in Japanese for the usual ones.
QString systemMessage(int error);

// The whole of `bytes` on `fd`, through every short write and interruption;
// false with errno set when it cannot be done.
bool writeAll(int fd, QByteArrayView bytes);
// A reader that went away (… | head -1) ends the program as SIGPIPE ends other tools.
[[noreturn]] void endAsByBrokenPipe();

// The results on stdout, all of them, through short writes and interruptions.
// A failure is told on stderr and thrown as OutputFailed; a reader that went
// away (… | head -1) ends the program as SIGPIPE ends other tools.
void writeOut(const QString &text);

// The columns of the terminal stdout is, for tables that fit it: $COLUMNS
// when it is set to a width, as other tools take it, else the terminal's own.
// None when stdout is a file or a pipe, which get the tables whole.
std::optional<int> standardOutputColumns();

// A text of our own on stderr, as it stands.
void writeError(const QString &text);
// Messages on stderr, each as "kamorin-cli: …" with control characters escaped.
void writeErrors(const std::vector<RunError> &errors);
void writeWarnings(const QStringList &warnings);

// Before anything is opened: a closed stdout is held by a descriptor that
// refuses writes, and a closed stdin by one that refuses reads, so that no
// file opened later takes their numbers and the results, or `--import -`,
// fail loudly; SIGPIPE is left to the write to report.
void prepareStandardStreams();

} // namespace kamorin
