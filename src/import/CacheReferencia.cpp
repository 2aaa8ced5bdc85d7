#include "import/CacheReferencia.h"

#include "data/Database.h"

namespace velt {

std::string_view semBrancosFinais(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

namespace {

std::string chave(std::string_view s) { return std::string(semBrancosFinais(s)); }

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
    lePorLinha(db, tx, "select co_cnes from tb_cnes", [&](Cursor& c) { cnes_.insert(chave(c.text("CO_CNES"))); });
    lePorLinha(db, tx, "select co_municipio from tb_municipio",
               [&](Cursor& c) { municipios_.insert(chave(c.text("CO_MUNICIPIO"))); });
    lePorLinha(db, tx, "select co_sigla from tb_estado", [&](Cursor& c) {
        if (!c.isNull("CO_SIGLA")) estados_.insert(chave(c.text("CO_SIGLA")));
    });
    lePorLinha(db, tx, "select co_procedimento, co_sexo from tb_procedimento", [&](Cursor& c) {
        procedimentos_.try_emplace(chave(c.text("CO_PROCEDIMENTO")), Procedimento{chave(c.text("CO_SEXO"))});
    });
    lePorLinha(db, tx, "select co_procedimento, co_registro from tb_registro", [&](Cursor& c) {
        if (c.isNull("CO_PROCEDIMENTO") || c.isNull("CO_REGISTRO")) return;
        registros_.insert(par(c.text("CO_PROCEDIMENTO"), c.text("CO_REGISTRO")));
    });
    lePorLinha(db, tx, "select co_procedimento, co_modalidade from tb_modalidade", [&](Cursor& c) {
        if (c.isNull("CO_PROCEDIMENTO") || c.isNull("CO_MODALIDADE")) return;
        modalidades_.insert(par(c.text("CO_PROCEDIMENTO"), c.text("CO_MODALIDADE")));
    });
    lePorLinha(db, tx, "select distinct co_procedimento from tb_rl_cid",
               [&](Cursor& c) { rlCid_.insert(chave(c.text("CO_PROCEDIMENTO"))); });
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
bool CacheReferencia::cnesValido(std::string_view cnes) const { return contem(cnes_, cnes); }
bool CacheReferencia::municipio(std::string_view codigo) const { return contem(municipios_, codigo); }
bool CacheReferencia::estado(std::string_view sigla) const { return contem(estados_, sigla); }
const CacheReferencia::Procedimento* CacheReferencia::procedimento(std::string_view codigo) const {
    return acha(procedimentos_, codigo);
}
bool CacheReferencia::registro(std::string_view procedimento, std::string_view coRegistro) const {
    return registros_.count(par(procedimento, coRegistro)) > 0;
}
bool CacheReferencia::modalidade(std::string_view procedimento, std::string_view coModalidade) const {
    return modalidades_.count(par(procedimento, coModalidade)) > 0;
}
bool CacheReferencia::temRlCid(std::string_view procedimento) const { return contem(rlCid_, procedimento); }
const CacheReferencia::Cid* CacheReferencia::cid(std::string_view codigo) const { return acha(cids_, codigo); }
bool CacheReferencia::tipoAlta(std::string_view alta, std::string_view competencia) const {
    const auto* fins = acha(tiposAlta_, alta);
    if (!fins) return false;
    for (const auto& fim : *fins)
        if (comparaTextos(fim, competencia) >= 0) return true;
    return false;
}
bool CacheReferencia::fonteRemuneracao(std::string_view fonte) const { return contem(fontes_, fonte); }
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
