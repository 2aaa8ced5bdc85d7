#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Driver.h"

namespace velt {

class Database;

// The three fields of a municipalities line "code;name;state" as stored.
struct LinhaMunicipio {
    std::string codigo;  // first 10 characters before the first ";"
    std::string nome;    // first 60 characters between the first and the second ";"
    std::string sigla;   // first 2 characters after the second ";"
};
LinhaMunicipio cortaLinhaMunicipio(std::string_view linha);

struct ResultadoImportaMunicipio {
    bool concluida = false;  // false: a line was refused and the table was left as it was
    std::int64_t inseridas = 0;
};

// Reloads TB_MUNICIPIO from a semicolon-separated file whose first line is a header. Values are
// bound as parameters, so names with apostrophes are stored as written. The delete and the
// inserts are one transaction: a refused line leaves the table as it was before the run.
class ImportaMunicipio {
public:
    ImportaMunicipio(Database& db, Driver& driver) : db_(db), driver_(driver) {}
    ResultadoImportaMunicipio executa(const std::filesystem::path& arquivo);

private:
    Database& db_;
    Driver& driver_;
};

}  // namespace velt
