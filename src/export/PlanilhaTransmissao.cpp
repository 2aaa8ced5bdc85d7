#include "export/PlanilhaTransmissao.h"

#include <xlsxwriter.h>

#include <stdexcept>

#include "common/Cp1252.h"

namespace velt {

namespace fs = std::filesystem;

namespace {

const char* const kCabecalhoIndividualizados[] = {
    "SEQUÊNCIA", "VERSÃO", "TIPO", "CNES", "PRONTUARIO", "DATA INTERNAÇÃO", "DATA SAÍDA", "NOME",
    "DATA NASCIMENTO", "SEXO", "LOGRADOURO", "NÚMERO", "COMPLEMENTO", "CEP", "MUNICÍPIO", "UF", "CNS",
    "PROCEDIMENTO", "DIAGNOSTICO PRI", "DIAGNOSTICO SEC", "ALTA", "FONTE REMUNERAÇÃO", "DESC PROCEDIMENTO",
    "OPERADORA", "CNPJ", "BENEFICIÁRIA", "ÓBITO", "NÚMERO DE NASCIDOS", "DOCDN1", "DOCDN2", "DOCDN3", "DOCDN4",
    "DOCDN5", "UTI", "COMPETÊNCIA", "NOME ARQUIVO", "QUANTIDADE", "MODALIDADE", "GUIATISS"};
const char* const kCabecalhoConsolidados[] = {"SEQUÊNCIA",   "VERSÃO",      "CNES",
                                              "PROCEDIMENTO", "FONTE REMUNERAÇÃO", "OPERADORA",
                                              "COMPETÊNCIA", "NOME ARQUIVO", "QUANTIDADE"};
const char* const kCabecalhoSemMovimento[] = {"SEQUÊNCIA", "VERSÃO", "CNES", "COMPETÊNCIA", "NOME ARQUIVO"};

void confere(lxw_error e) {
    if (e != LXW_NO_ERROR) throw std::runtime_error(std::string("Erro na planilha: ") + lxw_strerror(e));
}

}  // namespace

fs::path CaminhoPlanilha(const fs::path& arquivoVlt) {
    std::string s = arquivoVlt.string();
    s.resize(s.size() >= 3 ? s.size() - 3 : 0);
    return fs::path(s + "xlsx");
}

PlanilhaTransmissao::PlanilhaTransmissao(fs::path destino) : destino_(std::move(destino)) {
    // Written under a name of its own and renamed when saved, so a run that stops leaves nothing.
    parcial_ = destino_;
    parcial_ += ".parcial";
    lxw_workbook_options op{};
    op.constant_memory = LXW_TRUE;
    wb_ = workbook_new_opt(parcial_.c_str(), &op);
    if (!wb_) throw std::runtime_error("Erro ao criar a planilha " + destino_.string());
    lxw_doc_properties props{};
    props.title = const_cast<char*>("Arquivos de Exportação VELT02");
    workbook_set_properties(wb_, &props);
    ws_ = workbook_add_worksheet(wb_, "Arquivo de Transmissão VELT02");
    if (!ws_) throw std::runtime_error("Erro ao criar a planilha " + destino_.string());
}

PlanilhaTransmissao::~PlanilhaTransmissao() {
    if (!wb_) return;
    workbook_close(wb_);
    std::error_code ec;
    fs::remove(parcial_, ec);
}

void PlanilhaTransmissao::texto(int coluna, std::string_view cp1252) {
    std::string utf8 = cp1252::toUtf8(cp1252);
    confere(worksheet_write_string(ws_, static_cast<lxw_row_t>(linha_), static_cast<lxw_col_t>(coluna),
                                   utf8.c_str(), nullptr));
}

void PlanilhaTransmissao::titulo(const char* t) {
    confere(worksheet_write_string(ws_, static_cast<lxw_row_t>(linha_), 0, t, nullptr));
    ++linha_;
}

void PlanilhaTransmissao::cabecalho(const char* const* titulos, int quantos) {
    for (int c = 0; c < quantos; ++c)
        confere(worksheet_write_string(ws_, static_cast<lxw_row_t>(linha_), static_cast<lxw_col_t>(c), titulos[c],
                                       nullptr));
    ++linha_;
}

void PlanilhaTransmissao::BlocoIndividualizados() {
    titulo("REGISTROS INDIVIDUALIZADOS");
    cabecalho(kCabecalhoIndividualizados, 39);
}

void PlanilhaTransmissao::BlocoConsolidados() {
    titulo("REGISTROS CONSOLIDADOS");
    cabecalho(kCabecalhoConsolidados, 9);
}

void PlanilhaTransmissao::BlocoSemMovimento() {
    titulo("REGISTROS SEM MOVIMENTAÇÃO");
    cabecalho(kCabecalhoSemMovimento, 5);
}

void PlanilhaTransmissao::LinhaIndividualizado(long sequencia, const CamposLidos& f) {
    texto(0, std::to_string(sequencia));
    texto(1, f[campo::Versao]);
    texto(2, f[campo::Tipo]);
    texto(3, f[campo::Cnes]);
    // From the medical record number on, column n holds field n.
    for (std::size_t n = campo::Prontuario; n <= kCamposTransmissao; ++n) texto(static_cast<int>(n), f[n]);
    ++linha_;
}

void PlanilhaTransmissao::LinhaConsolidado(long sequencia, const CamposLidos& f) {
    texto(0, std::to_string(sequencia));
    int c = 1;
    for (std::size_t n : {campo::Versao, campo::Cnes, campo::Procedimento, campo::FonteRemuneracao, campo::Operadora,
                          campo::Competencia, campo::NomeArquivo, campo::Quantidade})
        texto(c++, f[n]);
    ++linha_;
}

void PlanilhaTransmissao::LinhaSemMovimento(long sequencia, const CamposLidos& f) {
    texto(0, std::to_string(sequencia));
    int c = 1;
    for (std::size_t n : {campo::Versao, campo::Cnes, campo::Competencia, campo::NomeArquivo}) texto(c++, f[n]);
    ++linha_;
}

void PlanilhaTransmissao::SalvaPlanilha() {
    lxw_workbook* wb = wb_;
    wb_ = nullptr;
    lxw_error e = workbook_close(wb);
    std::error_code ec;
    if (e != LXW_NO_ERROR) {
        fs::remove(parcial_, ec);
        confere(e);
    }
    fs::rename(parcial_, destino_, ec);
    if (ec) {
        fs::remove(parcial_, ec);
        throw std::runtime_error("Erro ao gravar a planilha " + destino_.string() + ": " + ec.message());
    }
}

}  // namespace velt
