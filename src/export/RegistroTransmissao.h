#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velt {

class Cursor;

// The transmission file: one 416-character line per record (Windows-1252), CR LF after each,
// one byte 26 after the last. Field positions are byte positions.
constexpr std::size_t kTamanhoLinhaTransmissao = 416;
constexpr std::size_t kCamposTransmissao = 38;
constexpr const char* kVersaoLayout = "1.0.5.0";
constexpr char kFimArquivoTransmissao = 26;

struct CampoTransmissao {
    std::size_t inicio;  // 1-based, as the layout is written
    std::size_t largura;
};
extern const std::array<CampoTransmissao, kCamposTransmissao> kLayoutTransmissao;

// Field numbers of the layout (1-based, as the layout names them).
namespace campo {
enum : std::size_t {
    Tipo = 1, Versao, Cnes, Prontuario, DataInternacao, DataSaida, Nome, DataNascimento, Sexo, Logradouro,
    NumeroLogradouro, Complemento, Cep, Municipio, Uf, Cns, Procedimento, DiagPrincipal, DiagSecundario,
    TipoAlta, FonteRemuneracao, DescProcedimento, Operadora, CnpjOperadora, Beneficiario, Obito, QtNascidos,
    Nascido1, Nascido2, Nascido3, Nascido4, Nascido5, Uti, Competencia, NomeArquivo, Quantidade, Modalidade,
    GuiaTiss
};
}

// One record under construction: each field exactly its width once filled. Fields 1 to 3 start
// empty, every other one as blanks; field 35 (file name) is never filled here: it comes from
// the run when the line is built.
struct RegistroTransmissao {
    std::array<std::string, kCamposTransmissao + 1> campos;  // [0] unused
    std::string linha;

    std::string& operator[](std::size_t n) { return campos[n]; }
    const std::string& operator[](std::size_t n) const { return campos[n]; }
};

// The stored rows a record is filled from: the select lists below, read by position.
extern const char* const kSqlIndividualizados;  // parameter :cmpt
extern const char* const kSqlConsolidados;      // parameter :cmpt
extern const char* const kSqlSemMovimento;      // parameters :cmpt, :st

void LimpaRegistroTransmissao(RegistroTransmissao& r);
// From the current row of kSqlIndividualizados: type "4" for modality "01" (discharge date and
// reason left blank), type "2" otherwise.
void PreencheIndividualizado(RegistroTransmissao& r, const Cursor& linha, std::string_view competencia);
// From the current row of kSqlConsolidados.
void PreencheConsolidado(RegistroTransmissao& r, const Cursor& linha, std::string_view competencia);
// An establishment without movement.
void PreencheSemMovimento(RegistroTransmissao& r, std::string_view cnes, std::string_view competencia);
// The 38 fields in order, field 35 being the transmission file's base name; also kept in r.linha.
const std::string& MontaLinhaTransmissao(RegistroTransmissao& r, std::string_view nomeArquivo);

// Fill rules: TP trims both ends, pads with blanks and cuts to the width; AS takes the value as
// stored, cut or padded with blanks.
std::string PreencheTP(std::string_view valor, std::size_t largura);
std::string PreencheAS(std::string_view valor, std::size_t largura);

// The 38 fields of a line cut at their positions, as written ([0] unused); a short line gives
// short or empty fields.
using CamposLidos = std::array<std::string, kCamposTransmissao + 1>;
CamposLidos CortaLinhaTransmissao(std::string_view linha);

// The fields as the workbook-from-file shows them: every field trimmed at both ends; name, sex,
// street, complement, state and procedure description in capitals; in the name, each run of
// three blanks first becomes one blank.
CamposLidos LeLinhaTransmissao(std::string_view linha);

}  // namespace velt
