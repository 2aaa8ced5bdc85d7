#include "reference/LeituraReferencia.h"

#include <cctype>
#include <stdexcept>

#include "common/Cp1252.h"

namespace velt::referencia {

namespace fs = std::filesystem;

namespace {
std::string minusculasAscii(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}
}  // namespace

fs::path localizaArquivo(const fs::path& pasta, std::string_view nome) {
    const fs::path base = pasta.empty() ? fs::path("/") : pasta;
    std::error_code ec;
    fs::path exato = base / std::string(nome);
    if (fs::is_regular_file(exato, ec)) return exato;
    const std::string procurado = minusculasAscii(nome);
    for (fs::directory_iterator it(base, ec), fim; !ec && it != fim; it.increment(ec)) {
        if (minusculasAscii(it->path().filename().string()) == procurado && it->is_regular_file(ec)) return it->path();
    }
    return {};
}

std::string campo(std::string_view linha, std::size_t ini, std::size_t fim) {
    if (ini == 0 || ini > linha.size()) return {};
    return std::string(linha.substr(ini - 1, fim - ini + 1));
}

std::string maiusculas(std::string_view texto) {
    std::string r(texto);
    for (auto& c : r) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z')
            b = static_cast<unsigned char>(b - 32);
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7)  // à..þ except ÷
            b = static_cast<unsigned char>(b - 32);
        else if (b == 0x9A || b == 0x9C || b == 0x9E)  // š œ ž
            b = static_cast<unsigned char>(b - 16);
        else if (b == 0xFF)  // ÿ
            b = 0x9F;
        c = static_cast<char>(b);
    }
    return r;
}

std::string apara(std::string_view texto) {
    auto ini = texto.find_first_not_of(' ');
    if (ini == std::string_view::npos) return {};
    auto fim = texto.find_last_not_of(' ');
    return std::string(texto.substr(ini, fim - ini + 1));
}

std::string chaveTexto(std::string_view texto) {
    auto fim = texto.find_last_not_of(' ');
    return fim == std::string_view::npos ? std::string() : std::string(texto.substr(0, fim + 1));
}

std::int64_t contaLinhas(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) return 0;
    std::int64_t linhas = 0;
    char buf[1 << 16];
    char ultimo = '\n';
    while (in) {
        in.read(buf, sizeof buf);
        auto n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i)
            if (buf[i] == '\n') ++linhas;
        if (n > 0) ultimo = buf[n - 1];
    }
    if (ultimo != '\n') ++linhas;
    return linhas;
}

LeitorLinhas::LeitorLinhas(const fs::path& arquivo) : in_(arquivo, std::ios::binary) {
    if (!in_) throw std::runtime_error("Não foi possível abrir o arquivo " + arquivo.string());
}

bool LeitorLinhas::proxima(std::string& linha) {
    if (!std::getline(in_, linha)) return false;
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    return true;
}

std::size_t MemoImportacao::adiciona(std::string linha) {
    linhas_.push_back(std::move(linha));
    avisa(linhas_.back());
    return linhas_.size() - 1;
}

void MemoImportacao::substitui(std::size_t indice, std::string linha) {
    if (indice >= linhas_.size()) linhas_.resize(indice + 1);
    linhas_[indice] = std::move(linha);
    avisa(linhas_[indice]);
}

void MemoImportacao::avisa(const std::string& linha) {
    if (!linha.empty()) driver_.status(linha);
    if (aoMudar) aoMudar(linhas_);
}

}  // namespace velt::referencia
