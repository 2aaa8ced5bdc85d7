#include "import/CopiaEstagio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace velt {

namespace {

// Each row: the length of every column (two bytes each), then their texts one after the other.
constexpr std::size_t kCabecalho = (kCamposRemessa + 1) * sizeof(std::uint16_t);

}  // namespace

CopiaEstagio::CopiaEstagio() : arquivo_(std::tmpfile()) {
    if (!arquivo_) falha("criar");
    linha_.reserve(kCabecalho + kTamanhoRegistro + 16);
}

CopiaEstagio::~CopiaEstagio() {
    if (arquivo_) std::fclose(arquivo_);  // a temporary file: gone once closed
}

void CopiaEstagio::falha(const char* acao) const {
    throw std::runtime_error(std::string("Não foi possível ") + acao +
                             " a cópia temporária dos registros da remessa: " + std::strerror(errno));
}

void CopiaEstagio::recomeca() {
    linhas_ = lidas_ = 0;
    if (std::fseek(arquivo_, 0, SEEK_SET) != 0) falha("regravar");
}

void CopiaEstagio::acrescenta(std::string_view cnes, const std::array<std::string_view, kCamposRemessa>& campos) {
    linha_.assign(kCabecalho, '\0');
    auto coluna = [&](std::size_t i, std::string_view v) {
        // Every staged text fits the 60 characters of the widest column; the cap only guards the format.
        const auto n = static_cast<std::uint16_t>(std::min<std::size_t>(v.size(), 0xffff));
        std::memcpy(linha_.data() + i * sizeof n, &n, sizeof n);
        linha_.append(v.data(), n);
    };
    for (std::size_t i = 0; i < kCamposRemessa; ++i) coluna(i, campos[i]);
    coluna(kCamposRemessa, cnes);
    if (std::fwrite(linha_.data(), 1, linha_.size(), arquivo_) != linha_.size()) falha("gravar");
    ++linhas_;
}

void CopiaEstagio::releitura() {
    lidas_ = 0;
    if (std::fflush(arquivo_) != 0 || std::fseek(arquivo_, 0, SEEK_SET) != 0) falha("ler");
}

bool CopiaEstagio::proxima() {
    if (lidas_ == linhas_) return false;
    std::array<std::uint16_t, kColunas> tamanhos;
    if (std::fread(tamanhos.data(), 1, kCabecalho, arquivo_) != kCabecalho) falha("ler");
    std::size_t total = 0;
    for (auto n : tamanhos) total += n;
    linha_.resize(total);
    if (total && std::fread(linha_.data(), 1, total, arquivo_) != total) falha("ler");
    std::size_t inicio = 0;
    for (std::size_t i = 0; i < kColunas; ++i) {
        campos_[i] = std::string_view(linha_).substr(inicio, tamanhos[i]);
        inicio += tamanhos[i];
    }
    ++lidas_;
    return true;
}

}  // namespace velt
