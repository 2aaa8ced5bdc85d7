#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fixtures/GeradorCadastro.h"
#include "reference/ImportaFces.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::fixtures::Leito;
using velt::fixtures::UnidadeFces;

namespace {

UnidadeFces unidade(const std::string& id, const std::string& cnes,
                    std::vector<std::pair<std::string, std::string>> atendimentos, std::string tpPfPj = "3",
                    std::string natureza = "2062") {
    UnidadeFces u;
    u.unidadeId = id;
    u.cnes = cnes;
    u.atendimentos = std::move(atendimentos);
    u.tpPfPj = std::move(tpPfPj);
    u.natureza = std::move(natureza);
    u.razaoSocial = "RAZAO " + cnes;
    u.nomeFantasia = "FANTASIA " + cnes;
    return u;
}

struct Rodada {
    test::TestDatabase banco;
    test::TempDir pasta;
    test::ScriptedDriver driver;
    std::vector<std::string> memo;

    ResultadoImportaFces importa(const std::vector<UnidadeFces>& unidades,
                                 FiltroFces filtro = FiltroFces::Todos,
                                 const fixtures::NomesLfces& nomes = {}) {
        fixtures::escreveLfces(pasta.path(), unidades, nomes);
        return executa(filtro);
    }
    ResultadoImportaFces executa(FiltroFces filtro = FiltroFces::Todos) {
        ImportaFces imp(banco.db(), driver);
        imp.memo().aoMudar = [&](const std::vector<std::string>& l) { memo = l; };
        return imp.executa(pasta.path(), filtro);
    }
    // CNES -> ST_LEITO of every row of TB_ESTABELECIMENTO (a CNES twice shows as "x2").
    std::map<std::string, std::string> estabelecimentos() {
        std::map<std::string, std::string> m;
        auto st = banco.db().prepare("select co_cnes, st_leito from tb_estabelecimento");
        auto c = st.open();
        while (c.next()) {
            auto cnes = c.text("co_cnes");
            if (m.count(cnes)) cnes += "x2";
            m[cnes] = c.text("st_leito");
        }
        return m;
    }
    void linhaAntiga() {
        banco.db().execute(
            "insert into tb_estabelecimento values "
            "('7777777','11222333000181','ANTIGA','ANTIGA','35','355030','0')");
    }
};

}  // namespace

// Which units each filter picks: agreement 01 is the public system; attendance kinds 01 and 02 count;
// the compulsory filter drops person kind 1 and takes legal nature 3xxx even under agreement 01.
TEST(FcesImporta, SelecaoDeCadaFiltro) {
    struct Caso {
        UnidadeFces u;
        bool todos, obrigatorios;
    };
    const std::vector<Caso> casos = {
        {unidade("101", "1000001", {{"01", "01"}}), false, false},              // only the public system
        {unidade("102", "1000002", {{"01", "02"}}), true, true},                // kind 01, agreement 02
        {unidade("103", "1000003", {{"02", "05"}, {"02", "01"}}), true, true},  // kind 02 under 05
        {unidade("104", "1000004", {{"03", "02"}}), false, false},              // kind 03 does not count
        {unidade("105", "1000005", {{"01", "02"}}, "1"), true, false},          // person kind 1
        {unidade("106", "1000006", {{"01", "01"}}, "3", "3069"), false,
         true},  // nature 3069 only agreement 01
        {unidade("107", "1000007", {{"01", "01"}}, "1", "3069"), false,
         false},                                                     // nature 3xxx but person kind 1
        {unidade("108", "1000008", {}, "3", "3069"), false, false},  // no attendance row at all
        {unidade("109", "1000009", {{"01", "02"}, {"02", "02"}, {"01", "03"}}), true,
         true},  // several rows, one row out
    };
    std::vector<UnidadeFces> unidades;
    for (const auto& c : casos) unidades.push_back(c.u);

    for (auto filtro : {FiltroFces::Todos, FiltroFces::ApresentacaoObrigatoria}) {
        Rodada r;
        auto res = r.importa(unidades, filtro);
        ASSERT_EQ(res.situacao, ResultadoImportaFces::Situacao::Concluida)
            << testing::PrintToString(r.driver.textos());
        auto est = r.estabelecimentos();
        for (const auto& c : casos) {
            bool esperado = filtro == FiltroFces::Todos ? c.todos : c.obrigatorios;
            EXPECT_EQ(est.count(c.u.cnes), esperado ? 1u : 0u)
                << c.u.cnes << (filtro == FiltroFces::Todos ? " (todos)" : " (obrigatórios)");
        }
        EXPECT_EQ(res.estabelecimentos, static_cast<std::int64_t>(est.size()));
        EXPECT_TRUE(r.driver.mensagens.empty());
    }
}

