#include "import/IndiceTextos.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace velt {

namespace {

constexpr std::size_t kBloco = 256 * 1024;
constexpr std::size_t kPosicoesIniciais = 1024;

}  // namespace

std::size_t IndiceTextos::posicao(std::string_view chave) const {
    const std::size_t mascara = posicoes_.size() - 1;
    std::size_t p = std::hash<std::string_view>{}(chave) & mascara;
    for (;;) {
        const std::uint32_t i = posicoes_[p];
        if (i == 0) return p;
        const Chave& k = chaves_[i - 1];
        if (k.tamanho == chave.size() && std::memcmp(k.texto, chave.data(), chave.size()) == 0) return p;
        p = (p + 1) & mascara;
    }
}

std::uint32_t* IndiceTextos::acha(std::string_view chave) {
    if (posicoes_.empty()) return nullptr;
    const std::uint32_t i = posicoes_[posicao(chave)];
    return i == 0 ? nullptr : &chaves_[i - 1].numero;
}

std::uint32_t IndiceTextos::chave(std::string_view texto) {
    if ((chaves_.size() + 1) * 2 > posicoes_.size()) amplia();
    const std::size_t p = posicao(texto);
    if (posicoes_[p] == 0) {
        const std::string_view guardada = guarda(texto);
        chaves_.push_back(Chave{guardada.data(), static_cast<std::uint32_t>(guardada.size()), kNenhum});
        posicoes_[p] = static_cast<std::uint32_t>(chaves_.size());
    }
    return posicoes_[p] - 1;
}

void IndiceTextos::amplia() {
    std::vector<std::uint32_t> novas(std::max(kPosicoesIniciais, posicoes_.size() * 2), 0);
    const std::size_t mascara = novas.size() - 1;
    for (std::size_t i = 0; i < chaves_.size(); ++i) {
        std::size_t p = std::hash<std::string_view>{}(std::string_view(chaves_[i].texto, chaves_[i].tamanho)) & mascara;
        while (novas[p] != 0) p = (p + 1) & mascara;
        novas[p] = static_cast<std::uint32_t>(i + 1);
    }
    posicoes_ = std::move(novas);
}

std::string_view IndiceTextos::guarda(std::string_view texto) {
    if (texto.empty()) return {};
    if (restante_ < texto.size()) {
        const std::size_t n = std::max(kBloco, texto.size());
        blocos_.push_back(std::make_unique<char[]>(n));
        livre_ = blocos_.back().get();
        restante_ = n;
    }
    std::memcpy(livre_, texto.data(), texto.size());
    const std::string_view r(livre_, texto.size());
    livre_ += texto.size();
    restante_ -= texto.size();
    return r;
}

void IndiceTextos::limpa() {
    decltype(chaves_)().swap(chaves_);
    decltype(posicoes_)().swap(posicoes_);
    decltype(blocos_)().swap(blocos_);
    livre_ = nullptr;
    restante_ = 0;
}

}  // namespace velt
