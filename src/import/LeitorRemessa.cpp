#include "import/LeitorRemessa.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "common/Catalogo.h"

namespace velt {

using C = CampoRemessa;

const std::array<PosicaoCampo, kCamposRemessa> kLayoutRemessa = {{
    {C::TipoRegistro, 1, 1, false, "TP_REGISTRO"},
    {C::NomePaciente, 2, 60, true, "NO_PACIENTE"},
    {C::Logradouro, 62, 25, true, "DS_LOGRADOURO"},
    {C::NumeroLogradouro, 87, 5, false, "NU_LOGRADOURO"},
    {C::Complemento, 92, 15, true, "DS_COMPLEMENTO"},
    {C::Municipio, 107, 6, false, "CO_MUNICIPIO"},
    {C::UF, 113, 2, true, "CO_UF"},
    {C::CEP, 115, 8, false, "CO_CEP"},
    {C::DataNascimento, 123, 8, false, "DT_NASC_PACIENTE"},
    {C::Sexo, 131, 1, true, "CO_SEXO"},
    {C::CNS, 132, 15, false, "NU_CNS"},
    {C::Procedimento, 147, 10, false, "CO_PROCED_REALIZADO"},
    {C::DiagPrincipal, 157, 4, false, "CO_DIAG_PRIN"},
    {C::DiagSecundario, 161, 4, false, "CO_DIAG_SEC"},
    {C::DataInternacao, 165, 8, false, "DT_INTERNACAO"},
    {C::DataSaida, 173, 8, false, "DT_SAIDA"},
    {C::TipoAlta, 181, 2, false, "CO_TIPO_ALTA"},
    {C::FonteRemuneracao, 183, 2, false, "CO_FONTE_REMUNERA"},
    {C::DescricaoProcedimento, 185, 40, true, "DS_PROCED"},
    {C::Operadora, 225, 6, false, "CO_OPERADORA"},
    {C::CnpjOperadora, 231, 14, false, "NU_OPERADORA"},
    {C::Beneficiario, 245, 30, false, "CO_BENEFICIARIO"},
    {C::Obito, 275, 11, false, "NU_OBITO"},
    {C::QtNascidos, 286, 1, false, "QT_NASC"},
    {C::Nasc1, 287, 11, false, "NU_NASC1"},
    {C::Nasc2, 298, 11, false, "NU_NASC2"},
    {C::Nasc3, 309, 11, false, "NU_NASC3"},
    {C::Nasc4, 320, 11, false, "NU_NASC4"},
    {C::Nasc5, 331, 11, false, "NU_NASC5"},
    {C::DiasUti, 342, 3, false, "QT_DIASUTI"},
    {C::Prontuario, 345, 12, false, "NU_PRONTUARIO"},
    {C::Competencia, 357, 6, false, "DT_COMPETENCIA"},
    {C::Quantidade, 363, 6, false, "NU_QUANTIDADE"},
    {C::Modalidade, 369, 2, false, "CO_MODALIDADE"},
    {C::Tiss, 371, 20, false, "NU_TISS"},
}};

namespace {

std::string_view corte(std::string_view s, std::size_t inicio, std::size_t largura) {
    if (inicio - 1 >= s.size()) return {};
    return s.substr(inicio - 1, largura);
}

std::string_view apara(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

constexpr std::size_t kMaiorBuffer = 8u << 20;

bool soBrancos(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// Capitals for a to z only, eight bytes at a time: a byte is changed when its high bit is clear
// and it lies between 'a' and 'z'; accented letters and every other byte stay as they are.
void maiusculas(char* p, std::size_t n) {
    constexpr std::uint64_t kUm = 0x0101010101010101ULL;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, p + i, 8);
        const std::uint64_t sete = x & (0x7f * kUm);
        const std::uint64_t aPartir = sete + (0x80 - 'a') * kUm;     // high bit: at least 'a'
        const std::uint64_t depois = sete + (0x80 - 'z' - 1) * kUm;  // high bit: beyond 'z'
        const std::uint64_t minuscula = aPartir & ~depois & ~x & (0x80 * kUm);
        x ^= minuscula >> 2;
        std::memcpy(p + i, &x, 8);
    }
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c >= 'a' && c <= 'z') p[i] = static_cast<char>(c - 32);
    }
}

}  // namespace

