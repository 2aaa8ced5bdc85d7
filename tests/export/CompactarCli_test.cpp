#include <gtest/gtest.h>

#include <filesystem>

#include "data/Database.h"
#include "export/LeituraXlsx.h"
#include "fixtures/GeradorArmazenado.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::executaCli;
using test::GeradorArmazenado;
using test::TempDir;
using test::TestDatabase;

class CompactarCli : public ::testing::Test {
protected:
    TestDatabase t;
    TempDir trab, pasta;
    fs::path sus = trab / "VELT02/201104/SUS";

    void SetUp() override {
        {
            GeradorArmazenado g(t.db());
            g.gestor("2", "31", "310620", trab.path().string());
            g.atendimento({}, {});
            g.consolidado({});
            g.controle("2000040", "201104", "2");
        }
        t.escreveVeltIni(pasta.path());
    }
    // The command line opens the database itself: the test lets go of it while it runs.
    test::SaidaProcesso roda(const std::vector<std::string>& args) {
        t.db().detach();
        return executaCli(args, pasta.path());
    }
};

TEST_F(CompactarCli, CompactaComPlanilhaEEsperaOBackup) {
    auto s = roda({"compactar", "--competencia", "04/2011", "--planilha"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_NE(s.err.find("Integracao efetuada com sucesso"), std::string::npos) << s.err;
    EXPECT_NE(s.err.find("Compactação concluída"), std::string::npos);
    EXPECT_NE(s.err.find("Planilha Excel gerada com sucesso no mesmo diretório da compactação"), std::string::npos);
    EXPECT_NE(s.out.find((sus / "310620201104.VLT").string() + "\n" + (sus / "310620201104.ZIP").string()),
              std::string::npos)
        << s.out;
    EXPECT_TRUE(fs::exists(sus / "310620201104.xlsx"));
    auto p = test::lePlanilha((sus / "310620201104.xlsx").string());
    EXPECT_EQ(p("A10"), "");
    EXPECT_EQ(p("A7"), "REGISTROS SEM MOVIMENTAÇÃO");
    ASSERT_EQ(std::distance(fs::directory_iterator(trab / "Backups"), fs::directory_iterator{}), 1);
    EXPECT_NE(s.out.find((trab / "Backups").string() + "/VELT02_"), std::string::npos);
    EXPECT_EQ(t.valor("select nu_remessa from tb_estagio_remessa_hosp"), "310620201104");
}

TEST_F(CompactarCli, PerguntasRespondidasPelaOpcaoSobrepor) {
    ASSERT_EQ(roda({"compactar", "--competencia", "04/2011"}).status, 0);
    const std::string vlt = (sus / "310620201104.VLT").string(), zip = (sus / "310620201104.ZIP").string();
    t.db().execute("update tb_estagio_remessa_hosp set nu_remessa = 'MARCA'");

    auto nao = roda({"compactar", "--competencia", "04/2011"});
    EXPECT_EQ(nao.status, 0) << nao.err;
    EXPECT_NE(nao.err.find("Sobrepõe arquivo existente: " + vlt + "? Não"), std::string::npos) << nao.err;
    EXPECT_NE(nao.err.find("Sobrepõe arquivo existente: " + zip + "? Não"), std::string::npos) << nao.err;
    EXPECT_EQ(nao.err.find("Foi gerado um Backup"), std::string::npos);
    EXPECT_EQ(t.valor("select nu_remessa from tb_estagio_remessa_hosp"), "MARCA");

    auto sim = roda({"compactar", "--competencia", "04/2011", "--sobrepor"});
    EXPECT_EQ(sim.status, 0) << sim.err;
    EXPECT_NE(sim.err.find("Sobrepõe arquivo existente: " + vlt + "? Sim"), std::string::npos) << sim.err;
    EXPECT_NE(sim.err.find("Sobrepõe arquivo existente: " + zip + "? Sim"), std::string::npos) << sim.err;
    EXPECT_EQ(t.valor("select nu_remessa from tb_estagio_remessa_hosp"), "310620201104");
}

TEST_F(CompactarCli, ErrosESaida) {
    auto invalida = roda({"compactar", "--competencia", "13/2011"});
    EXPECT_EQ(invalida.status, 1);
    EXPECT_NE(invalida.err.find("Competência Inválida."), std::string::npos) << invalida.err;
    EXPECT_EQ(roda({"compactar"}).status, 2);
    EXPECT_EQ(roda({"compactar", "--competencia", "04/2011", "--outra"}).status, 2);

    t.db().execute("delete from tb_gestor");
    auto semGestor = roda({"compactar", "--competencia", "04/2011"});
    EXPECT_EQ(semGestor.status, 1);
    EXPECT_NE(semGestor.err.find("Cadastrar ou corrigir dados do gestor"), std::string::npos) << semGestor.err;
    EXPECT_FALSE(fs::exists(trab / "VELT02"));
}

TEST(PlanilhaCli, GeraAoLadoDoArquivoERecusaExtensaoMinuscula) {
    TempDir dir;
    std::string linha = "3" "1.0.5.0" "2000040" + std::string(355, ' ') + "201104" "310620201104" +
                        std::string(28, ' ');
    test::escreveArquivo(dir / "A.VLT", linha + "\r\n\x1a");
    test::escreveArquivo(dir / "B.vlt", linha + "\r\n\x1a");
    auto s = executaCli({"planilha", "A.VLT"}, dir.path());
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_NE(s.err.find("Planilha gerada com sucesso no mesmo diretório do arquivo .VLT"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "A.xlsx"));
    auto m = executaCli({"planilha", "B.vlt"}, dir.path());
    EXPECT_EQ(m.status, 1);
    EXPECT_NE(m.err.find("Arquivo não é padrão .VLT"), std::string::npos);
    EXPECT_EQ(executaCli({"planilha"}, dir.path()).status, 2);
}

}  // namespace
}  // namespace velt
