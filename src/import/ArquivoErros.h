#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace velt {

// A text file of the import written line by line (Windows-1252 bytes, CR LF), created on its
// first line of a pass, emptying any older file of that name. A pass that writes nothing leaves an
// older file in place. A failure to write throws std::runtime_error with the system's text.
class ArquivoSaida {
public:
    explicit ArquivoSaida(std::filesystem::path caminho);
    ~ArquivoSaida();
    ArquivoSaida(const ArquivoSaida&) = delete;
    ArquivoSaida& operator=(const ArquivoSaida&) = delete;

    void escreve(std::string_view linha);
    // Closes the file when it was opened; true when it was.
    bool fecha();
    bool aberto() const { return arquivo_ != nullptr; }
    std::int64_t linhas() const { return linhas_; }
    const std::filesystem::path& caminho() const { return caminho_; }

private:
    void falha();
    std::filesystem::path caminho_;
    std::FILE* arquivo_ = nullptr;
    std::int64_t linhas_ = 0;
};

// The error file of a batch: run directory + "E" + batch number + ".txt". Messages about a record
// come after the record's heading, written once before its first message.
class ArquivoErros {
public:
    ArquivoErros(const std::filesystem::path& diretorio, std::string_view remessa);

    // The heading of the record about to be checked; an empty text for a record without heading.
    void preparaCabecalho(std::string_view cabecalho) { cabecalho_.assign(cabecalho); }
    // The line number right-aligned in 10 characters followed directly by the message
    // (Windows-1252), after the pending heading if there is one.
    void mensagem(std::int64_t linha, std::string_view mensagem);
    // A file message written as it stands, never under a heading.
    void mensagemArquivo(std::string_view texto);

    ArquivoSaida& saida() { return saida_; }

private:
    ArquivoSaida saida_;
    std::string cabecalho_;
};

// The line number right-aligned in 10 characters, as every line of the error file begins.
std::string NumeroLinha(std::int64_t linha);

std::filesystem::path NomeArquivoErros(const std::filesystem::path& diretorio, std::string_view remessa);
std::filesystem::path NomeArquivoAgravo(const std::filesystem::path& diretorio, std::string_view remessa);

}  // namespace velt
