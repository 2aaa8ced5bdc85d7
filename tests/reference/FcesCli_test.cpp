#include <gtest/gtest.h>

#include "fixtures/GeradorCadastro.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

using namespace velt;

// velt02-cli carregar estabelecimentos / cnes-validos / cnes-adesao: the same engines, messages on
// standard error, exit 0 when the run went to its end, 1 when it stopped, 2 for a usage error.
TEST(FcesCli, CarregaAsTresListas) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_gestor values ('SECRETARIA', '1', '35', '000000', '/tmp')");
    test::TempDir pasta;
    banco.escreveVeltIni(pasta.path());

    fixtures::UnidadeFces publica, privada, obrigatoria;
    publica.unidadeId = "1";
    publica.cnes = "1000001";
    publica.atendimentos = {{"01", "01"}};
    privada.unidadeId = "2";
    privada.cnes = "1000002";
    privada.atendimentos = {{"01", "02"}};
    privada.leitos = {fixtures::Leito{"78"}};
    obrigatoria = publica;
    obrigatoria.unidadeId = "3";
    obrigatoria.cnes = "1000003";
    obrigatoria.natureza = "3999";
    fixtures::escreveLfces(pasta / "registro", {publica, privada, obrigatoria});
    fixtures::escreveCnesVal(pasta / "registro" / "CNESVAL.TXT",
                             {{"1000002", "355030", "202012"}, {"1000003", "410690", "202012"}});
    fixtures::escreveAdesao(pasta / "TermosAdesaoCnes.txt", {{"1000002", "0914", "202001", "202112"}});
    banco.db().detach();  // the embedded engine lets one process at a time open the file

    auto r = test::executaCli({"carregar", "estabelecimentos", "--pasta", (pasta / "registro").string()},
                              pasta.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Carregando LFCES006......OK!"), std::string::npos) << r.err;
    EXPECT_EQ(banco.conta("tb_estabelecimento"), 1);
    EXPECT_EQ(banco.valor("select co_cnes || st_leito from tb_estabelecimento"), "10000021");
    banco.db().detach();

    r = test::executaCli(
        {"carregar", "estabelecimentos", "--pasta", (pasta / "registro").string(), "--obrigatorios"},
        pasta.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(banco.conta("tb_estabelecimento"), 2);
    banco.db().detach();

    r = test::executaCli(
        {"carregar", "cnes-validos", "--pasta", (pasta / "registro").string(), "--competencia", "12/2020"},
        pasta.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("CONCLUÍDO COM SUCESSO!"), std::string::npos) << r.err;
    EXPECT_EQ(banco.conta("tb_cnes"), 1);
    EXPECT_EQ(banco.valor("select co_cnes from tb_cnes"), "1000002");
    banco.db().detach();

    r = test::executaCli(
        {"carregar", "cnes-validos", "--pasta", (pasta / "registro").string(), "--competencia", "11/2020"},
        pasta.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ARQUIVO NÃO IMPORTADO!"), std::string::npos) << r.err;

    r = test::executaCli({"carregar", "cnes-adesao", "--arquivo", (pasta / "TermosAdesaoCnes.txt").string()},
                         pasta.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(banco.conta("tb_proj_saude"), 1);
    EXPECT_EQ(banco.valor("select nu_cnes || co_regra from tb_proj_saude"), "10000020914");
    banco.db().detach();

    r = test::executaCli({"carregar", "estabelecimentos", "--pasta", pasta.path().string()}, pasta.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("NÃO ENCONTRADOS!"), std::string::npos) << r.err;
    EXPECT_EQ(
        test::executaCli({"carregar", "cnes-validos", "--pasta", pasta.path().string()}, pasta.path()).status,
        2);
    EXPECT_EQ(test::executaCli({"carregar", "cnes-adesao", "--pasta", "x"}, pasta.path()).status, 2);
}
