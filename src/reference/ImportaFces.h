#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/Driver.h"
#include "reference/LeituraReferencia.h"

namespace velt {

class Database;

// The two choices of "[ Filtro de Importação ]".
enum class FiltroFces {
    Todos,                    // "Todos os estabelecimentos"
    ApresentacaoObrigatoria,  // "Estabelecimentos com apresentação obrigatória"
};

struct ResultadoImportaFces {
    enum class Situacao {
        Concluida,         // TB_ESTABELECIMENTO rebuilt; "Sair" comes back, "Importar" stays off
        ArquivosAusentes,  // nothing touched; both buttons come back
        Interrompida,      // stopped on an error; TB_ESTABELECIMENTO as it was before the run
    };
    Situacao situacao = Situacao::Interrompida;
    std::int64_t leitos = 0, unidades = 0, atendimentos = 0;  // staging rows loaded
    std::int64_t estabelecimentos = 0;                        // rows written to TB_ESTABELECIMENTO
};

// Rebuilds TB_ESTABELECIMENTO from the registry files lfces002/004/006: the files go into the
// staging tables LFCES002/004/006, one selection picks the establishments that serve outside the
// public system, and each becomes one row with its intensive-care flag ST_LEITO.
//
// The staging tables are dropped and created before the load (their definitions must be committed
// before rows can go in); the emptying of TB_ESTABELECIMENTO, the three loads and the new rows then
// commit together, so a run that stops leaves the establishments as they were.
class ImportaFces {
public:
    ImportaFces(Database& db, Driver& driver);

    // The screen's memo ("Msg_memo"): one status line per file on lines 1 to 3, then
    // "FIM DA IMPORTAÇÃO!". Its aoMudar is called with all the lines (UTF-8) at each change.
    referencia::MemoImportacao& memo() { return memo_; }

    ResultadoImportaFces executa(const std::filesystem::path& pasta, FiltroFces filtro);

private:
    Database& db_;
    Driver& driver_;
    referencia::MemoImportacao memo_;

    void preparaTabelasTrabalho();
};

}  // namespace velt
