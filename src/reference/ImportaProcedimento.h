#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/Driver.h"

namespace velt {

class Database;

// The five files of the national procedure table's monthly export (MERIDAL), in the order the
// run checks that they exist.
inline constexpr const char* kArquivosProcedimento[] = {"tb_procedimento.txt", "rl_procedimento_modalidade.txt",
                                                        "rl_procedimento_registro.txt", "rl_procedimento_cid.txt",
                                                        "tb_procedimento_nsus.txt"};

// Groups of procedures this system's records may carry: 02 to 05, 0101 and 0701.
bool grupoProcedimentoAceito(std::string_view codigo);

struct ResultadoImportaProcedimento {
    enum class Situacao {
        Concluida,               // ran to "FIM DA IMPORTAÇÃO!" (steps may have failed and said so)
        ArquivosNaoEncontrados,  // nothing changed
        FalhaNaLimpeza,          // nothing changed: the deletes were undone
    };
    struct Etapa {
        std::string status;     // "Importando Cid", ...
        bool ok = true;         // false when an insert failed and ended the step
        std::int64_t lidas = 0;  // lines handled before the step ended
        std::int64_t inseridas = 0;
    };
    Situacao situacao = Situacao::Concluida;
    std::vector<Etapa> etapas;
    std::vector<std::string> memo;
};

// Reloads TB_RL_CID, TB_MODALIDADE, TB_REGISTRO and TB_PROCEDIMENTO from the five files of a
// folder. The deletes and the five steps run in one transaction: a run that stops leaves the
// tables as they were; an insert that fails ends its step (reported), the others go on and the
// rest is committed.
class ImportaProcedimento {
public:
    ImportaProcedimento(Database& db, Driver& driver) : db_(db), driver_(driver) {}
    // Called with every line of the memo after each change.
    std::function<void(const std::vector<std::string>&)> aoMudarMemo;

    ResultadoImportaProcedimento executa(const std::filesystem::path& pasta);

private:
    Database& db_;
    Driver& driver_;
};

}  // namespace velt
