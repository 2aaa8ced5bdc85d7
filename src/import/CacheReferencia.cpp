#include "import/CacheReferencia.h"

#include "data/Database.h"

namespace velt {

std::string_view semBrancosFinais(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

namespace {

std::string chave(std::string_view s) {
    return std::string(semBrancosFinais(s));
}

std::string par(std::string_view a, std::string_view b) {
    std::string k(semBrancosFinais(a));
    k += '\x1f';
    k += semBrancosFinais(b);
    return k;
}

// The server compares texts of different lengths as if the shorter were filled with blanks.
int comparaTextos(std::string_view a, std::string_view b) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
        const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

int inteiro(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i == s.size()) return 0;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000000) return 0;
    }
    return static_cast<int>(neg ? -v : v);
}

// The number of a two-digit code ("00" to "99"), -1 for any other text.
int doisDigitos(std::string_view s) {
    if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return -1;
    return (s[0] - '0') * 10 + (s[1] - '0');
}

void marca(std::uint64_t (&bits)[2], int n) {
    bits[n / 64] |= std::uint64_t{1} << (n % 64);
}
bool marcado(const std::uint64_t (&bits)[2], int n) {
    return (bits[n / 64] >> (n % 64)) & 1;
}

template <class F>
void lePorLinha(Database& db, Transaction& tx, const char* sql, F&& f) {
    auto st = db.prepare(sql);
    auto c = st.open(tx);
    while (c.next()) f(c);
}

template <class M>
bool contem(const M& m, std::string_view k) {
    return m.find(semBrancosFinais(k)) != m.end();
}

template <class M>
auto acha(const M& m, std::string_view k) -> const typename M::mapped_type* {
    auto it = m.find(semBrancosFinais(k));
    return it == m.end() ? nullptr : &it->second;
}

}  // namespace

CacheReferencia::CacheReferencia(Database& db) {
    Transaction tx(db);
    lePorLinha(db, tx, "select co_cnes, no_razao_social, st_leito from tb_estabelecimento", [&](Cursor& c) {
        if (c.isNull("CO_CNES")) return;
        auto [it, novo] = estabelecimentos_.try_emplace(chave(c.text("CO_CNES")));
        if (novo) it->second.razaoSocial = chave(c.text("NO_RAZAO_SOCIAL"));
        if (!c.isNull("ST_LEITO") && semBrancosFinais(c.text("ST_LEITO")) == "1") it->second.leitoUti = true;
    });
    lePorLinha(db, tx, "select co_cnes from tb_cnes",
               [&](Cursor& c) { cnes_.insert(chave(c.text("CO_CNES"))); });
    lePorLinha(db, tx, "select co_municipio from tb_municipio",
               [&](Cursor& c) { municipios_.insert(chave(c.text("CO_MUNICIPIO"))); });
    lePorLinha(db, tx, "select co_sigla from tb_estado", [&](Cursor& c) {
        if (!c.isNull("CO_SIGLA")) estados_.insert(chave(c.text("CO_SIGLA")));
    });
    lePorLinha(db, tx, "select co_procedimento, co_sexo from tb_procedimento", [&](Cursor& c) {
        auto& p = procedimentos_[chave(c.text("CO_PROCEDIMENTO"))];
        if (p.cadastrado) return;
        p.cadastrado = true;
        p.sexo = chave(c.text("CO_SEXO"));
    });
    lePorLinha(db, tx, "select co_procedimento, co_registro from tb_registro", [&](Cursor& c) {
        if (c.isNull("CO_PROCEDIMENTO") || c.isNull("CO_REGISTRO")) return;
        const std::string codigo = chave(c.text("CO_REGISTRO"));
        if (const int n = doisDigitos(codigo); n >= 0)
            marca(procedimentos_[chave(c.text("CO_PROCEDIMENTO"))].registros, n);
        else
            registros_.insert(par(c.text("CO_PROCEDIMENTO"), codigo));
    });
    lePorLinha(db, tx, "select co_procedimento, co_modalidade from tb_modalidade", [&](Cursor& c) {
        if (c.isNull("CO_PROCEDIMENTO") || c.isNull("CO_MODALIDADE")) return;
        const std::string codigo = chave(c.text("CO_MODALIDADE"));
        if (const int n = doisDigitos(codigo); n >= 0)
            marca(procedimentos_[chave(c.text("CO_PROCEDIMENTO"))].modalidades, n);
        else
            modalidades_.insert(par(c.text("CO_PROCEDIMENTO"), codigo));
    });
    lePorLinha(db, tx, "select distinct co_procedimento from tb_rl_cid",
               [&](Cursor& c) { procedimentos_[chave(c.text("CO_PROCEDIMENTO"))].rlCid = true; });
    lePorLinha(db, tx, "select co_cid10, ds_cid, co_sexo, st_agravo from tb_cid", [&](Cursor& c) {
        Cid cid{c.text("CO_CID10"), c.text("DS_CID"), chave(c.text("CO_SEXO")), inteiro(c.text("ST_AGRAVO"))};
        cids_.try_emplace(chave(cid.codigo), std::move(cid));
    });
    lePorLinha(db, tx, "select co_tipo_alta, dt_cmpt_fim from tb_tipo_alta", [&](Cursor& c) {
        auto& fins = tiposAlta_[chave(c.text("CO_TIPO_ALTA"))];
        if (!c.isNull("DT_CMPT_FIM")) fins.push_back(c.text("DT_CMPT_FIM"));
    });
    lePorLinha(db, tx, "select co_fonte_remunera from tb_fonte_remuneracao",
               [&](Cursor& c) { fontes_.insert(chave(c.text("CO_FONTE_REMUNERA"))); });
    lePorLinha(db, tx, "select nu_cnes, co_regra from tb_proj_saude",
               [&](Cursor& c) { projetos_.insert(par(c.text("NU_CNES"), c.text("CO_REGRA"))); });
    lePorLinha(db, tx, "select co_operadora, nu_operadora from tb_operadora", [&](Cursor& c) {
        Operadora op{c.text("CO_OPERADORA"), c.text("NU_OPERADORA")};
        // A NULL column matches no parameter.
        if (!c.isNull("CO_OPERADORA")) porRegistro_.try_emplace(chave(op.registro), op);
        if (!c.isNull("NU_OPERADORA")) porCnpj_.try_emplace(chave(op.cnpj), op);
    });
    tx.commit();
}

