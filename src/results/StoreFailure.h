#pragma once

#include "results/ResultsError.h"

#include <QString>

namespace kamorin {

// How long a command waits for another process's change to end.
inline constexpr int kStoreBusyTimeoutMs = 10000;

// What SQLite's result code `code` (extended codes included) means for the
// store at `path`, in words a user can act on: never SQLite's or Qt's English.
ResultsError storeFailure(const QString &path, int code);

// A store this process may only read, where it is to write.
ResultsError readOnlyStore(const QString &path);

// A store whose pages or header SQLite cannot make sense of.
ResultsError damagedStore(const QString &path);

} // namespace kamorin
