#pragma once

#include <QString>

namespace kamorin {

class StoreConnection;

// "KMRN" in the SQLite header: what tells a Kamorin store from any other file.
inline constexpr int kStoreApplicationId = 0x4B4D524E;
// The schema this program writes; PRAGMA user_version holds a store's own.
inline constexpr int kStoreSchemaVersion = 4;

// Looks at an existing file through a read-only connection and refuses it
// unless it is a Kamorin store this program can read, undamaged; its schema
// version when it is. A file that is not SQLite's, or a valid SQLite
// database of another program, is someone else's; SQLite's header on a file
// that SQLite cannot read, or cut short, is a damaged store. A change cut
// short leaves a journal that is rolled back first when `mayRecover`; else
// the store is refused as needing it, and nothing is written.
int checkIsStore(const QString &path, bool mayRecover);

// Creates the schema in an empty file, or brings an older one forward, in one
// transaction; refuses a file that turned out to be someone else's.
void prepareSchema(const StoreConnection &connection);

} // namespace kamorin
