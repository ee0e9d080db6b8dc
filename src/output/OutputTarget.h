#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

namespace kamorin {

// Where an output of --export or --report goes, by one rule for both:
// - "-" is stdout; /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N
//   are the descriptor this process was given, written as it stands, as a
//   shell's >&N would (a process substitution is one);
// - a character or block device, a FIFO or a socket is written in place,
//   never replaced;
// - a regular file or a new path is replaced whole: a new file is written
//   beside it and renamed over it (over the last target of a link, so that
//   the link stays a link);
// - a folder, the store itself by any name, and a symbolic link that the
//   kernel's protected-symlinks rule would not follow are refused.
struct OutputTarget
{
    enum class Way
    {
        // Written through `fd` as it stands.
        InPlace,
        // A new file beside `replaced`, renamed over it.
        Replace,
    };
    Way way = Way::Replace;
    int fd = -1;
    // Whether `fd` is ours to close: stdout itself is not.
    bool ownsFd = false;
    QString replaced;
    // The mode of the file replaced, kept; none for a new path.
    std::optional<mode_t> mode;
    // The owner and group of the file replaced, kept where they may be.
    uid_t owner = 0;
    gid_t group = 0;
};

// Why `path` may not be an output because it is the results store at
// `storePath`, or none. A path that does not exist is the store only when the
// store does not exist yet either and both name the same place.
std::optional<QString> storeAsOutput(const QString &path, const QString &storePath);

// Whether `path` names this process's stdout ("-", /dev/stdout, /dev/fd/1):
// what else would go there then goes to stderr, so that the stream holds the
// page or the export alone.
bool namesStandardOutput(const QString &path);

// Before the work whose output goes to `path`: a folder that is missing or
// may not be written is told and thrown now, as opening would, rather than
// after minutes of a run. What is written in place needs no folder.
void checkOutputFolder(const QString &path);

// The target `path` names, opened where it is written in place. A refusal or
// a failure is told on stderr, naming `path`, and thrown as OutputFailed.
OutputTarget openOutputTarget(const QString &path, const QString &storePath);

// "kamorin-cli: 「path」に書き込めません: why" (for "-", 標準出力) on stderr,
// thrown as OutputFailed.
[[noreturn]] void cannotWrite(const QString &path, const QString &why);

} // namespace kamorin
