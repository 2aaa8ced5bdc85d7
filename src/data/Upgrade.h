#pragma once
#include "common/Driver.h"

namespace velt {

class Database;

// Brings an older database to the current shape at every start: missing tables, columns,
// indexes and views, the primary keys of the attendance tables dropped, outdated views
// re-created, the sources of payment 10 to 12 added. Each step asks the system tables first,
// so on a current database only the probes run (and the one view re-created every time).
// Returns false when a failure ended the start-up (its text has been shown).
bool AtualizaEsquema(Database& db, Driver& driver);

}  // namespace velt