void RegistroRemessa::carrega(std::string_view linha) {
    tamanho_ = std::min(linha.size(), kTamanhoRegistro);
    std::memcpy(linha_.data(), linha.data(), tamanho_);
    const std::string_view texto(linha_.data(), tamanho_);
    for (const auto& p : kLayoutRemessa) {
        if (p.maiusculas && p.inicio <= tamanho_)
            maiusculas(linha_.data() + p.inicio - 1, std::min(p.largura, tamanho_ - (p.inicio - 1)));
        campos_[static_cast<std::size_t>(p.campo)] = corte(texto, p.inicio, p.largura);
    }
    define(C::FonteRemuneracao, apara((*this)[C::FonteRemuneracao]));
    if (tipo() == '4' && (*this)[C::Modalidade] == "01") {
        if (soBrancos((*this)[C::DataSaida])) define(C::DataSaida, (*this)[C::DataInternacao]);
        if (soBrancos((*this)[C::TipoAlta])) define(C::TipoAlta, "18");
    }
}

CabecalhoRemessa CabecalhoRemessa::corta(std::string_view linha) {
    return {corte(linha, 1, 1), corte(linha, 2, 7), corte(linha, 9, 7), corte(linha, 16, 60)};
}

bool VersaoAceita(std::string_view versao) {
    if (versao.size() < 5) return false;
    const char digitos[3] = {versao[0], versao[2], versao[4]};
    const auto numero = ComoInteiro(std::string_view(digitos, 3));
    if (!numero || *numero < 104) return false;
    return versao.substr(0, 5) == "1.0.4";
}

bool MarcadorOrigemValido(std::string_view marcador, std::string_view competenciaAAAAMM) {
    const std::string decodificado = DeslocaCaracteres(marcador);
    if (competenciaAAAAMM.size() != 6) return false;
    const std::string mmaaaa =
        std::string(competenciaAAAAMM.substr(4, 2)) + std::string(competenciaAAAAMM.substr(0, 4));
    const auto competencia = ComoInteiro(mmaaaa);
    if (!competencia) return false;
    const int multiplicador = !decodificado.empty() && decodificado[0] == 'S' ? 3 : 7;
    const std::string produto = std::to_string(*competencia * multiplicador);
    return apara(produto) == apara(corte(decodificado, 8, 7));
}

LeitorLinhas::LeitorLinhas(const std::filesystem::path& arquivo) : buffer_(1 << 20) {
    arquivo_ = std::fopen(arquivo.c_str(), "rb");
    if (!arquivo_) throw std::runtime_error(arquivo.string() + ": " + std::strerror(errno));
}

LeitorLinhas::~LeitorLinhas() {
    if (arquivo_) std::fclose(arquivo_);
}

bool LeitorLinhas::proxima(std::string_view& linha) {
    for (;;) {
        const char* base = buffer_.data();
        if (const void* nl = std::memchr(base + inicio_, '\n', fim_ - inicio_)) {
            const std::size_t pos = static_cast<const char*>(nl) - base;
            std::size_t fimLinha = pos;
            if (fimLinha > inicio_ && base[fimLinha - 1] == '\r') --fimLinha;
            linha = std::string_view(base + inicio_, fimLinha - inicio_);
            inicio_ = pos + 1;
            return true;
        }
        if (fimArquivo_) {
            if (inicio_ == fim_) return false;
            std::size_t fimLinha = fim_;
            if (base[fimLinha - 1] == '\r') --fimLinha;
            linha = std::string_view(base + inicio_, fimLinha - inicio_);
            inicio_ = fim_;
            return true;
        }
        // Keep the incomplete line at the start of the buffer and fill the rest.
        if (inicio_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + inicio_, fim_ - inicio_);
            fim_ -= inicio_;
            inicio_ = 0;
        }
        if (fim_ == buffer_.size()) {
            // A line this long is no batch line: hand it out in pieces rather than hold it whole.
            if (buffer_.size() >= kMaiorBuffer) {
                linha = std::string_view(buffer_.data(), fim_);
                inicio_ = fim_;
                return true;
            }
            buffer_.resize(buffer_.size() * 2);
        }
        const std::size_t lidos = std::fread(buffer_.data() + fim_, 1, buffer_.size() - fim_, arquivo_);
        if (lidos == 0) {
            if (std::ferror(arquivo_)) throw std::runtime_error(std::strerror(errno));
            fimArquivo_ = true;
        }
        fim_ += lidos;
    }
}

}  // namespace velt
