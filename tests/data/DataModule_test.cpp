#include <gtest/gtest.h>

#include <filesystem>

#include "data/DataModule.h"
#include "data/VeltIni.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::test::escreveArquivo;
using velt::test::leArquivo;
using velt::test::ScriptedDriver;
using velt::test::TempDir;

namespace {

TEST(VeltIniTest, ThreeLinesWithPasswordBlanksKept) {
    TempDir dir;
    escreveArquivo(dir / "velt.ini", "SYSDBA\r\nsenha  \r\nservidor:/dados/VELT02.FDB\r\nlinha 4 ignorada\r\n");
    auto p = LeVeltIni(dir.path());
    EXPECT_EQ(p.usuario, "SYSDBA");
    EXPECT_EQ(p.senha, "senha  ");
    EXPECT_EQ(p.local, "servidor:/dados/VELT02.FDB");
}

TEST(DataModuleTest, NewDatabaseCreatedWhereVeltIniPointsAndBarraWritten) {
    TempDir dir;
    std::filesystem::create_directories(dir / "dados");
    escreveArquivo(dir / "velt.ini", "SYSDBA\r\nmasterkey\r\n" + (dir / "dados" / "VELT02.FDB").string() + "\r\n");
    ScriptedDriver driver;
    TDM dm(dir.path());
    ASSERT_TRUE(dm.DataModuleCreate(driver));
    EXPECT_TRUE(driver.mensagens.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "dados" / "VELT02.FDB"));
    EXPECT_EQ(leArquivo(dir / "BARRA.Txt"), "True\r\n");
    EXPECT_EQ(dm.barraLembrada(), "True");
    auto c = dm.db().prepare("select count(*) N from TB_ESTADO").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer("N"), 27);

    dm.lembraBarra(false);
    EXPECT_EQ(leArquivo(dir / "BARRA.Txt"), "False\r\n");
}

TEST(DataModuleTest, BarraKeepsWhatIsWrittenThere) {
    for (const char* conteudo : {"true\r\n", "True \r\n", "False\r\n"}) {
        test::TestDatabase t;
        TempDir dir;
        t.escreveVeltIni(dir.path());
        escreveArquivo(dir / "BARRA.Txt", conteudo);
        ScriptedDriver driver;
        TDM dm(dir.path());
        ASSERT_TRUE(dm.DataModuleCreate(driver));
        EXPECT_NE(dm.barraLembrada(), "True") << conteudo;  // only the exact text shows the tool bar
    }
}

TEST(DataModuleTest, StartUpFailuresShowTheirTextAndSkipTheRest) {
    struct Caso {
        const char* nome;
        std::function<void(const TempDir&)> prepara;
    } casos[] = {
        {"velt.ini ausente da pasta corrente", [](const TempDir&) {}},
        {"velt.ini com duas linhas", [](const TempDir& d) { escreveArquivo(d / "velt.ini", "SYSDBA\r\nmasterkey\r\n"); }},
        {"pasta do banco inexistente",
         [](const TempDir& d) {
             escreveArquivo(d / "velt.ini", "SYSDBA\r\nmasterkey\r\n" + (d / "nao" / "existe.fdb").string() + "\r\n");
         }},
        {"servidor inalcançável",
         [](const TempDir& d) { escreveArquivo(d / "velt.ini", "SYSDBA\r\nmasterkey\r\n127.0.0.1/1:/x.fdb\r\n"); }},
    };
    for (const auto& caso : casos) {
        TempDir dir;
        caso.prepara(dir);
        ScriptedDriver driver;
        TDM dm(dir.path());
        EXPECT_FALSE(dm.DataModuleCreate(driver)) << caso.nome;
        ASSERT_EQ(driver.mensagens.size(), 1u) << caso.nome;
        EXPECT_EQ(driver.mensagens[0].icone, Driver::Icone::Erro);
        EXPECT_FALSE(driver.mensagens[0].texto.empty());
        EXPECT_FALSE(dm.conectado());
        EXPECT_EQ(dm.barraLembrada(), "") << caso.nome;  // tool bar hidden
        EXPECT_FALSE(std::filesystem::exists(dir / "BARRA.Txt")) << caso.nome;
        EXPECT_THROW(dm.db(), DatabaseError);
    }
}

TEST(DataModuleTest, VeltIniBesideTheProgramIsNotRead) {
    // Only the current directory counts: a velt.ini one folder up is not found.
    TempDir dir;
    test::TestDatabase t;
    t.escreveVeltIni(dir.path());
    std::filesystem::create_directories(dir / "sub");
    ScriptedDriver driver;
    TDM dm(dir / "sub");
    EXPECT_FALSE(dm.DataModuleCreate(driver));
}

TEST(DataModuleTest, RemoteLocationIsNeverCreated) {
    EXPECT_THROW(CriaBanco({"SYSDBA", "masterkey", "localhost:/tmp/velt-nao-criar.fdb"}), DatabaseError);
    test::TestDatabase t;
    EXPECT_THROW(CriaBanco(test::embedded(t.arquivo())), DatabaseError);  // an existing file is kept
}

}  // namespace
