#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Driver.h"

// What every reference reload shares: finding its input file, reading it line by line, cutting
// fixed-width fields, and the memo of status lines the screens show.
namespace velt::referencia {

// The file `nome` inside `pasta`, its name matched ignoring case (the authorities' exports come
// in either case). An empty folder stands for the root folder. Returns an empty path when absent.
std::filesystem::path localizaArquivo(const std::filesystem::path& pasta, std::string_view nome);

// Characters at positions ini..fim (1-based, inclusive); shorter when the line ends earlier.
std::string campo(std::string_view linha, std::size_t ini, std::size_t fim);

// Windows-1252 upper case: ASCII letters and the accented letters of the code page.
std::string maiusculas(std::string_view texto);

// Blanks removed at both ends.
std::string apara(std::string_view texto);

// Text without its trailing blanks: how the server compares texts, so in-memory look-ups keyed
// by it answer as "where co_procedimento = :proc" would.
std::string chaveTexto(std::string_view texto);

// Number of lines of a file (a last line without line end counts).
std::int64_t contaLinhas(const std::filesystem::path& arquivo);

// Reads a text file line by line; CR LF and LF line ends both end a line.
class LeitorLinhas {
public:
    explicit LeitorLinhas(const std::filesystem::path& arquivo);  // throws when it cannot be opened
    bool proxima(std::string& linha);

private:
    std::ifstream in_;
};

// The memo of a reload screen: status lines added and replaced as the run goes. Every non-empty
// line written goes to the driver's status line too (velt02-cli prints them on standard error).
class MemoImportacao {
public:
    explicit MemoImportacao(Driver& driver) : driver_(driver) {}
    std::size_t adiciona(std::string linha);
    void substitui(std::size_t indice, std::string linha);
    const std::vector<std::string>& linhas() const { return linhas_; }
    // Called after every change with all lines (a screen redraws its memo from it).
    std::function<void(const std::vector<std::string>&)> aoMudar;

private:
    void avisa(const std::string& linha);
    Driver& driver_;
    std::vector<std::string> linhas_;
};

}  // namespace velt::referencia
