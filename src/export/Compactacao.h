#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/Driver.h"
#include "maintenance/BackupEmSegundoPlano.h"

namespace velt {

class Database;
struct Gestor;

// What a press of "Executar" on the compaction screen came to.
struct ResultadoCompactacao {
    enum class Fim {
        Concluida,             // went through to the backup (also after "Competência não encontrada...")
        CompetenciaInvalida,   // refused; the backup still ran
        SemGestor,             // no manager's record: nothing done
        ErroDiretorio,         // an output folder could not be created: nothing else done
        ErroGravacao,          // reading the records or writing the file failed: file removed, nothing zipped
        ArquivoNaoEncontrado,  // the transmission file vanished before zipping
        ZipMantido,            // the user kept an existing archive
        ErroAberturaZip,       // the archive could not be opened for writing
        ErroDeslocamento,      // the archive could not be read for the byte shift
    };
    Fim fim = Fim::Concluida;
    std::string competencia;  // YYYYMM
    std::string nomeBase;     // B
    std::filesystem::path arquivoTransmissao, arquivoZip, planilha, arquivoBackup;
    std::size_t individualizados = 0, consolidados = 0, semMovimento = 0;  // lines written
    bool arquivoIniciado = false;  // some record set had rows
    bool arquivoMantido = false;   // the user kept an existing transmission file
    bool zipado = false;           // the archive was written and shifted
    bool carimbado = false;        // the batch-control rows were stamped
    bool planilhaSalva = false;
    // The final backup while it runs; null when the run stopped before it.
    std::unique_ptr<BackupEmSegundoPlano> backup;
};

// The compaction run of the screen "Compactação": the transmission file of a competência from
// every stored individualized and consolidated record and every establishment without movement,
// zipped with the password, shifted byte by byte, stamped into the batch-control rows, with the
// optional workbook, then a backup of the database started. Messages and questions go through the
// driver; records are streamed, so memory does not grow with the month.
class Compactacao {
public:
    Compactacao(Database& db, Driver& driver);

    // `competencia` as typed (MM/YYYY). `aoTerminarBackup` is called from the backup's thread.
    ResultadoCompactacao executa(std::string_view competencia, bool planilha,
                                 std::function<void(const ResultadoBackup&)> aoTerminarBackup = {});

private:
    Database& db_;
    Driver& driver_;
};

// The base name B of the files of a competência YYYYMM: UF + "0000" + YYYYMM for a state
// manager, CODMUNIC + YYYYMM otherwise.
std::string NomeBaseTransmissao(const Gestor& gestor, std::string_view competencia);

// Stamps every batch-control row of the competência with the transmission file's base name and
// its last-modification time.
void AtualizaControleRemessa(Database& db, const std::string& nomeBase, const std::filesystem::path& arquivo,
                             const std::string& competencia);

// The backup file of the end of a run: dirtrab/Backups/VELT02_mmddyyyy_hhmmss.gbk (now).
std::filesystem::path ArquivoBackupCompactacao(const std::filesystem::path& dirtrab);

}  // namespace velt
