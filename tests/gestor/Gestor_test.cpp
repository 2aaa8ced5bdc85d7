#include "gestor/Gestor.h"

#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "common/Validacao.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

using test::ScriptedDriver;
using test::TestDatabase;

class GestorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sql : {
                 "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('530010', "
                 "'BRASILIA', 'DF')",
                 "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('355030', "
                 "'SAO PAULO', 'SP')",
                 "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('000000', "
                 "'NENHUM', '')",
             })
            banco.db().execute(sql);
    }
    TestDatabase banco;
};

Gestor municipal() {
    return Gestor{"SECRETARIA MUNICIPAL", "2", "53", "530010", "/home/gestor/velt"};
}

TEST_F(GestorTest, ValidaGestorParaNaPrimeiraFalhaComSuaMensagem) {
    struct Caso {
        const char* nome;
        Gestor dados;
        const char* mensagem;  // "" when valid
    } casos[] = {
        {"municipal completo", municipal(), ""},
        {"estadual com 000000", {"SES DF", "1", "53", "000000", "/dados"}, ""},
        {"estadual ignora municipio", {"SES DF", "1", "53", "xyz", "/dados"}, ""},
        {"identificacao vazia", {"", "2", "53", "530010", "/d"}, "Identificação do gestor não informada."},
        {"identificacao so digitos",
         {"12345", "2", "53", "530010", "/d"},
         "Identificação do gestor não informada."},
        {"identificacao so brancos",
         {"   ", "2", "53", "530010", "/d"},
         "Identificação do gestor não informada."},
        {"sigla no lugar do codigo", {"SMS", "2", "DF", "530010", "/d"}, "UF inválida."},
        {"UF inexistente", {"SMS", "2", "54", "530010", "/d"}, "UF inválida."},
        {"UF vazia", {"SMS", "1", "", "000000", "/d"}, "UF inválida."},
        {"municipal com 000000", {"SMS", "2", "53", "000000", "/d"}, "Código IBGE do município inválido."},
        {"municipio inexistente", {"SMS", "2", "53", "530011", "/d"}, "Código IBGE do município inválido."},
        {"municipio com branco", {"SMS", "2", "53", " 53001", "/d"}, "Código IBGE do município inválido."},
        {"municipio vazio", {"SMS", "2", "53", "", "/d"}, "Código IBGE do município inválido."},
        {"municipio de outra UF",
         {"SMS", "2", "53", "355030", "/d"},
         "O código do município informado não pertence a UF"},
        {"diretorio vazio", {"SMS", "2", "53", "530010", ""}, "O diretório de trabalho deve ser informado."},
        {"diretorio numerico",
         {"SMS", "2", "53", "530010", "2012"},
         "O diretório de trabalho deve ser informado."},
        // The checks run in order: the first failure is the one reported.
        {"tudo errado", {"", "2", "DF", "", ""}, "Identificação do gestor não informada."},
        {"UF e diretorio errados", {"SMS", "2", "DF", "530010", ""}, "UF inválida."},
    };
    for (const auto& c : casos) {
        ScriptedDriver comMensagem, semMensagem;
        bool esperado = std::string(c.mensagem).empty();
        EXPECT_EQ(ValidaGestor(banco.db(), c.dados, true, comMensagem), esperado) << c.nome;
        EXPECT_EQ(ValidaGestor(banco.db(), c.dados, false, semMensagem), esperado) << c.nome;
        EXPECT_TRUE(semMensagem.mensagens.empty()) << c.nome;
        if (esperado) {
            EXPECT_TRUE(comMensagem.mensagens.empty()) << c.nome;
        } else {
            ASSERT_EQ(comMensagem.mensagens.size(), 1u) << c.nome;
            EXPECT_EQ(comMensagem.mensagens[0].texto, c.mensagem) << c.nome;
            EXPECT_EQ(comMensagem.mensagens[0].titulo, "") << c.nome;
        }
    }
}

TEST_F(GestorTest, VerificaGestorMostraUmaSoMensagem) {
    const std::string guarda = "Cadastrar ou corrigir dados do gestor (opção \"Gestor\" no Menu Principal).";
    ScriptedDriver vazio;
    EXPECT_FALSE(VerificaGestor(banco.db(), vazio));
    EXPECT_EQ(vazio.textos(), std::vector<std::string>{guarda});

    // A stored row that no longer passes (its municipality left the table).
    banco.db().execute(
        "insert into TB_GESTOR (IDENTIFICACAO, ESTADUAL, UF, CODMUNIC, DIRTRAB) values ('SMS', '2', '53', "
        "'530099', '/d')");
    ScriptedDriver incompleto;
    EXPECT_FALSE(VerificaGestor(banco.db(), incompleto));
    EXPECT_EQ(incompleto.textos(), std::vector<std::string>{guarda});

    banco.db().execute("update TB_GESTOR set CODMUNIC = '530010'");
    ScriptedDriver completo;
    EXPECT_TRUE(VerificaGestor(banco.db(), completo));
    EXPECT_TRUE(completo.mensagens.empty());
}

