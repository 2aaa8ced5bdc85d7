// Operators reload from a generated operadoras.txt.
#include <gtest/gtest.h>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaArquivoUnico.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

using test::linhasCrLf;

TEST(Operadora, ArquivoGeradoCarregaValoresComoLidos) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_operadora values ('999999','1','ANTIGA','ANTIGA','01/01/2000')");
    auto ops = test::geraOperadoras(40);
    std::vector<std::string> linhas;
    for (const auto& o : ops) linhas.push_back(test::linhaOperadora(o));
    linhas.push_back(test::linhaOperadora(ops[0]));  // TB_OPERADORA has no key: both stored
    test::TempDir pasta;
    test::escreveArquivo(pasta / "Operadoras.TXT", linhasCrLf(linhas));
    test::ScriptedDriver d;
    auto r = ImportaArquivoUnico(banco.db(), d, membroOperadora()).executa(pasta.path());
    EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::Concluida);
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_EQ(banco.conta("TB_OPERADORA"), 41);
    EXPECT_EQ(banco.conta("TB_OPERADORA", "co_operadora = '" + ops[0].codigo + "'"), 2);
    EXPECT_EQ(banco.conta("TB_OPERADORA", "co_operadora = '999999'"), 0);
    // Name 81-140 into NO_RAZAO_SOCIAL and name 34-80 into NO_FANTASIA, blanks kept.
    const auto& o = ops[7];
    auto st = banco.db().prepare("select * from tb_operadora where co_operadora = :c");
    st.bind("c", o.codigo);
    auto c = st.open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("nu_operadora"), o.cnpj);
    EXPECT_EQ(c.text("no_razao_social"), test::largura(o.razao, 60));
    EXPECT_EQ(c.text("no_fantasia"), test::largura(o.fantasia, 47));
    EXPECT_EQ(c.text("dt_inclusao"), o.data);
    EXPECT_EQ(r.memo,
              (std::vector<std::string>{"Importando Arquivo de Operadoras......OK!", "", "FIM DA IMPORTAÇÃO!"}));
}

TEST(Operadora, LinhaVaziaNoMeioEncerraOArquivo) {
    test::TestDatabase banco;
    auto ops = test::geraOperadoras(10);
    std::vector<std::string> linhas;
    for (int i = 0; i < 10; ++i) {
        if (i == 4) linhas.push_back("");
        linhas.push_back(test::linhaOperadora(ops[i]));
    }
    test::TempDir pasta;
    test::escreveArquivo(pasta / "operadoras.txt", linhasCrLf(linhas));
    test::ScriptedDriver d;
    auto r = ImportaArquivoUnico(banco.db(), d, membroOperadora()).executa(pasta.path());
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_EQ(banco.conta("TB_OPERADORA"), 4);
    EXPECT_EQ(r.memo.at(0), "Importando Arquivo de Operadoras......OK!");
    EXPECT_EQ(d.ultimoMaximo, 11);  // the progress bar counted every line of the file
}

TEST(Operadora, ArquivoFaltandoAvisa) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_operadora values ('999999','1','ANTIGA','ANTIGA','01/01/2000')");
    test::TempDir pasta;
    test::ScriptedDriver d;
    auto r = ImportaArquivoUnico(banco.db(), d, membroOperadora()).executa(pasta.path());
    EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::ArquivoNaoEncontrado);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].texto, "ARQUIVO NÃO ENCONTRADO!");
    EXPECT_EQ(banco.conta("TB_OPERADORA"), 1);
    EXPECT_TRUE(membroOperadora().importarAposFaltaArquivo);
}

}  // namespace
}  // namespace velt
