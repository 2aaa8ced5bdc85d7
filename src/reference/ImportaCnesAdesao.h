#pragma once
#include <cstdint>
#include <filesystem>

#include "common/Driver.h"

namespace velt {

class Database;

struct ResultadoCnesAdesao {
    bool concluida = false;
    std::int64_t inseridos = 0;  // rows of TB_PROJ_SAUDE written
};

// Reloads TB_PROJ_SAUDE, the establishments' adherence to the health programmes (rule 0914 PRONON,
// 0915 PRONAS/PCD), from "TERMOSADESAOCNES.txt". The emptying and the inserts commit together: a
// line the database refuses ends the run and the old rows stay.
class ImportaCnesAdesao {
public:
    ImportaCnesAdesao(Database& db, Driver& driver);
    // arquivo: the file chosen in the file list (any case of "termosadesaocnes.txt").
    ResultadoCnesAdesao executa(const std::filesystem::path& arquivo);

private:
    Database& db_;
    Driver& driver_;
};

}  // namespace velt
