#include "reference/CadastraCnes.h"

#include "common/Validacao.h"
#include "data/Database.h"
#include "gestor/Gestor.h"
#include "reference/LeituraReferencia.h"

namespace velt {
namespace {

std::string semBrancosFinais(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

}  // namespace

CadastraCnes::CadastraCnes(Database& db) : db_(db) {}

bool CadastraCnes::cnesValido(std::string_view cnes) {
    std::string preenchido = CompletaEsquerda(cnes, 7, '0');
    return TipoConteudo(preenchido) == tipo::Numero && ValidaCNES(preenchido);
}

bool CadastraCnes::cnpjValido(std::string_view cnpj) {
    std::string preenchido = CompletaEsquerda(cnpj, 14, '0');
    return TipoConteudo(preenchido) == tipo::Numero && ValidaCNPJ(preenchido);
}

std::vector<EstabelecimentoCadastrado> CadastraCnes::lista() {
    std::vector<EstabelecimentoCadastrado> v;
    auto st = db_.prepare("select co_cnes,no_razao_social,st_leito from tb_estabelecimento");
    auto c = st.open();
    while (c.next())
        v.push_back({semBrancosFinais(c.text("co_cnes")), "", semBrancosFinais(c.text("no_razao_social")),
                     semBrancosFinais(c.text("st_leito"))});
    return v;
}

std::optional<EstabelecimentoCadastrado> CadastraCnes::consulta(const std::string& cnes) {
    auto st = db_.prepare(
        "select co_cnes,nu_cnpj,no_razao_social,st_leito \nfrom tb_estabelecimento where co_cnes = :cnes");
    st.bind("cnes", cnes);
    auto c = st.open();
    if (!c.next()) return std::nullopt;
    return EstabelecimentoCadastrado{semBrancosFinais(c.text("co_cnes")), semBrancosFinais(c.text("nu_cnpj")),
                                     semBrancosFinais(c.text("no_razao_social")),
                                     semBrancosFinais(c.text("st_leito"))};
}

void CadastraCnes::insere(const std::string& cnes, const std::string& cnpj, const std::string& razaoSocial,
                          bool leitoUti) {
    auto gestor = LeGestor(db_);
    std::string nome = referencia::maiusculas(razaoSocial);
    Transaction tx(db_);
    auto ins = db_.prepare("insert into tb_estabelecimento values (:cnes,:cnpj,:rz,:nome,:est,:mun,:uti)");
    ins.bind("cnes", cnes)
        .bind("cnpj", cnpj)
        .bind("rz", nome)
        .bind("nome", nome)
        .bind("est", gestor ? gestor->uf : std::string())
        .bind("mun", gestor ? gestor->codmunic : std::string())
        .bind("uti", leitoUti ? "1" : "0");
    ins.execute(tx);
    auto existe = db_.prepare("select co_cnes from tb_cnes where co_cnes = :cnes");
    existe.bind("cnes", cnes);
    bool jaValido = false;
    {
        auto c = existe.open(tx);
        jaValido = c.next();
    }
    if (!jaValido) {
        auto valido = db_.prepare("insert into tb_cnes (co_cnes) values (:cnes)");
        valido.bind("cnes", cnes);
        valido.execute(tx);
    }
    tx.commit();
}

void CadastraCnes::altera(const std::string& cnes, const std::string& cnpj, const std::string& razaoSocial,
                          bool leitoUti) {
    auto st = db_.prepare(
        "update tb_estabelecimento set nu_cnpj = :cnpj,\nno_razao_social = :rz,st_leito = :uti where co_cnes "
        "= :cnes");
    st.bind("cnpj", cnpj)
        .bind("rz", referencia::maiusculas(razaoSocial))
        .bind("uti", leitoUti ? "1" : "0")
        .bind("cnes", cnes);
    st.execute();
}

void CadastraCnes::exclui(const std::string& cnes) {
    Transaction tx(db_);
    auto a = db_.prepare("delete from tb_estabelecimento where co_cnes = :cnes");
    a.bind("cnes", cnes);
    a.execute(tx);
    auto b = db_.prepare("delete from tb_cnes where co_cnes = :cnes");
    b.bind("cnes", cnes);
    b.execute(tx);
    tx.commit();
}

}  // namespace velt
