#pragma once

#include "cli/Options.h"
#include "results/ResultStore.h"

#include <QString>

#include <memory>

namespace kamorin {

class SignalWatcher;

// --history, --forget, --compare, --export and --import: the exit status.
// `signals` ends the process on a stop signal, except while an import
// commits.
int runStoreCommand(const StoreCommand &command, SignalWatcher &signals);

// The store at `path` (--store as given, else KAMORIN_STORE, else the XDG
// place) when it exists and is not empty; ResultsError (no such result) when
// it does not: reading or forgetting never creates one.
std::unique_ptr<ResultStore> openExistingStore(const QString &path, StoreAccess access);

} // namespace kamorin
