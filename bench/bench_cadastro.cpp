// The establishment registry import of a large state (60,000 units with beds and attendance rows)
// beside the baseline: the same rows written with plain prepared inserts in one transaction.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/Database.h"
#include "fixtures/GeradorCadastro.h"
#include "reference/ImportaFces.h"
#include "support/TestDatabase.h"

using namespace velt;
using Relogio = std::chrono::steady_clock;

namespace {

class Silencioso : public Driver {
public:
    void mensagem(std::string_view, std::string_view texto, Icone) override {
        std::fprintf(stderr, "mensagem: %.*s\n", int(texto.size()), texto.data());
    }
    bool pergunta(std::string_view, std::string_view) override { return false; }
};

double segundosDesde(Relogio::time_point t) {
    return std::chrono::duration<double>(Relogio::now() - t).count();
}

std::string zeros(const std::string& s, std::size_t n) {
    return std::string(n > s.size() ? n - s.size() : 0, '0') + s;
}

// Plain inserts of the same staging rows and establishment rows, values already cut.
double baseline(Database& db, const std::vector<fixtures::UnidadeFces>& unidades,
                std::int64_t estabelecimentos) {
    db.execute(
        "CREATE TABLE LFCES004 (unidade_id char(31) not null, cnes char(7), r_social char(60), nome_fanta "
        "char(60), "
        "cnpj char(14), tp_unidade char(2), sigestgest char(2), codmungest char(6), TP_PF_PJ char(1), "
        "CO_NATUREZA char(4), PRIMARY KEY (unidade_id))");
    db.execute(
        "CREATE TABLE LFCES002 (unidade_id char(31) not null, co_leito char(2) not null, co_tpleito char(2), "
        "qtd_exist char(4), qtd_cont char(4), qtd_sus char(4), PRIMARY KEY (unidade_id, co_leito))");
    db.execute(
        "CREATE TABLE LFCES006 (unidade_id char(31) not null, codatprest char(2) not null, cod_conven "
        "char(2) not null, "
        "PRIMARY KEY (unidade_id, codatprest, cod_conven))");
    auto t0 = Relogio::now();
    Transaction tx(db);
    auto i2 = db.prepare("insert into LFCES002 values (:uni,:leito,:tpleito,:exist,:contr,:sus)");
    auto i4 =
        db.prepare("insert into LFCES004 values (:uni,:cnes,:razao,:nome,:cnpj,:tipo,:est,:mun,:id,:nat)");
    auto i6 = db.prepare("insert into LFCES006 values (:uni,:atend,:conv)");
    auto ie = db.prepare("insert into tb_estabelecimento values (:cnes,:cnpj,:raz,:nome,:est,:mun,:uti)");
    std::int64_t escritos = 0;
    for (const auto& u : unidades) {
        std::string uni = zeros(u.unidadeId, 31);
        for (const auto& l : u.leitos) {
            i2.bind("uni", uni).bind("leito", l.codigo).bind("tpleito", l.tipo).bind("exist", l.existentes);
            i2.bind("contr", l.contratados).bind("sus", l.sus).execute(tx);
        }
        i4.bind("uni", uni).bind("cnes", u.cnes).bind("razao", u.razaoSocial).bind("nome", u.nomeFantasia);
        i4.bind("cnpj", u.cnpj)
            .bind("tipo", u.tpUnidade)
            .bind("est", u.estadoGestor)
            .bind("mun", u.municipioGestor);
        i4.bind("id", u.tpPfPj).bind("nat", u.natureza).execute(tx);
        for (const auto& [a, c] : u.atendimentos)
            i6.bind("uni", uni).bind("atend", a).bind("conv", c).execute(tx);
        if (escritos++ < estabelecimentos) {
            ie.bind("cnes", u.cnes)
                .bind("cnpj", u.cnpj)
                .bind("raz", u.razaoSocial)
                .bind("nome", u.nomeFantasia);
            ie.bind("est", u.estadoGestor).bind("mun", u.municipioGestor).bind("uti", "0").execute(tx);
        }
    }
    tx.commit();
    return segundosDesde(t0);
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 60000;
    test::TempDir pasta;
    auto unidades = fixtures::unidadesSinteticas(n);
    fixtures::escreveLfces(pasta.path(), unidades);
    std::int64_t leitos = 0, atendimentos = 0;
    for (const auto& u : unidades) {
        leitos += std::int64_t(u.leitos.size());
        atendimentos += std::int64_t(u.atendimentos.size());
    }

    Silencioso driver;
    ResultadoImportaFces r;
    double importa = 0;
    {
        test::TestDatabase banco;
        ImportaFces imp(banco.db(), driver);
        auto t0 = Relogio::now();
        r = imp.executa(pasta.path(), FiltroFces::Todos);
        importa = segundosDesde(t0);
        if (r.situacao != ResultadoImportaFces::Situacao::Concluida) {
            std::fprintf(stderr, "a importação não foi concluída\n");
            return 1;
        }
    }
    double base = 0;
    {
        test::TestDatabase banco;
        base = baseline(banco.db(), unidades, r.estabelecimentos);
    }
    const auto linhas = leitos + std::int64_t(unidades.size()) + atendimentos + r.estabelecimentos;
    std::printf(
        "cadastro de estabelecimentos: %d unidades, %lld leitos, %lld atendimentos -> %lld "
        "estabelecimentos\n",
        n, (long long)leitos, (long long)atendimentos, (long long)r.estabelecimentos);
    std::printf("  importação (ImportaFces)           %7.2f s  (%.0f linhas/s)\n", importa, linhas / importa);
    std::printf("  base: inserts simples, 1 transação %7.2f s  (%.0f linhas/s)\n", base, linhas / base);
    std::printf("  razão importação/base              %7.2f  (meta: até 3)\n", importa / base);
    return 0;
}
