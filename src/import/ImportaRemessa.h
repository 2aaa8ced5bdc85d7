#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velt {

class Database;
class Driver;
class EmissorProtocolo;

// The counters of the summary dialog.
struct ContadoresImportacao {
    int selecionados = 0;  // batch files found in the run directory
    int criticados = 0;    // files that passed the duplicate check
    int corretos = 0;
    int comErros = 0;
    int importados = 0;
    int semMovimento = 0;
    int arquivosAgravo = 0;  // notification files written
    int arquivosErro = 0;    // error files written

    ContadoresImportacao& operator+=(const ContadoresImportacao& o) {
        selecionados += o.selecionados;
        criticados += o.criticados;
        corretos += o.corretos;
        comErros += o.comErros;
        importados += o.importados;
        semMovimento += o.semMovimento;
        arquivosAgravo += o.arquivosAgravo;
        arquivosErro += o.arquivosErro;
        return *this;
    }
};

// The nine lines of the summary dialog (Label1 to Label9, in label order), each count
// right-aligned in 4 characters. UTF-8.
std::vector<std::string> LinhasResumo(const ContadoresImportacao& c);

// The establishment import's replacement answer: program-wide, NÃO when the program starts,
// changed only by the replacement question.
bool RespostaSubstituicaoRemessa();
void DefineRespostaSubstituicaoRemessa(bool sim);

struct OpcoesImportacao {
    std::string textoCompetencia;  // the competência edit text, MM/YYYY, as it stands at "Executar"
    std::string competencia;       // run competência YYYYMM (fixed by "Localizar"); empty: from the text
    std::vector<std::filesystem::path> arquivos;  // the archives chosen, in list order
    // Asks the replacement question for the batch file named (batch number + ".VLT"); sets the
    // program-wide answer, or leaves it as it was when the question is closed unanswered. Empty:
    // the driver's yes/no question decides.
    std::function<void(const std::string& arquivoVlt)> perguntaSubstituicao;
    EmissorProtocolo* protocolo = nullptr;  // where protocols are drawn; none when null
};

struct ResultadoImportacao {
    // Why the run did not start: the screen puts the focus back where the user must act.
    enum class Recusa { Nenhuma, Competencia, SemArquivos, Gestor, Diretorio };
    Recusa recusa = Recusa::Nenhuma;
    bool executada = false;  // got past the competência, list and directory checks
    bool concluida = false;  // reached the summary (a failing statistics row ends the run before it)
    ContadoresImportacao contadores;
    std::filesystem::path diretorio;                // run directory
    std::vector<std::filesystem::path> protocolos;  // PDF files written
};

// The establishment batch import run: extraction, then every batch file of the run competência
// in name order, each in one transaction of its own: everything a file stores (control rows,
// stored rows, counters, statistics) commits together at the end of its pass or not at all, so
// a run stopped at any moment leaves each batch wholly imported or untouched. Staged rows are
// the pass's scratch and are never committed. A pass's commit runs while the next file is read
// and checked; the extracted file is deleted only after its pass has committed. Throws on
// failures that stop the run (error file not writable, a failing replacement step, protocol not
// writable, a failing commit).
ResultadoImportacao ImportaRemessas(Database& db, Driver& driver, const OpcoesImportacao& opcoes);

// The competência check of "Localizar": the run competência YYYYMM of an edit text MM/YYYY, or
// empty when it is refused (still the empty mask, incomplete, later than the current month, year
// 0000 or month 00).
std::string CompetenciaLocalizar(const std::string& texto);

// "*" + competência + ".VLT" (letters ignoring case), the files a run takes.
bool ArquivoDaCompetencia(const std::string& nome, const std::string& competencia);

}  // namespace velt
