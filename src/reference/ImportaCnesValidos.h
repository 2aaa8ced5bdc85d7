#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Driver.h"

namespace velt {

class Database;

struct ResultadoCnesValidos {
    enum class Situacao {
        Concluida,            // "CONCLUÍDO COM SUCESSO!"
        CompetenciaInvalida,  // the screen clears and focuses the competência
        ArquivoAusente,       // CNESVAL.txt not in the folder
        NaoImportado,         // no valid line of the competência for the state: TB_CNES kept
        Interrompida,         // the database failed: TB_CNES kept
    };
    Situacao situacao = Situacao::Interrompida;
    std::int64_t lidas = 0;      // lines of the competência read (the progress bar's final position)
    std::int64_t inseridos = 0;  // CNES written to TB_CNES
};

// Reloads TB_CNES, the CNES codes valid in the manager's state for a competência, from
// "CNESVAL.txt". The emptying and the inserts commit together, and only when at least one code
// of the competência and state was found, so a wrong folder or competência keeps the old list.
class ImportaCnesValidos {
public:
    ImportaCnesValidos(Database& db, Driver& driver);
    // competencia as typed, MM/YYYY.
    ResultadoCnesValidos executa(const std::filesystem::path& pasta, const std::string& competencia);

private:
    Database& db_;
    Driver& driver_;
};

}  // namespace velt
