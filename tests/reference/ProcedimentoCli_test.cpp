// velt02-cli carregar: the reloads from the command line, with their status lines on standard error.
#include <gtest/gtest.h>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;

struct Cli {
    test::TestDatabase banco;
    test::TempDir pasta;
    Cli() {
        banco.escreveVeltIni(pasta.path());
        banco.db().detach();  // the command attaches on its own
    }
    test::SaidaProcesso roda(const std::vector<std::string>& args) {
        banco.db().detach();
        return test::executaCli(args, pasta.path());
    }
};

TEST(CarregarCli, ProcedimentosCidAltaEMunicipios) {
    Cli cli;
    test::TempDir dados;
    test::preparaPastaProcedimentos(dados.path(), true);  // names in upper case
    fs::copy_file(test::dadoReferencia("tb_cid.txt"), dados / "tb_cid.txt");
    fs::copy_file(test::dadoReferencia("alta.txt"), dados / "alta.txt");

    auto r = cli.roda({"carregar", "procedimentos", "--pasta", dados.path().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "Importando Cid...\nImportando Cid......OK!\nImportando Modalidade...\nImportando Modalidade......OK!\n"
              "Importando Registro...\nImportando Registro......OK!\nImportando Procedimento Não SUS...\n"
              "Importando Procedimento Não SUS......OK!\nImportando Procedimento...\nImportando Procedimento......OK!\n"
              "FIM DA IMPORTAÇÃO!\n");
    EXPECT_EQ(cli.banco.conta("TB_RL_CID"), 2749);
    EXPECT_GT(cli.banco.conta("TB_PROCEDIMENTO"), 3000);

    r = cli.roda({"carregar", "cid", "--pasta", dados.path().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Importando Arquivo de Cid...\nImportando Arquivo de Cid......OK!\nFIM DA IMPORTAÇÃO!\n");
    EXPECT_EQ(cli.banco.conta("TB_CID"), 14230);

    r = cli.roda({"carregar", "alta", "--pasta", dados.path().string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cli.banco.conta("TB_TIPO_ALTA"), 30);

    r = cli.roda({"carregar", "municipios", "--arquivo", test::dadoReferencia("municipios.csv").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Fim importação Municípios\n");
    EXPECT_EQ(cli.banco.conta("TB_MUNICIPIO"), 5602);
}

TEST(CarregarCli, FaltasEUsoIncorreto) {
    Cli cli;
    test::TempDir vazia;
    auto r = cli.roda({"carregar", "operadoras", "--pasta", vazia.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ATENÇÃO: ARQUIVO NÃO ENCONTRADO!\n");
    r = cli.roda({"carregar", "procedimentos", "--pasta", vazia.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ATENÇÃO: ARQUIVOS NECESSÁRIO PARA A IMPORTAÇÃO NÃO ENCONTRADOS!\n");
    // A refused municipality line: exit 1 and the table kept.
    test::escreveArquivo(vazia / "m.csv", test::linhasCrLf({"CO;DS;UF", "110001;A;RO", "1100012;B;RO"}));
    r = cli.roda({"carregar", "municipios", "--arquivo", (vazia / "m.csv").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Erro na Importação da Tabela de Municípios - Refazer o processo\n");
    EXPECT_EQ(cli.banco.conta("TB_MUNICIPIO"), 0);

    for (const std::vector<std::string>& uso : std::vector<std::vector<std::string>>{
             {"carregar"}, {"carregar", "tabelas"}, {"carregar", "cid"}, {"carregar", "municipios", "--pasta", "x"}}) {
        r = cli.roda(uso);
        EXPECT_EQ(r.status, 2) << uso.back();
    }
}

}  // namespace
}  // namespace velt
