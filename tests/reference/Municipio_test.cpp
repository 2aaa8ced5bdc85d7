// Municipalities reload: the real municipios.csv and the cases of a hand-made file.
#include <gtest/gtest.h>

#include <fstream>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaMunicipio.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

using test::linhasCrLf;

TEST(Municipio, ArquivoRealComApostrofo) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_municipio (co_municipio, ds_municipio) values ('999999', 'ANTIGO')");
    test::ScriptedDriver d;
    auto r = ImportaMunicipio(banco.db(), d).executa(test::dadoReferencia("municipios.csv"));
    EXPECT_TRUE(r.concluida);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].texto, "Fim importação Municípios");

    long long linhas = -1;  // the header
    std::ifstream in(test::dadoReferencia("municipios.csv"), std::ios::binary);
    for (std::string l; std::getline(in, l);) ++linhas;
    EXPECT_EQ(banco.conta("TB_MUNICIPIO"), linhas);
    EXPECT_EQ(banco.conta("TB_MUNICIPIO", "co_municipio = '999999'"), 0);
    EXPECT_EQ(banco.valor("select trim(ds_municipio) || '|' || co_sigla_estado from tb_municipio "
                          "where co_municipio = '110001'"),
              "ALTA FLORESTA D'OESTE|RO");
    std::cout << "[ contagens ] TB_MUNICIPIO=" << banco.conta("TB_MUNICIPIO") << std::endl;
}

TEST(Municipio, CortesDosCampos) {
    struct Caso {
        const char* linha;
        const char* codigo;
        const char* nome;
        const char* sigla;
    };
    const Caso casos[] = {
        {"110001;ALTA FLORESTA D'OESTE;RO", "110001", "ALTA FLORESTA D'OESTE", "RO"},
        {"110002;ARIQUEMES;RO;EXTRA", "110002", "ARIQUEMES", "RO"},  // a fourth field: first two after the second ";"
        {"110003;CABIXI;R;O", "110003", "CABIXI", "R;"},             // further ";" are ordinary characters
        {"12345678901234", "1234567890", "", ""},                    // no ";": all in the code, cut to 10
        {" 11000 ; NOME COM BRANCOS ; SP", " 11000 ", " NOME COM BRANCOS ", " S"},
    };
    for (const auto& c : casos) {
        auto m = cortaLinhaMunicipio(c.linha);
        EXPECT_EQ(m.codigo, c.codigo) << c.linha;
        EXPECT_EQ(m.nome, c.nome) << c.linha;
        EXPECT_EQ(m.sigla, c.sigla) << c.linha;
    }
    EXPECT_EQ(cortaLinhaMunicipio("1;" + std::string(70, 'N') + ";MG").nome, std::string(60, 'N'));
}

TEST(Municipio, SoCabecalhoEsvaziaATabela) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_municipio (co_municipio, ds_municipio) values ('999999', 'ANTIGO')");
    test::TempDir pasta;
    test::escreveArquivo(pasta / "m.csv", linhasCrLf({"CO_MUNICIPIO;DS_MUNICIPIO;CO_SIGLA_ESTADO"}));
    test::ScriptedDriver d;
    auto r = ImportaMunicipio(banco.db(), d).executa(pasta / "m.csv");
    EXPECT_TRUE(r.concluida);
    EXPECT_EQ(banco.conta("TB_MUNICIPIO"), 0);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].texto, "Fim importação Municípios");
}

TEST(Municipio, LinhaRecusadaDeixaATabelaComoEstava) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_municipio (co_municipio, ds_municipio) values ('999999', 'ANTIGO')");
    test::TempDir pasta;
    // The third municipality's code is longer than CO_MUNICIPIO holds; the two lines before it
    // would stay stored if the run were not whole.
    test::escreveArquivo(pasta / "m.csv", linhasCrLf({"CO_MUNICIPIO;DS_MUNICIPIO;CO_SIGLA_ESTADO",
                                                      "110001;ALTA FLORESTA D'OESTE;RO", "110002;ARIQUEMES;RO",
                                                      "1100035;CABIXI;RO", "110004;CACOAL;RO"}));
    test::ScriptedDriver d;
    auto r = ImportaMunicipio(banco.db(), d).executa(pasta / "m.csv");
    EXPECT_FALSE(r.concluida);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].texto, "Erro na Importação da Tabela de Municípios - Refazer o processo");
    EXPECT_EQ(banco.conta("TB_MUNICIPIO"), 1);
    EXPECT_EQ(banco.valor("select trim(ds_municipio) from tb_municipio"), "ANTIGO");
}

}  // namespace
}  // namespace velt
