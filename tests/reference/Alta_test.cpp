// Discharge reasons reload: the real alta.txt and an older database without DT_CMPT_FIM.
#include <gtest/gtest.h>

#include <fstream>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaArquivoUnico.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;

bool temColuna(test::TestDatabase& banco) {
    return banco.conta("RDB$RELATION_FIELDS",
                       "RDB$RELATION_NAME = 'TB_TIPO_ALTA' and RDB$FIELD_NAME = 'DT_CMPT_FIM'") == 1;
}

TEST(Alta, ArquivoRealComCompetenciaFinal) {
    for (bool bancoAntigo : {false, true}) {
        SCOPED_TRACE(bancoAntigo ? "banco sem DT_CMPT_FIM" : "banco atual");
        test::TestDatabase banco;
        if (bancoAntigo) banco.db().execute("alter table tb_tipo_alta drop dt_cmpt_fim");
        ASSERT_EQ(temColuna(banco), !bancoAntigo);
        test::TempDir pasta;
        fs::copy_file(test::dadoReferencia("alta.txt"), pasta / "alta.txt");
        test::ScriptedDriver d;
        auto r = ImportaArquivoUnico(banco.db(), d, membroAlta()).executa(pasta.path());
        EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::Concluida);
        EXPECT_EQ(r.colunaAdicionada, bancoAntigo);
        EXPECT_TRUE(temColuna(banco));
        EXPECT_TRUE(d.mensagens.empty());

        long long linhas = 0;
        std::ifstream in(test::dadoReferencia("alta.txt"), std::ios::binary);
        for (std::string l; std::getline(in, l) && l.size() > 1;) ++linhas;
        EXPECT_EQ(banco.conta("TB_TIPO_ALTA"), linhas);
        EXPECT_EQ(banco.conta("TB_TIPO_ALTA", "dt_cmpt_fim = '201009'"), 2);
        EXPECT_EQ(banco.valor("select dt_cmpt_fim from tb_tipo_alta where co_tipo_alta = '13'"), "201009");
        EXPECT_EQ(banco.valor("select ds_tipo_alta from tb_tipo_alta where co_tipo_alta = '11'"),
                  test::largura("ALTA CURADO", 75));
        EXPECT_EQ(r.memo, (std::vector<std::string>{"Importando Arquivo de Alta......OK!", "", "FIM DA IMPORTAÇÃO!"}));
    }
}

TEST(Alta, ArquivoFaltandoAindaAcrescentaAColuna) {
    test::TestDatabase banco;
    banco.db().execute("alter table tb_tipo_alta drop dt_cmpt_fim");
    banco.db().execute("insert into tb_tipo_alta values ('11', 'ANTIGA')");
    test::TempDir pasta;
    test::ScriptedDriver d;
    auto r = ImportaArquivoUnico(banco.db(), d, membroAlta()).executa(pasta.path());
    EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::ArquivoNaoEncontrado);
    EXPECT_TRUE(temColuna(banco));
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].titulo, "ATENÇÃO");
    EXPECT_EQ(d.mensagens[0].texto, "ARQUIVO NÃO ENCONTRADO!");
    EXPECT_EQ(banco.conta("TB_TIPO_ALTA"), 1);
    EXPECT_FALSE(membroAlta().importarAposFaltaArquivo);
}

TEST(Alta, LinhaRecusadaEhRelatadaEORestoGravado) {
    test::TestDatabase banco;
    test::TempDir pasta;
    // A check added here makes the server refuse reason 99, standing for any line it refuses.
    banco.db().execute("alter table tb_tipo_alta add constraint ck_alta check (co_tipo_alta <> '99')");
    test::escreveArquivo(pasta / "alta.txt", test::linhasCrLf({test::linhaAlta("11", "ALTA CURADO", "999912"),
                                                               test::linhaAlta("99", "RECUSADA", "999912"),
                                                               test::linhaAlta("12", "ALTA MELHORADO", "999912")}));
    test::ScriptedDriver d;
    auto r = ImportaArquivoUnico(banco.db(), d, membroAlta()).executa(pasta.path());
    EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::Concluida);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].texto, "ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO");
    EXPECT_EQ(banco.conta("TB_TIPO_ALTA"), 2);
    EXPECT_EQ(r.memo, (std::vector<std::string>{"Importando Arquivo de Alta......OK!", "", "", "FIM DA IMPORTAÇÃO!"}));
}

}  // namespace
}  // namespace velt
