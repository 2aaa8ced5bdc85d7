#pragma once
#include <array>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

// Fields of a data line of an establishment's batch file, in the order of the line.
enum class CampoRemessa {
    TipoRegistro,
    NomePaciente,
    Logradouro,
    NumeroLogradouro,
    Complemento,
    Municipio,
    UF,
    CEP,
    DataNascimento,
    Sexo,
    CNS,
    Procedimento,
    DiagPrincipal,
    DiagSecundario,
    DataInternacao,
    DataSaida,
    TipoAlta,
    FonteRemuneracao,
    DescricaoProcedimento,
    Operadora,
    CnpjOperadora,
    Beneficiario,
    Obito,
    QtNascidos,
    Nasc1,
    Nasc2,
    Nasc3,
    Nasc4,
    Nasc5,
    DiasUti,
    Prontuario,
    Competencia,
    Quantidade,
    Modalidade,
    Tiss,
};
inline constexpr std::size_t kCamposRemessa = static_cast<std::size_t>(CampoRemessa::Tiss) + 1;

struct PosicaoCampo {
    CampoRemessa campo;
    std::size_t inicio;  // 1-based
    std::size_t largura;
    bool maiusculas;     // converted to capitals (a to z only) while reading
    const char* coluna;  // TB_MOVIMENTO column that receives it
};

// The layout of the data lines written by VELT01 1.0.4 (390 characters).
extern const std::array<PosicaoCampo, kCamposRemessa> kLayoutRemessa;
inline constexpr std::size_t kTamanhoRegistro = 390;

// One data line, split by the layout and normalised. Completions made by the checks replace a
// field's view; the text given must outlive the record's use (literals, reference-cache texts, or
// another field of the same record).
class RegistroRemessa {
public:
    // Splits a line of 389 or 390 characters (a 389-character line loses the last character of the
    // TISS guide) and applies the reading's normalisation: capitals, trimmed source of payment, and
    // for an ambulatory record of modality "01" a blank discharge date and reason completed with the
    // admission date and "18".
    void carrega(std::string_view linha);

    std::string_view operator[](CampoRemessa c) const { return campos_[static_cast<std::size_t>(c)]; }
    void define(CampoRemessa c, std::string_view valor) { campos_[static_cast<std::size_t>(c)] = valor; }
    const std::array<std::string_view, kCamposRemessa>& campos() const { return campos_; }
    char tipo() const { return tamanho_ ? linha_[0] : '\0'; }

private:
    std::array<char, kTamanhoRegistro> linha_{};
    std::size_t tamanho_ = 0;
    std::array<std::string_view, kCamposRemessa> campos_{};
};

// The header (line 1) cut by position; fields past the end of a short line come out shorter or empty.
struct CabecalhoRemessa {
    std::string_view tipo;      // 1
    std::string_view cnes;      // 2-8
    std::string_view versao;    // 9-15
    std::string_view marcador;  // 16-75

    static CabecalhoRemessa corta(std::string_view linha);
};

// Version rule: characters 1, 3 and 5 read as a whole number must be 104 or more. Only the layout of
// the 1.0.4 versions is known, so a later version is refused as well rather than read at guessed
// positions.
bool VersaoAceita(std::string_view versao);

// Origin-marker rule: the marker, shifted back, carries the run competência (MMYYYY) multiplied by 3
// (first decoded character "S") or by 7 at its characters 8 to 14.
bool MarcadorOrigemValido(std::string_view marcador, std::string_view competenciaAAAAMM);

// Reads a text file line by line through a buffer, lines ended by CR LF or by LF alone. Memory does
// not grow with the size of the file.
class LeitorLinhas {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit LeitorLinhas(const std::filesystem::path& arquivo);
    ~LeitorLinhas();
    LeitorLinhas(const LeitorLinhas&) = delete;
    LeitorLinhas& operator=(const LeitorLinhas&) = delete;

    // The next line without its end, valid until the next call; false at the end of the file.
    bool proxima(std::string_view& linha);

private:
    std::FILE* arquivo_ = nullptr;
    std::vector<char> buffer_;
    std::size_t inicio_ = 0, fim_ = 0;
    bool fimArquivo_ = false;
};

}  // namespace velt
