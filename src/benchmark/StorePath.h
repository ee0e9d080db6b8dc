#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace kamorin {

// Where the results store lives: `explicitPath` (--store) when given, else
// KAMORIN_STORE, else $XDG_DATA_HOME/kamorin/results.sqlite, with the XDG
// default ~/.local/share when XDG_DATA_HOME is unset, empty or relative.
QString resolveStorePath(const QString &explicitPath,
                         const QProcessEnvironment &environment
                         = QProcessEnvironment::systemEnvironment());

} // namespace kamorin
