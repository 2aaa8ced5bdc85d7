#include <gtest/gtest.h>

#include <filesystem>

#include "common/Cp1252.h"
#include "data/Database.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

using namespace velt;

namespace {

class GestorCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        banco.escreveVeltIni(pasta.path());
        banco.db().execute(
            "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('530010', "
            "'BRASILIA', 'DF')");
        banco.db().execute(
            "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('355030', 'SAO "
            "PAULO', 'SP')");
    }
    // The embedded engine lets one process at a time hold the file: let go while the CLI runs.
    test::SaidaProcesso roda(std::vector<std::string> args) {
        banco.db().detach();
        args.insert(args.begin(), "gestor");
        return test::executaCli(args, pasta.path());
    }
    std::string coluna(const std::string& c) {
        std::string v = banco.valor("select " + c + " from TB_GESTOR");
        v.erase(v.find_last_not_of(' ') + 1);
        return v;
    }

    test::TestDatabase banco;
    test::TempDir pasta;
};

const std::string kGuarda = "Cadastrar ou corrigir dados do gestor (opção \"Gestor\" no Menu Principal).";

TEST_F(GestorCliTest, SemOpcoesMostraORegistroEConfereComoAGuarda) {
    auto r = roda({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(kGuarda), std::string::npos) << r.err;

    r = roda({"--nome", "secretaria de saúde", "--uf", "53", "--municipio", "530010", "--diretorio",
              (pasta / "trabalho").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    r = roda({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Nome: SECRETARIA DE SAÚDE\nUF: 53\nCódigo IBGE do Município: 530010\nÉ gestor Estadual: Não\n"
              "Diretório de Trabalho: " +
                  (pasta / "trabalho").string() + "\n");
    EXPECT_EQ(cp1252::toUtf8(coluna("IDENTIFICACAO")), "SECRETARIA DE SAÚDE");
}

TEST_F(GestorCliTest, GravaComAsMesmasCriticasDaTela) {
    struct Caso {
        std::vector<std::string> args;
        const char* mensagem;
    } casos[] = {
        {{"--nome", "SMS", "--uf", "DF", "--municipio", "530010", "--diretorio", "/d"}, "UF inválida."},
        {{"--nome", "2020", "--uf", "53", "--municipio", "530010", "--diretorio", "/d"},
         "Identificação do gestor não informada."},
        {{"--nome", "SMS", "--uf", "53", "--municipio", "355030", "--diretorio", "/d"},
         "O código do município informado não pertence a UF"},
        {{"--nome", "SMS", "--uf", "53", "--diretorio", "/d"}, "Código IBGE do município inválido."},
        {{"--nome", "SMS", "--uf", "53", "--municipio", "530010", "--diretorio", ""},
         "O diretório de trabalho deve ser informado."},
    };
    for (const auto& c : casos) {
        auto r = roda(c.args);
        EXPECT_EQ(r.status, 1) << c.mensagem;
        EXPECT_EQ(r.err, std::string(c.mensagem) + "\n");
        EXPECT_EQ(banco.conta("TB_GESTOR"), 0) << c.mensagem;
    }

    // A state manager: the municipality given is replaced by 000000; a relative folder is kept whole.
    auto r = roda({"--nome", "ses df", "--uf", "53", "--municipio", "530010", "--estadual", "--diretorio",
                   "trabalho/"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(banco.conta("TB_GESTOR"), 1);
    EXPECT_EQ(coluna("IDENTIFICACAO"), "SES DF");
    EXPECT_EQ(coluna("ESTADUAL"), "1");
    EXPECT_EQ(coluna("CODMUNIC"), "000000");
    EXPECT_EQ(coluna("DIRTRAB"), (pasta / "trabalho").string());

    // Written again: still one row.
    r = roda({"--nome", "SMS", "--uf", "53", "--municipio", "530010", "--diretorio", "/dados"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(banco.conta("TB_GESTOR"), 1);
    EXPECT_EQ(coluna("ESTADUAL"), "2");
    EXPECT_EQ(coluna("CODMUNIC"), "530010");
}

TEST_F(GestorCliTest, OpcoesFaltandoSaoErroDeUso) {
    EXPECT_EQ(roda({"--uf", "53", "--diretorio", "/d"}).status, 2);
    EXPECT_EQ(roda({"--nome", "SMS", "--uf", "53", "--municipio", "530010"}).status, 2);
    EXPECT_EQ(roda({"--nome", "SMS", "--cidade", "x"}).status, 2);
    EXPECT_EQ(roda({"extra"}).status, 2);
    EXPECT_EQ(banco.conta("TB_GESTOR"), 0);
}

}  // namespace
