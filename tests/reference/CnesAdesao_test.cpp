#include <gtest/gtest.h>

#include "fixtures/GeradorCadastro.h"
#include "reference/ImportaCnesAdesao.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using fixtures::LinhaAdesao;

namespace {

struct Rodada {
    test::TestDatabase banco;
    test::TempDir pasta;
    test::ScriptedDriver driver;

    Rodada() { banco.db().execute("insert into tb_proj_saude values ('9999999','0914','201001','201012')"); }

    std::vector<std::string> linhas() {
        std::vector<std::string> v;
        auto st = banco.db().prepare(
            "select nu_cnes || '|' || co_regra || '|' || cmpt_inicial || '|' || cmpt_final l from "
            "tb_proj_saude "
            "order by nu_cnes, co_regra");
        auto c = st.open();
        while (c.next()) v.push_back(c.text("l"));
        return v;
    }
};

}  // namespace

// Any case of the file name is accepted; values are stored exactly as cut (an apostrophe stays one
// apostrophe); the data end at the first line without a CNES.
TEST(CnesAdesao, CarregaAteALinhaSemCnes) {
    Rodada r;
    auto arquivo = r.pasta / "termosadesaocnes.txt";
    fixtures::escreveAdesao(arquivo,
                            {{"1000001", "0914", "202001", "202112"},
                             {"1000002", "0915", "201901", "999912"},
                             {"100'003", "0914", "202001", "202112"}},
                            {"       0914202001202112", "1000009091420200120211"});
    auto res = ImportaCnesAdesao(r.banco.db(), r.driver).executa(arquivo);
    EXPECT_TRUE(res.concluida) << testing::PrintToString(r.driver.textos());
    EXPECT_EQ(res.inseridos, 3);
    EXPECT_EQ(r.linhas(),
              (std::vector<std::string>{"100'003|0914|202001|202112", "1000001|0914|202001|202112",
                                        "1000002|0915|201901|999912"}));
    EXPECT_EQ(r.driver.ultimoMaximo, 3);
    ASSERT_EQ(r.driver.mensagens.size(), 1u);
    EXPECT_EQ(r.driver.mensagens[0].texto, "Importação de CNES adesão concluído com sucesso!");
}

TEST(CnesAdesao, OutroArquivoNaoEImportado) {
    for (const char* nome : {"TERMOSADESAO.txt", "CNESVAL.txt", ""}) {
        SCOPED_TRACE(nome);
        Rodada r;
        std::filesystem::path arquivo;
        if (*nome) {
            arquivo = r.pasta / nome;
            fixtures::escreveAdesao(arquivo, {{"1000001", "0914", "202001", "202112"}});
        }
        auto res = ImportaCnesAdesao(r.banco.db(), r.driver).executa(arquivo);
        EXPECT_FALSE(res.concluida);
        ASSERT_EQ(r.driver.mensagens.size(), 1u);
        EXPECT_EQ(r.driver.mensagens[0].texto, "Arquivo não encontrado TERMOSADESAOCNES.txt");
        EXPECT_EQ(r.linhas(), (std::vector<std::string>{"9999999|0914|201001|201012"}));
    }
}

// A line the database refuses ends the run with the database's message; the old rows stay.
TEST(CnesAdesao, LinhaRecusadaMantemATabela) {
    Rodada r;
    r.banco.db().execute("alter table tb_proj_saude add constraint ck_teste check (co_regra <> 'XXXX')");
    auto arquivo = r.pasta / "TERMOSADESAOCNES.TXT";
    fixtures::escreveAdesao(
        arquivo, {{"1000001", "0914", "202001", "202112"}, {"1000002", "XXXX", "202001", "202112"}});
    auto res = ImportaCnesAdesao(r.banco.db(), r.driver).executa(arquivo);
    EXPECT_FALSE(res.concluida);
    ASSERT_EQ(r.driver.mensagens.size(), 1u);
    EXPECT_EQ(r.driver.mensagens[0].icone, Driver::Icone::Erro);
    EXPECT_NE(r.driver.mensagens[0].texto.find("CK_TESTE"), std::string::npos) << r.driver.mensagens[0].texto;
    EXPECT_EQ(r.linhas(), (std::vector<std::string>{"9999999|0914|201001|201012"}));
}