// ST_LEITO "1" for a bed code in 74..83 or 85..86; 84 and the neighbours outside do not count.
TEST(FcesImporta, LeitoDeUtiPeloCodigo) {
    struct Caso {
        std::string cnes;
        std::vector<std::string> leitos;
        std::string esperado;
    };
    const std::vector<Caso> casos = {
        {"2000001", {"84"}, "0"},       {"2000002", {"74"}, "1"}, {"2000003", {"83"}, "1"},
        {"2000004", {"85"}, "1"},       {"2000005", {"86"}, "1"}, {"2000006", {"73"}, "0"},
        {"2000007", {"87"}, "0"},       {"2000008", {}, "0"},     {"2000009", {"01", "84", "80"}, "1"},
        {"2000010", {"84", "01"}, "0"},
    };
    std::vector<UnidadeFces> unidades;
    int i = 0;
    for (const auto& c : casos) {
        auto u = unidade("20" + std::to_string(i++), c.cnes, {{"01", "02"}});
        for (const auto& l : c.leitos) u.leitos.push_back(Leito{l});
        unidades.push_back(u);
    }
    Rodada r;
    ASSERT_EQ(r.importa(unidades).situacao, ResultadoImportaFces::Situacao::Concluida);
    auto est = r.estabelecimentos();
    for (const auto& c : casos) EXPECT_EQ(est[c.cnes], c.esperado) << c.cnes;
}

// Fields cut by position, zero-filled before cleaning, quotes, apostrophes, colons and back-quotes
// become blanks; the staging tables keep the cut values.
TEST(FcesImporta, CamposCortadosPreenchidosELimpos) {
    auto u = unidade("  4321", "12345", {{"01", "02"}});
    u.razaoSocial = "HOSPITAL D'OESTE \"NORTE\": `A`";
    u.nomeFantasia = "SANTA D'AJUDA";
    u.cnpj = "2333000181";
    u.municipioGestor = " 35503";
    u.estadoGestor = "35";
    u.leitos = {Leito{"75"}};
    Rodada r;
    ASSERT_EQ(r.importa({u}).situacao, ResultadoImportaFces::Situacao::Concluida);

    EXPECT_EQ(r.banco.valor("select co_cnes from tb_estabelecimento"), "0012345");
    EXPECT_EQ(r.banco.valor("select no_razao_social from tb_estabelecimento"),
              "HOSPITAL D OESTE  NORTE    A");
    EXPECT_EQ(r.banco.valor("select no_fantasia from tb_estabelecimento"), "SANTA D AJUDA");
    EXPECT_EQ(r.banco.valor("select nu_cnpj from tb_estabelecimento"), "00002333000181");
    EXPECT_EQ(r.banco.valor("select co_estado_gestor from tb_estabelecimento"), "35");
    EXPECT_EQ(r.banco.valor("select co_munic_gestor from tb_estabelecimento"), "35503");
    EXPECT_EQ(r.banco.valor("select st_leito from tb_estabelecimento"), "1");
    EXPECT_EQ(r.banco.valor("select unidade_id from LFCES004"), std::string(27, '0') + "4321");
    EXPECT_EQ(r.banco.valor("select unidade_id from LFCES002"), std::string(27, '0') + "4321");
    EXPECT_EQ(r.banco.valor("select co_leito || '|' || qtd_exist || '|' || qtd_sus from LFCES002"),
              "75|0010|0002");
    EXPECT_EQ(r.banco.valor("select TP_PF_PJ || CO_NATUREZA || tp_unidade from LFCES004"), "3206205");
}

