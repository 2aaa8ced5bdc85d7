#include "common/Validacao.h"

#include <array>
#include <fstream>
#include <limits>
#include <system_error>

namespace velt {

namespace fs = std::filesystem;

namespace {

bool ehDigito(char c) {
    return c >= '0' && c <= '9';
}

// Copy(s, inicio, n) with 1-based start: out-of-range parts are simply shorter.
std::string_view copia(std::string_view s, std::size_t inicio, std::size_t n) {
    if (inicio < 1 || inicio > s.size()) return {};
    return s.substr(inicio - 1, n);
}

std::string_view apara(std::string_view s) {
    std::size_t i = 0, f = s.size();
    while (i < f && s[i] == ' ') ++i;
    while (f > i && s[f - 1] == ' ') --f;
    return s.substr(i, f - i);
}

char minuscula(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Wildcards of a file mask as the system's file search reads them.
bool casaMascara(std::string_view nome, std::string_view mascara) {
    if (mascara == "*.*" || mascara == "*") return true;
    std::size_t n = 0, m = 0, estrela = std::string_view::npos, volta = 0;
    while (n < nome.size()) {
        if (m < mascara.size() && (mascara[m] == '?' || minuscula(mascara[m]) == minuscula(nome[n]))) {
            ++n;
            ++m;
        } else if (m < mascara.size() && mascara[m] == '*') {
            estrela = m++;
            volta = n;
        } else if (estrela != std::string_view::npos) {
            m = estrela + 1;
            n = ++volta;
        } else {
            return false;
        }
    }
    while (m < mascara.size() && mascara[m] == '*') ++m;
    return m == mascara.size();
}

std::size_t ultimoSeparador(std::string_view s) {
    return s.find_last_of("\\/");
}

}  // namespace

LeituraInteiro LeInteiro(std::string_view s) {
    LeituraInteiro r;
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negativo = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativo = s[i++] == '-';
    const std::uint64_t limite = negativo ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                          : std::numeric_limits<std::int64_t>::max();
    std::uint64_t v = 0;
    bool algumDigito = false;
    for (; i < s.size(); ++i) {
        if (!ehDigito(s[i])) break;
        std::uint64_t d = std::uint64_t(s[i] - '0');
        if (v > (limite - d) / 10) break;  // overflow: fails at this digit
        v = v * 10 + d;
        algumDigito = true;
    }
    r.valor = negativo ? std::int64_t(0 - v) : std::int64_t(v);
    if (i == s.size() && algumDigito) {
        r.ok = true;
        return r;
    }
    r.posicaoFalha = i + 1;
    return r;
}

std::optional<std::int64_t> ComoInteiro(std::string_view s) {
    auto r = LeInteiro(s);
    if (!r.ok) return std::nullopt;
    return r.valor;
}

int TipoConteudo(std::string_view s) {
    if (s.empty()) return tipo::Vazio;
    auto r = LeInteiro(s);
    bool brancoInicial = s.front() == ' ';
    if (!r.ok) return (r.posicaoFalha == s.size() + 1 && r.valor == 0) ? tipo::Brancos : tipo::Outro;
    if (r.valor == 0) return brancoInicial ? tipo::ZeroComBrancos : tipo::Zero;
    return brancoInicial ? tipo::NumeroComBrancos : tipo::Numero;
}

bool ValidaData(std::string_view s) {
    auto dia = ComoInteiro(copia(s, 1, 2));
    auto mes = ComoInteiro(copia(s, 3, 2));
    auto ano = ComoInteiro(copia(s, 5, 4));
    if (!dia || !mes || !ano) return false;
    if (*dia < 1 || *dia > 31 || *mes < 1 || *mes > 12 || *ano < 1800) return false;
    return !(*mes == 2 && *dia > 29);
}

bool ValidaCompetencia(std::string_view s) {
    std::string t(copia(s, 1, 2));
    t += copia(s, 4, 4);
    int k = TipoConteudo(t);
    if (k != tipo::NumeroComBrancos && k != tipo::Numero) return false;
    return ValidaData("11" + t);
}

bool SoDigitos(std::string_view s) {
    for (char c : s)
        if (!ehDigito(c)) return false;
    return true;
}

bool ValidaCNSProvisorio(std::string_view s) {
    if (s.size() < 15 || !SoDigitos(s.substr(0, 15))) return false;
    int soma = 0;
    for (int i = 1; i <= 15; ++i) soma += (s[i - 1] - '0') * (16 - i);
    return soma % 11 == 0;
}

bool ValidaCNSDefinitivo(std::string_view s) {
    if (s.size() < 11 || !SoDigitos(s.substr(0, 11))) return false;
    std::string p(s.substr(0, 11));
    int soma = 0;
    for (int i = 1; i <= 11; ++i) soma += (p[i - 1] - '0') * (16 - i);
    int dv = 11 - soma % 11;
    if (dv == 11) dv = 0;
    std::string esperado;
    if (dv == 10) {
        int dv2 = 11 - (soma + 2) % 11;
        esperado = p + "001" + std::to_string(dv2);
    } else {
        esperado = p + "000" + std::to_string(dv);
    }
    return s == esperado;
}

bool ValidaCNS(std::string_view s) {
    if (apara(s).size() != 15 || !SoDigitos(s)) return false;
    if (s[0] == '7' || s[0] == '8' || s[0] == '9') return ValidaCNSProvisorio(s);
    return ValidaCNSDefinitivo(s);
}

std::string DigitoModulo11(std::string_view digitos, std::size_t quantidade, std::string_view pesos,
                           bool permiteX) {
    long soma = 0;
    for (std::size_t i = 0; i < quantidade; ++i) {
        int d = (i < digitos.size() && ehDigito(digitos[i])) ? digitos[i] - '0' : 0;
        int p = 0;
        if (i < pesos.size()) {
            char c = pesos[i];
            if (ehDigito(c))
                p = c - '0';
            else if (c == 'a')
                p = 10;
            else if (c == 'b')
                p = 11;
        }
        soma += long(p) * d;
    }
    int r = int(soma % 11);
    std::string resultado(digitos);
    if (r >= 2)
        resultado += std::to_string(11 - r);
    else if (r == 1 && permiteX)
        resultado += 'X';
    else
        resultado += '0';
    return resultado;
}

bool ConfereDigito(std::string_view s, std::size_t posicao, std::string_view pesos, bool permiteX) {
    // A text shorter than the digit's position has no digit to confer.
    if (posicao < 1 || s.size() < posicao) return false;
    std::string calculado = DigitoModulo11(s.substr(0, posicao - 1), posicao - 1, pesos, permiteX);
    return calculado.size() >= posicao && calculado[posicao - 1] == s[posicao - 1];
}

bool ValidaCNPJ(std::string_view s) {
    return ConfereDigito(copia(s, 1, 13), 13, "543298765432", false) &&
           ConfereDigito(s, 14, "6543298765432", false);
}

bool ValidaCNES(std::string_view s) {
    auto n = ComoInteiro(s);
    if (!n || *n <= 0) return false;
    if (s.size() < 7 || !SoDigitos(s.substr(0, 6))) return false;
    int soma = 0;
    for (int i = 0; i < 6; ++i) soma += (s[i] - '0') * (7 - i);
    int r = soma % 11;
    char v = s[6];
    if (r > 1) return v == char('0' + (11 - r));
    if (r == 1) return v == '0';
    return v == '0' || v == '1';
}

std::string CompletaEsquerda(std::string_view s, std::size_t tamanho, char preenche) {
    std::string_view t = apara(s);
    std::string r;
    if (t.size() < tamanho) r.assign(tamanho - t.size(), preenche);
    r += t;
    return r;
}

std::string CompletaDireita(std::string_view s, std::size_t tamanho, char preenche) {
    std::string r(apara(s));
    if (r.size() < tamanho) r.append(tamanho - r.size(), preenche);
    return r;
}

std::string CompletaData(std::string_view s) {
    std::string r;
    switch (s.size()) {
        case 8:
            r = "0";
            r += copia(s, 1, 2);
            r += "0";
            r += copia(s, 3, 6);
            break;
        case 9:
            if (s.find('/') == 1) {
                r = "0";
                r += s;
            } else {
                r = copia(s, 1, 3);
                r += "0";
                r += copia(s, 4, 6);
            }
            break;
        case 10:
            r = s;
            break;
        default:
            break;
    }
    return r;
}

std::string TrocaAspas(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == '"' || c == '\'' || c == ':' || c == '`') c = ' ';
    return r;
}

std::string RetiraPontuacao(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (char c : s)
        if (std::string_view(" ',/.-").find(c) == std::string_view::npos) r += c;
    return r;
}

std::string NomeSemExtensao(std::string_view caminho) {
    std::size_t sep = ultimoSeparador(caminho);
    std::size_t inicio = sep == std::string_view::npos ? 0 : sep + 1;
    if (caminho.size() < 4 || caminho.size() - 4 <= inicio) return {};
    return std::string(caminho.substr(inicio, caminho.size() - 4 - inicio));
}

void ApagaArquivos(std::string_view mascara) {
    std::size_t sep = ultimoSeparador(mascara);
    fs::path pasta =
        sep == std::string_view::npos ? fs::path(".") : fs::path(std::string(mascara.substr(0, sep + 1)));
    std::string padrao(sep == std::string_view::npos ? mascara : mascara.substr(sep + 1));
    std::error_code ec;
    std::vector<fs::path> apagar;
    for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        std::error_code ec2;
        if (it->is_directory(ec2)) continue;
        if (casaMascara(it->path().filename().string(), padrao)) apagar.push_back(it->path());
    }
    for (const auto& p : apagar) fs::remove(p, ec);
}

long ContaLinhas(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) return 0;
    std::array<char, 1 << 16> buf;
    long linhas = 0;
    char ultimo = '\n';
    while (in) {
        in.read(buf.data(), buf.size());
        std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i)
            if (buf[std::size_t(i)] == '\n') ++linhas;
        if (n > 0) ultimo = buf[std::size_t(n - 1)];
    }
    if (ultimo != '\n') ++linhas;
    return linhas;
}

DataAtual LeDataAtual() {
    DataAtual d;
    d.DataHoje = agora();
    d.TextoHoje = CompletaData(d.DataHoje.ddmmyyyy());
    d.AnoAtual = d.TextoHoje.substr(6, 4);
    d.MesAtual = d.TextoHoje.substr(3, 2);
    return d;
}

}  // namespace velt
