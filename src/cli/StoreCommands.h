#pragma once

#include "cli/Options.h"
#include "results/ResultStore.h"

#include <QString>

#include <memory>

namespace kamorin {

// --history, --forget, --compare, --export and --import: the exit status.
int runStoreCommand(const StoreCommand &command);

// The store at `path` (--store as given, else KAMORIN_STORE, else the XDG
// place) when it exists and is not empty; ResultsError (no such result) when
// it does not: reading or forgetting never creates one.
std::unique_ptr<ResultStore> openExistingStore(const QString &path, StoreAccess access);

} // namespace kamorin