TEST(FcesImporta, MemoELinhasDeStatus) {
    Rodada r;
    auto u = unidade("1", "1000001", {{"01", "02"}});
    u.leitos = {Leito{"01"}};
    auto res = r.importa({u});
    ASSERT_EQ(res.situacao, ResultadoImportaFces::Situacao::Concluida);
    EXPECT_EQ(r.memo,
              (std::vector<std::string>{"Carregando LFCES002......OK!", "Carregando LFCES004......OK!",
                                        "Carregando LFCES006......OK!", "", "", "FIM DA IMPORTAÇÃO!"}));
    EXPECT_EQ(res.leitos, 1);
    EXPECT_EQ(res.unidades, 1);
    EXPECT_EQ(res.atendimentos, 1);
    auto& s = r.driver.statusLinhas;
    EXPECT_NE(std::find(s.begin(), s.end(), "Carregando LFCES002..."), s.end());
    EXPECT_NE(std::find(s.begin(), s.end(), "Carregando LFCES006......OK!"), s.end());
}

// The files come from systems that ignore case; a file without records after its header loads nothing.
TEST(FcesImporta, NomesEmQualquerCaixaEArquivoSoComCabecalho) {
    Rodada r;
    auto u = unidade("1", "1000001", {{"02", "03"}});
    auto res = r.importa({u}, FiltroFces::Todos, {"LFCES002.TXT", "Lfces004.Txt", "lfces006.TXT"});
    ASSERT_EQ(res.situacao, ResultadoImportaFces::Situacao::Concluida)
        << testing::PrintToString(r.driver.textos());
    EXPECT_EQ(res.leitos, 0);
    EXPECT_EQ(r.estabelecimentos().count("1000001"), 1u);
}

TEST(FcesImporta, ArquivoAusenteNaoMexeNaTabela) {
    Rodada r;
    r.linhaAntiga();
    fixtures::escreveLfces(r.pasta.path(), {unidade("1", "1000001", {{"01", "02"}})});
    std::filesystem::remove(r.pasta / "lfces006.txt");
    auto res = r.executa();
    EXPECT_EQ(res.situacao, ResultadoImportaFces::Situacao::ArquivosAusentes);
    ASSERT_EQ(r.driver.mensagens.size(), 1u);
    EXPECT_EQ(r.driver.mensagens[0].titulo, "ATENÇÃO");
    EXPECT_EQ(r.driver.mensagens[0].texto,
              "ARQUIVOS(lfces002.txt, lfces004.txt e lfces006.txt) NÃO ENCONTRADOS!");
    EXPECT_EQ(r.estabelecimentos(), (std::map<std::string, std::string>{{"7777777", "0"}}));
}

