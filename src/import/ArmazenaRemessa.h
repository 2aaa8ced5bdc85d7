#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/DataHora.h"
#include "data/Database.h"
#include "import/IndiceTextos.h"

namespace velt {

class CopiaEstagio;
class Driver;

// The figures of a stored batch, for the statistics row and the protocol.
struct EstatisticaRemessa {
    long long inseridos = 0;      // rows of TB_INTERNACAO of the batch + consolidated rows of CNES and month
    long long ambulatoriais = 0;  // sum of the quantities of the individual ambulatory rows
    long long internacoes = 0;    // hospitalisation rows
    long long consolidados = 0;   // sum of the quantities of the consolidated rows
    long long total() const { return ambulatoriais + internacoes + consolidados; }
};

// Stores the staged rows of an accepted batch: patients, hospitalisations and ambulatory
// attendances, consolidated counts. Everything runs inside the caller's transaction. Patient
// matching, overlap checks and the equal-consolidated check answer from in-memory indexes of
// the establishment's stored rows, loaded once per batch and kept up to date as rows are
// stored, so rows stored earlier in the same file take part exactly as on the server.
// The TB_CONTROLE numbers are read once per batch and written back once with their final value.
class ArmazenaRemessa {
public:
    ArmazenaRemessa(Database& db, Driver& driver);
    ~ArmazenaRemessa();

    // Removes what an earlier import of the same batch stored (patients stay).
    void apagaAnteriores(Transaction& tx, const std::string& cnes, const std::string& remessa);
    // Stores every staged row of the batch, in the order the staging table returns them. The
    // staged rows are read through `estagio`, the transaction that staged them; everything stored
    // is written through `tx`.
    void armazena(Transaction& tx, Transaction& estagio, const std::string& cnes, const std::string& remessa,
                  const DataHora& geracao);
    // The same in steps, for a run that stores a batch while the one before it still commits:
    // the staged rows read from their copy, in the order they were staged; the rows stored, numbered after the
    // greater of TB_CONTROLE and `numeracao` (the last numbers this run gave, perhaps not yet
    // committed), which is brought up to date; then, once the batch before has committed, the
    // new numbers written to TB_CONTROLE.
    struct Numeracao {
        std::int64_t paciente = 0, internacao = 0;
    };
    void armazena(Transaction& tx, CopiaEstagio& estagiados, const std::string& cnes,
                  const std::string& remessa, const DataHora& geracao, Numeracao& numeracao);
    void gravaNumeracao(Transaction& tx);
    EstatisticaRemessa estatistica(Transaction& tx, const std::string& cnes, const std::string& competencia,
                                   const std::string& remessa);

    // Rows stored by the last armazena (for tests and the benchmark).
    long long pacientesInseridos() const { return pacientesInseridos_; }
    long long internacoesInseridas() const { return internacoesInseridas_; }
    long long consolidadosInseridos() const { return consolidadosInseridos_; }

private:
    // A patient of the establishment. The patients of one key chain newest first.
    struct Paciente {
        std::int64_t seq;
        std::string_view cns;  // NU_CNS as the database returns it, kept in the index's texts
        bool cnsNulo;
        std::uint32_t proximo;
    };
    // A stored attendance. Those of one (record number, patient number) chain together.
    struct Internacao {
        enum Texto { Modalidade, Procedimento, Fonte, Entrada, Saida };
        std::int64_t seq;     // NU_SEQ_ID_PACIENTE
        const char* textos;   // the five texts one after the other, without trailing blanks; dates YYYYMMDD
        std::array<std::uint16_t, 5> tamanhos;
        bool semProcedimento, semFonte, semSaida;  // NULL on the server: never equal
        std::uint32_t proximo;
        std::string_view texto(Texto t) const;
    };
    struct Consolidado {
        std::optional<std::string> procedimento, fonte, operadora;  // without trailing blanks
    };
    struct Registro;

    // Stores the rows that `proxima` gives one at a time (the staged columns in a fixed order).
    template <class Proxima>
    void armazenaLinhas(Transaction& tx, Proxima&& proxima, const std::string& cnes, const std::string& remessa,
                        const DataHora& geracao, Numeracao& numeracao);
    void carregaIndices(Transaction& tx, const std::string& cnes);
    void passoPaciente(Transaction& tx, const Registro& r);
    void passoInternacao(Transaction& tx, const Registro& r, const std::string& remessa,
                         const DataHora& geracao);
    void passoConsolidado(Transaction& tx, const Registro& r, const std::string& remessa,
                          const DataHora& geracao);
    bool sobrepoe(const Registro& r, std::int64_t seqPaciente);
    std::uint32_t& pacientesDaChave(const Registro& r);
    void novoPaciente(std::uint32_t& primeiro, std::int64_t seq, std::optional<std::string_view> cns);
    void novaInternacao(std::int64_t seq, std::string_view pront, std::string_view modalidade,
                        std::optional<std::string_view> procedimento, std::optional<std::string_view> fonte,
                        std::string_view entrada, std::optional<std::string_view> saida);
    const std::string& chaveInternacoes(std::string_view pront, std::int64_t seqPaciente);
    void liberaIndices();
    std::int64_t leControle(Transaction& tx, const char* campo);
    void gravaControle(Transaction& tx, const char* campo, std::int64_t valor);

    Driver& driver_;
    Statement insPaciente_, updPaciente_, updPacienteCns_, insInternacao_, insConsolidado_,
        selConsolidado_, selControle_, updControle_, delInternacao_, delConsolidado_, selPacientes_,
        selInternacoes_;
    Statement totInternacoes_, somaIndividuais_, somaConsolidados_;

    // Patients of the establishment by (record number, birth date, name, sex), newest first, and
    // its stored attendances by (record number, patient number): chains of entries whose heads
    // the key index holds.
    IndiceTextos indice_;
    IndiceTextos indiceInternacoes_;
    std::vector<Paciente> pacientes_;
    std::vector<Internacao> internacoes_;
    std::string chave_;  // the key being looked up
    // Consolidated rows of the establishment, loaded per competência when first asked.
    std::map<std::string, std::vector<Consolidado>> consolidados_;
    std::int64_t seqPac_ = 0, seqInt_ = 0;
    std::int64_t pacLido_ = 0, intLido_ = 0;  // TB_CONTROLE as read by the last armazena
    long long pacientesInseridos_ = 0, internacoesInseridas_ = 0, consolidadosInseridos_ = 0;
};

// The server's text comparison: the shorter text is padded with blanks.
int ComparaTexto(std::string_view a, std::string_view b);
// DDMMYYYY rewritten YYYYMMDD with the server's substring rule (short texts give short pieces).
std::string DataInvertida(std::string_view ddmmyyyy);

}  // namespace velt
