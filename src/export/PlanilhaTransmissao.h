#pragma once
#include <filesystem>
#include <string>

#include "export/RegistroTransmissao.h"

struct lxw_workbook;
struct lxw_worksheet;

namespace velt {

// The workbook of a transmission file's records: one worksheet "Arquivo de Transmissão VELT02"
// with up to three blocks (individualized, consolidated, without movement), each a title row, a
// header row and one row per record, one under the other. Every cell is text. Rows go to disk as
// they are written, so memory stays flat however many records there are.
class PlanilhaTransmissao {
public:
    // IniciaPlanilha: the workbook that SalvaPlanilha will write at `destino`.
    explicit PlanilhaTransmissao(std::filesystem::path destino);
    ~PlanilhaTransmissao();  // a workbook never saved leaves no file
    PlanilhaTransmissao(const PlanilhaTransmissao&) = delete;
    PlanilhaTransmissao& operator=(const PlanilhaTransmissao&) = delete;

    void BlocoIndividualizados();  // title and header rows
    void BlocoConsolidados();
    void BlocoSemMovimento();

    // One record row; `sequencia` is the record's line number in the file. Fields are
    // Windows-1252, as in CamposLidos ([0] unused).
    void LinhaIndividualizado(long sequencia, const CamposLidos& f);
    void LinhaConsolidado(long sequencia, const CamposLidos& f);
    void LinhaSemMovimento(long sequencia, const CamposLidos& f);

    // Writes the workbook at its destination; throws std::runtime_error with the failure's text.
    void SalvaPlanilha();

    const std::filesystem::path& destino() const { return destino_; }
    int proximaLinha() const { return linha_ + 1; }  // 1-based, as the workbook shows it

private:
    void titulo(const char* texto);
    void cabecalho(const char* const* titulos, int quantos);
    void texto(int coluna, std::string_view cp1252);

    std::filesystem::path destino_;
    std::filesystem::path parcial_;
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    int linha_ = 0;  // 0-based row of the next write
};

// The workbook path beside a transmission file: the same name with "xlsx" for its last three
// characters (A.VLT gives A.xlsx).
std::filesystem::path CaminhoPlanilha(const std::filesystem::path& arquivoVlt);

}  // namespace velt