TEST_F(GestorTest, AtualizaCriaEDepoisSobrescreveAUnicaLinha) {
    ScriptedDriver d;
    Gestor g = municipal();
    g.identificacao = cp1252::fromUtf8("secretaria de saúde de brasília");
    auto gravado = AtualizaGestor(banco.db(), g, d);
    ASSERT_TRUE(gravado.has_value());
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_EQ(banco.conta("TB_GESTOR"), 1);
    auto lido = LeGestor(banco.db());
    ASSERT_TRUE(lido.has_value());
    EXPECT_EQ(cp1252::toUtf8(lido->identificacao), "SECRETARIA DE SAÚDE DE BRASÍLIA");
    EXPECT_EQ(lido->estadual, "2");
    EXPECT_EQ(lido->uf, "53");
    EXPECT_EQ(lido->codmunic, "530010");
    EXPECT_EQ(lido->dirtrab, "/home/gestor/velt");

    // Turned into a state manager: whatever municipality was typed is stored as 000000.
    Gestor estadual{"ses df", "1", "53", "530010", "/outra"};
    ASSERT_TRUE(AtualizaGestor(banco.db(), estadual, d).has_value());
    EXPECT_EQ(banco.conta("TB_GESTOR"), 1);
    lido = LeGestor(banco.db());
    EXPECT_EQ(lido->identificacao, "SES DF");
    EXPECT_EQ(lido->estadual, "1");
    EXPECT_EQ(lido->codmunic, "000000");
    EXPECT_EQ(lido->dirtrab, "/outra");
    ScriptedDriver guarda;
    EXPECT_TRUE(VerificaGestor(banco.db(), guarda));
}

TEST_F(GestorTest, AtualizaComErroNaoGravaNada) {
    ScriptedDriver d;
    Gestor g = municipal();
    g.uf = "DF";
    EXPECT_FALSE(AtualizaGestor(banco.db(), g, d).has_value());
    EXPECT_EQ(d.textos(), std::vector<std::string>{"UF inválida."});
    EXPECT_EQ(banco.conta("TB_GESTOR"), 0);

    ASSERT_TRUE(AtualizaGestor(banco.db(), municipal(), d).has_value());
    g = municipal();
    g.codmunic = "355030";
    ScriptedDriver d2;
    EXPECT_FALSE(AtualizaGestor(banco.db(), g, d2).has_value());
    EXPECT_EQ(d2.textos(), std::vector<std::string>{"O código do município informado não pertence a UF"});
    EXPECT_EQ(LeGestor(banco.db())->codmunic, "530010");
}

TEST(MaiusculasCp1252, LetrasAcentuadas) {
    EXPECT_EQ(cp1252::toUtf8(MaiusculasCp1252(cp1252::fromUtf8("ação à vista, çãõéíóúâêô ÿšœž ÷ 123 ß"))),
              "AÇÃO À VISTA, ÇÃÕÉÍÓÚÂÊÔ ŸŠŒŽ ÷ 123 ß");
}

TEST(CarregaTabelaUF, VinteESeteEstadosPorNome) {
    TestDatabase banco;
    TabelaUF t = CarregaTabelaUF(banco.db());
    ASSERT_EQ(t.size(), 27u);
    EXPECT_EQ(t.front().Estado, "ACRE");
    EXPECT_EQ(t.front().Sigla, "AC");
    EXPECT_EQ(t.front().Codigo, "12");
    EXPECT_EQ(t.back().Estado, "TOCANTINS");
    for (std::size_t i = 1; i < t.size(); ++i) EXPECT_LE(t[i - 1].Estado, t[i].Estado);
    bool df = false;
    for (const auto& e : t)
        df = df || (e.Sigla == "DF" && e.Codigo == "53" && e.Estado == "DISTRITO FEDERAL");
    EXPECT_TRUE(df);

    banco.db().execute("insert into TB_ESTADO (CO_UF, CO_SIGLA, DS_UF) values ('99', 'ZZ', 'ZONA EXTRA')");
    t = CarregaTabelaUF(banco.db());
    EXPECT_EQ(t.size(), 27u);  // the table has room for the 27 states only
    EXPECT_EQ(t.back().Estado, "TOCANTINS");
}

}  // namespace
}  // namespace velt
