#include "data/VeltIni.h"

#include <fstream>
#include <stdexcept>

namespace velt {

std::vector<std::string> LeLinhas(const std::filesystem::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) throw std::runtime_error("Não foi possível abrir o arquivo " + arquivo.string());
    std::vector<std::string> linhas;
    std::string linha;
    while (std::getline(in, linha)) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        linhas.push_back(linha);
    }
    return linhas;
}

ConnectionParams LeVeltIni(const std::filesystem::path& pasta) {
    auto linhas = LeLinhas(pasta / "velt.ini");
    linhas.resize(std::max<std::size_t>(linhas.size(), 3));
    return ConnectionParams{linhas[0], linhas[1], linhas[2]};
}

}  // namespace velt