// A run that stops leaves TB_ESTABELECIMENTO as it was, whatever step stopped it.
TEST(FcesImporta, FalhaDeixaEstabelecimentosComoEstavam) {
    struct Caso {
        const char* nome;
        std::function<void(UnidadeFces&, Rodada&)> prepara;
        std::string mensagem, linhaMemo;
    };
    const std::vector<Caso> casos = {
        {"dois leitos iguais na mesma unidade",
         [](UnidadeFces& u, Rodada&) {
             u.leitos = {Leito{"74"}, Leito{"74"}};
         },
         "ERRO AO IMPORTAR O ARQUIVO LFCES002!", "Carregando LFCES002......ERRO!"},
        {"município gestor de sete caracteres",
         [](UnidadeFces& u, Rodada&) { u.municipioGestor = "3550308"; },
         "ERRO AO IMPORTAR O ARQUIVO LFCES004!", "Carregando LFCES004......ERRO!"},
        {"atendimento repetido",
         [](UnidadeFces& u, Rodada&) {
             u.atendimentos = {{"01", "02"}, {"01", "02"}};
         },
         "ERRO AO IMPORTAR O ARQUIVO LFCES006!", "Carregando LFCES006......ERRO!"},
        {"linha recusada pela tabela de estabelecimentos",
         [](UnidadeFces&, Rodada& r) {
             r.banco.db().execute(
                 "alter table tb_estabelecimento add constraint ck_teste check (co_cnes <> '1000002')");
         },
         "ERRO AO INSERIR NA TABELA DE ESTABELECIMENTO", ""},
        {"código de leito não numérico", [](UnidadeFces& u, Rodada&) { u.leitos = {Leito{"7A"}}; },
         "ERRO AO INSERIR NA TABELA DE ESTABELECIMENTO", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Rodada r;
        r.linhaAntiga();
        auto boa = unidade("1", "1000001", {{"01", "02"}});
        auto u = unidade("2", "1000002", {{"01", "02"}});
        c.prepara(u, r);
        auto res = r.importa({boa, u});
        EXPECT_EQ(res.situacao, ResultadoImportaFces::Situacao::Interrompida);
        ASSERT_EQ(r.driver.mensagens.size(), 1u);
        EXPECT_EQ(r.driver.mensagens[0].titulo, "ERRO");
        EXPECT_EQ(r.driver.mensagens[0].texto, c.mensagem);
        if (!c.linhaMemo.empty())
            EXPECT_NE(std::find(r.memo.begin(), r.memo.end(), c.linhaMemo), r.memo.end());
        EXPECT_EQ(std::find(r.memo.begin(), r.memo.end(), "FIM DA IMPORTAÇÃO!"), r.memo.end());
        EXPECT_EQ(r.estabelecimentos(), (std::map<std::string, std::string>{{"7777777", "0"}}));
    }
}

// The table has no key: two selected units with the same CNES give two rows.
TEST(FcesImporta, DuasUnidadesComOMesmoCnes) {
    Rodada r;
    auto a = unidade("1", "3000001", {{"01", "02"}});
    auto b = unidade("2", "3000001", {{"02", "04"}});
    b.leitos = {Leito{"85"}};
    ASSERT_EQ(r.importa({a, b}).situacao, ResultadoImportaFces::Situacao::Concluida);
    EXPECT_EQ(r.banco.conta("tb_estabelecimento", "co_cnes = '3000001'"), 2);
    EXPECT_EQ(r.banco.conta("tb_estabelecimento", "co_cnes = '3000001' and st_leito = '1'"), 1);
}

// Each run drops and recreates the staging tables and replaces the establishments; a database
// without ST_LEITO gets the column on the first run.
TEST(FcesImporta, SegundaRodadaEColunaStLeito) {
    Rodada r;
    r.banco.db().execute("alter table tb_estabelecimento drop st_leito");
    auto a = unidade("1", "1000001", {{"01", "02"}});
    a.leitos = {Leito{"76"}};
    ASSERT_EQ(r.importa({a, unidade("2", "1000002", {{"01", "02"}})}).situacao,
              ResultadoImportaFces::Situacao::Concluida)
        << testing::PrintToString(r.driver.textos());
    EXPECT_EQ(r.estabelecimentos(), (std::map<std::string, std::string>{{"1000001", "1"}, {"1000002", "0"}}));

    r.driver.mensagens.clear();
    ASSERT_EQ(r.importa({unidade("3", "1000003", {{"01", "02"}})}).situacao,
              ResultadoImportaFces::Situacao::Concluida)
        << testing::PrintToString(r.driver.textos());
    EXPECT_EQ(r.estabelecimentos(), (std::map<std::string, std::string>{{"1000003", "0"}}));
    EXPECT_EQ(r.banco.conta("LFCES004"), 1);
    EXPECT_EQ(r.banco.conta("LFCES002"), 0);
}
