#include "import/ArquivoErros.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace velt {

ArquivoSaida::ArquivoSaida(std::filesystem::path caminho) : caminho_(std::move(caminho)) {}

ArquivoSaida::~ArquivoSaida() {
    if (arquivo_) std::fclose(arquivo_);
}

void ArquivoSaida::falha() {
    const std::string texto = caminho_.string() + ": " + std::strerror(errno);
    if (arquivo_) std::fclose(arquivo_);
    arquivo_ = nullptr;
    throw std::runtime_error(texto);
}

void ArquivoSaida::escreve(std::string_view linha) {
    if (!arquivo_) {
        arquivo_ = std::fopen(caminho_.c_str(), "wb");
        if (!arquivo_) falha();
    }
    if (std::fwrite(linha.data(), 1, linha.size(), arquivo_) != linha.size() ||
        std::fwrite("\r\n", 1, 2, arquivo_) != 2)
        falha();
    ++linhas_;
}

bool ArquivoSaida::fecha() {
    if (!arquivo_) return false;
    std::FILE* f = arquivo_;
    arquivo_ = nullptr;
    if (std::fclose(f) != 0) {
        const std::string texto = caminho_.string() + ": " + std::strerror(errno);
        throw std::runtime_error(texto);
    }
    return true;
}

std::string NumeroLinha(std::int64_t linha) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%10lld", static_cast<long long>(linha));
    return buf;
}

std::filesystem::path NomeArquivoErros(const std::filesystem::path& diretorio, std::string_view remessa) {
    return diretorio / ("E" + std::string(remessa) + ".txt");
}

std::filesystem::path NomeArquivoAgravo(const std::filesystem::path& diretorio, std::string_view remessa) {
    return diretorio / ("Agr" + std::string(remessa) + ".txt");
}

ArquivoErros::ArquivoErros(const std::filesystem::path& diretorio, std::string_view remessa)
    : saida_(NomeArquivoErros(diretorio, remessa)) {}

void ArquivoErros::mensagem(std::int64_t linha, std::string_view mensagem) {
    if (!cabecalho_.empty()) {
        saida_.escreve(cabecalho_);
        cabecalho_.clear();
    }
    std::string texto = NumeroLinha(linha);
    texto += mensagem;
    saida_.escreve(texto);
}

void ArquivoErros::mensagemArquivo(std::string_view texto) {
    cabecalho_.clear();
    saida_.escreve(texto);
}

}  // namespace velt
