#pragma once
#include <string>
#include <vector>

namespace velt {

class Database;

namespace schema {

// Statements that build a new database in its final shape: tables, indexes, views, counters
// and the rows delivered with it, in the order they must run.
const std::vector<std::string>& statementsForNewDatabase();

// View definitions, shared by a new database and the upgrade of an older one.
extern const char* const kViewRegistros1;
extern const char* const kViewTotalReg;
extern const char* const kViewDiasInternadoCnes1;
extern const char* const kViewTotalDiasCnes;
extern const char* const kViewTotalConsolidado;
extern const char* const kViewTotalModalidade;

// Creates the tables, views and delivered rows in an empty, attached database.
void createObjects(Database& db);

}  // namespace schema
}  // namespace velt
