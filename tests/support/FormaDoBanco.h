#pragma once
#include <string>

namespace velt {
class Database;
}

namespace velt::test {

// A text picture of a database's shape read from its system tables: every relation with its
// kind and columns in stored order, its indexes, the primary keys, and the sources of payment.
std::string formaDoBanco(Database& db);

}  // namespace velt::test