const CacheReferencia::Estabelecimento* CacheReferencia::estabelecimento(std::string_view cnes) const {
    return acha(estabelecimentos_, cnes);
}
bool CacheReferencia::cnesValido(std::string_view cnes) const {
    return contem(cnes_, cnes);
}
bool CacheReferencia::municipio(std::string_view codigo) const {
    return contem(municipios_, codigo);
}
bool CacheReferencia::estado(std::string_view sigla) const {
    return contem(estados_, sigla);
}
bool CacheReferencia::Procedimento::temRegistro(std::string_view codigo) const {
    const int n = doisDigitos(codigo);
    return n >= 0 && marcado(registros, n);
}
bool CacheReferencia::Procedimento::temModalidade(std::string_view codigo) const {
    const int n = doisDigitos(codigo);
    return n >= 0 && marcado(modalidades, n);
}
const CacheReferencia::Procedimento* CacheReferencia::procedimento(std::string_view codigo) const {
    const auto* p = acha(procedimentos_, codigo);
    return p && p->cadastrado ? p : nullptr;
}
const CacheReferencia::Procedimento* CacheReferencia::dadosProcedimento(std::string_view codigo) const {
    return acha(procedimentos_, codigo);
}
std::size_t CacheReferencia::procedimentos() const {
    std::size_t n = 0;
    for (const auto& [codigo, p] : procedimentos_) n += p.cadastrado;
    return n;
}
bool CacheReferencia::registro(std::string_view procedimento, std::string_view coRegistro) const {
    const auto codigo = semBrancosFinais(coRegistro);
    if (doisDigitos(codigo) < 0) return registros_.count(par(procedimento, codigo)) > 0;
    const auto* p = acha(procedimentos_, procedimento);
    return p && p->temRegistro(codigo);
}
bool CacheReferencia::modalidade(std::string_view procedimento, std::string_view coModalidade) const {
    const auto codigo = semBrancosFinais(coModalidade);
    if (doisDigitos(codigo) < 0) return modalidades_.count(par(procedimento, codigo)) > 0;
    const auto* p = acha(procedimentos_, procedimento);
    return p && p->temModalidade(codigo);
}
bool CacheReferencia::temRlCid(std::string_view procedimento) const {
    const auto* p = acha(procedimentos_, procedimento);
    return p && p->rlCid;
}
const CacheReferencia::Cid* CacheReferencia::cid(std::string_view codigo) const {
    return acha(cids_, codigo);
}
bool CacheReferencia::tipoAlta(std::string_view alta, std::string_view competencia) const {
    const auto* fins = acha(tiposAlta_, alta);
    if (!fins) return false;
    for (const auto& fim : *fins)
        if (comparaTextos(fim, competencia) >= 0) return true;
    return false;
}
bool CacheReferencia::fonteRemuneracao(std::string_view fonte) const {
    return contem(fontes_, fonte);
}
bool CacheReferencia::projetoSaude(std::string_view cnes, std::string_view regra) const {
    return projetos_.count(par(cnes, regra)) > 0;
}
const CacheReferencia::Operadora* CacheReferencia::operadoraPorRegistro(std::string_view registroAns) const {
    return acha(porRegistro_, registroAns);
}
const CacheReferencia::Operadora* CacheReferencia::operadoraPorCnpj(std::string_view cnpj) const {
    return acha(porCnpj_, cnpj);
}

}  // namespace velt
