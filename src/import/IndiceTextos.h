#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace velt {

// Text keys, each with one number (for its user, the first entry of a chain of rows), and other
// texts kept beside them, all in blocks that never move. Made for the in-memory indexes of an
// establishment's stored rows: a few bytes per key beyond its text, where a map of strings
// spends well over a hundred.
class IndiceTextos {
public:
    static constexpr std::uint32_t kNenhum = 0xffffffff;

    // The number of the key, or null when the key is not there.
    std::uint32_t* acha(std::string_view chave);
    // The number of the key, added with kNenhum when it was not there. The reference lasts until
    // the next key is added; the place of a key (chave()) lasts as long as the index.
    std::uint32_t& entrada(std::string_view texto) { return numero(chave(texto)); }
    std::uint32_t chave(std::string_view texto);
    std::uint32_t& numero(std::uint32_t chave) { return chaves_[chave].numero; }
    // Keeps a text for as long as the index: the view returned stays valid until limpa().
    std::string_view guarda(std::string_view texto);
    std::size_t chaves() const { return chaves_.size(); }
    // Forgets everything and gives its memory back.
    void limpa();

private:
    struct Chave {
        const char* texto;
        std::uint32_t tamanho;
        std::uint32_t numero;
    };
    // Where the key is, or the free slot where it would go.
    std::size_t posicao(std::string_view chave) const;
    void amplia();

    std::vector<Chave> chaves_;
    std::vector<std::uint32_t> posicoes_;  // 1 + index into chaves_; 0 free. A power of two, at most half full.
    std::vector<std::unique_ptr<char[]>> blocos_;
    char* livre_ = nullptr;  // free room in the last block
    std::size_t restante_ = 0;
};

}  // namespace velt
