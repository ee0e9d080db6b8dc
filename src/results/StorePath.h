#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace kamorin {

// Where the results store lives: `explicitPath` (--store) when given, else
// KAMORIN_STORE, else $XDG_DATA_HOME/kamorin/results.sqlite, with the XDG
// default ~/.local/share when XDG_DATA_HOME is unset, empty or relative.
QString resolveStorePath(const QString &explicitPath,
                         const QProcessEnvironment &environment
                         = QProcessEnvironment::systemEnvironment());

// Whether `path` holds no store yet: nothing, or an empty file, which is what
// a first save stopped before its commit leaves behind and holds nothing to
// lose. Anything else is a store or is refused as one.
bool holdsNoStoreYet(const QString &path);

// Why `path` cannot be a store, when it cannot: the store is a file and
// nothing else, so SQLite's in-memory database and URIs are refused.
std::optional<QString> storePathRefusal(const QString &path);

} // namespace kamorin
