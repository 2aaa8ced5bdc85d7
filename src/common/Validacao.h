#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DataHora.h"

// Shared validators and text helpers. Texts are Windows-1252 bytes; positions count from 1.
// The validators never throw: a malformed text is simply invalid.
namespace velt {

class Database;

// Kinds of text answered by TipoConteudo. The checks compare these numbers, so they are fixed.
namespace tipo {
constexpr int Vazio = 0;             // empty text
constexpr int Brancos = 1;           // only blanks, or a lone sign
constexpr int ZeroComBrancos = 2;    // zero written with leading blanks
constexpr int Zero = 3;              // zero, no leading blank
constexpr int NumeroComBrancos = 4;  // non-zero whole number with leading blanks
constexpr int Numero = 5;            // non-zero whole number, no leading blank (leading zeros allowed)
constexpr int Outro = 6;             // anything else
}  // namespace tipo

// The 64-bit decimal reading the checks rely on: leading blanks skipped, one optional sign, then
// decimal digits up to the end. `valor` holds what was read up to the failure; `posicaoFalha`
// is the 1-based position where reading stopped (0 when it succeeded). A value beyond 64 bits
// fails at the digit that overflows.
struct LeituraInteiro {
    bool ok = false;
    std::int64_t valor = 0;
    std::size_t posicaoFalha = 0;
};
LeituraInteiro LeInteiro(std::string_view s);
// The value when the whole text reads as a number.
std::optional<std::int64_t> ComoInteiro(std::string_view s);

int TipoConteudo(std::string_view s);

bool ValidaData(std::string_view ddmmyyyy);
bool ValidaCompetencia(std::string_view mm_barra_yyyy);
bool ValidaCNS(std::string_view s);
bool ValidaCNSProvisorio(std::string_view s);
bool ValidaCNSDefinitivo(std::string_view s);
bool ValidaCNPJ(std::string_view s);
bool ValidaCNES(std::string_view s);

// digitos followed by its modulo-11 check digit over `quantidade` characters. Weights are single
// characters, "a" meaning 10 and "b" 11; a non-digit counts 0.
std::string DigitoModulo11(std::string_view digitos, std::size_t quantidade, std::string_view pesos,
                           bool permiteX);
// Whether character `posicao` of s is the check digit of the characters before it.
bool ConfereDigito(std::string_view s, std::size_t posicao, std::string_view pesos, bool permiteX);

bool SoDigitos(std::string_view s);  // the empty text answers yes

// Trim blanks at both ends, then fill to `tamanho` in front / behind. Never cuts.
std::string CompletaEsquerda(std::string_view s, std::size_t tamanho, char preenche);
std::string CompletaDireita(std::string_view s, std::size_t tamanho, char preenche);
// d/m/yyyy, d/mm/yyyy, dd/m/yyyy or dd/mm/yyyy to dd/mm/yyyy; any other length gives "".
std::string CompletaData(std::string_view data);

std::string TrocaAspas(std::string_view s);       // " ' : ` become blanks
std::string RetiraPontuacao(std::string_view s);  // drops blanks and ' , / . -

// The file name between the last folder separator ("\" or "/") and the last four characters
// (the batch number of a batch file path).
std::string NomeSemExtensao(std::string_view caminho);

// Deletes every file of the mask's folder matching its wildcards ("*", "?"; letters ignoring case;
// "*.*" matches every file). Read-only files included, folders never.
void ApagaArquivos(std::string_view mascara);

// Lines of a text file (a last line without line break counts); 0 when it does not exist.
long ContaLinhas(const std::filesystem::path& arquivo);

// Today as the screens that ask for a competência use it.
struct DataAtual {
    DataHora DataHoje;
    std::string TextoHoje;  // dd/mm/yyyy
    std::string AnoAtual;   // yyyy
    std::string MesAtual;   // mm
};
DataAtual LeDataAtual();  // from the program's clock (agora())

// The states, ordered by name (at most 27 entries), texts as stored.
struct EntradaUF {
    std::string Estado;  // DS_UF
    std::string Sigla;   // CO_SIGLA
    std::string Codigo;  // CO_UF, the two-digit IBGE code
};
using TabelaUF = std::vector<EntradaUF>;
// Reads TB_ESTADO. Lives in the manager's library (gestor/TabelaUF.cpp), which links the data
// layer; this library stays below it.
TabelaUF CarregaTabelaUF(Database& db);

}  // namespace velt
