#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "data/DataModule.h"
#include "data/Schema.h"
#include "data/Upgrade.h"
#include "support/FormaDoBanco.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::test::ScriptedDriver;
using velt::test::TempDir;

namespace {

bool contem(const std::string& s, const std::string& parte) { return s.find(parte) != std::string::npos; }

std::string semTrecho(std::string s, const std::string& trecho) {
    auto p = s.find(trecho);
    if (p != std::string::npos) s.erase(p, trecho.size());
    return s;
}

// Builds a database from the new-database statements as an older version would have had them:
// `ajusta` may drop a statement (returning "") or rewrite it.
std::unique_ptr<Database> bancoAntigo(const std::filesystem::path& arquivo,
                                      const std::function<std::string(const std::string&)>& ajusta,
                                      const std::vector<std::string>& extras = {}) {
    auto db = Database::create(test::embedded(arquivo));
    for (const auto& sql : schema::statementsForNewDatabase()) {
        std::string s = ajusta(sql);
        if (!s.empty()) db->execute(s);
    }
    for (const auto& s : extras) db->execute(s);
    return db;
}

std::string formaNova() {
    static std::string forma = [] {
        test::TestDatabase t;
        return test::formaDoBanco(t.db());
    }();
    return forma;
}

// One start of the program's data module on this database.
bool inicia(const std::filesystem::path& arquivo, ScriptedDriver& driver) {
    TempDir pasta;
    test::escreveArquivo(pasta / "velt.ini", "SYSDBA\r\nmasterkey\r\n" + arquivo.string() + "\r\n");
    TDM dm(pasta.path());
    return dm.DataModuleCreate(driver);
}

TEST(UpgradeTest, DatabaseWithoutNewerTablesColumnsAndViewsReachesTheFinalShape) {
    TempDir dir;
    auto arquivo = dir / "antigo.fdb";
    bancoAntigo(arquivo, [](const std::string& sql) -> std::string {
        if (contem(sql, "TB_REMESSA_ESTATISTICA") || contem(sql, "TB_PROJ_SAUDE") || contem(sql, "CREATE VIEW") ||
            contem(sql, "'PRONON'") || contem(sql, "'PRONAS/PCD'") || contem(sql, "'PROADI'"))
            return "";
        // Before its source of payment existed, the consolidated table had a primary key instead.
        if (contem(sql, "PK_CONSOLIDADO"))
            return "ALTER TABLE TB_A_CONSOLIDADO ADD PRIMARY KEY (NU_REMESSA, CO_CNES, DT_COMPETENCIA)";
        std::string s = semTrecho(sql, ", NU_TISS VARCHAR(20)");
        return semTrecho(s, ", CO_FONTE_REMUNERA CHAR(2), CO_OPERADORA VARCHAR(6)");
    })->detach();

    ScriptedDriver driver;
    EXPECT_TRUE(inicia(arquivo, driver));
    ASSERT_TRUE(driver.mensagens.empty()) << driver.mensagens.front().texto;
    {
        // One start adds everything but the consolidated index, which waits for its key to be gone.
        auto db = Database::attach(test::embedded(arquivo));
        std::string forma = test::formaDoBanco(*db);
        EXPECT_TRUE(contem(forma, "TABLE TB_PROJ_SAUDE") && contem(forma, "TABLE TB_REMESSA_ESTATISTICA") &&
                    contem(forma, "VIEW VW_TOTAL_MODALIDADE") && contem(forma, "  NU_TISS 37(20)"))
            << forma;
        EXPECT_FALSE(contem(forma, "index PK_CONSOLIDADO"));
    }
    EXPECT_TRUE(inicia(arquivo, driver));
    EXPECT_TRUE(driver.mensagens.empty());
    auto db = Database::attach(test::embedded(arquivo));
    EXPECT_EQ(test::formaDoBanco(*db), formaNova());
    auto c = db->prepare("select DS_FONTE_REMUNERA D from TB_FONTE_REMUNERACAO where CO_FONTE_REMUNERA in "
                         "('10','11','12') order by CO_FONTE_REMUNERA")
                 .open();
    std::vector<std::string> fontes;
    while (c.next()) fontes.push_back(c.text("D"));
    EXPECT_EQ(fontes, (std::vector<std::string>{"PRONON", "PRONAS/PCD", "PROADI"}));
}

TEST(UpgradeTest, PrimaryKeysOnAttendanceTablesGiveWayToIndexesOnTheSecondStart) {
    TempDir dir;
    auto arquivo = dir / "antigo.fdb";
    bancoAntigo(arquivo,
                [](const std::string& sql) -> std::string {
                    for (const char* idx : {"PK_PACIENTE ", "PK_Q_PACIENTE_2", "PK_INTERNACAO", "PK_CONSOLIDADO"})
                        if (contem(sql, std::string("CREATE INDEX ") + idx)) return "";
                    return sql;
                },
                {"ALTER TABLE TB_PACIENTE ADD CONSTRAINT PK_TB_PACIENTE PRIMARY KEY (CO_CNES, NU_PRONTUARIO)",
                 "ALTER TABLE TB_INTERNACAO ADD CONSTRAINT PK_TB_INTERNACAO PRIMARY KEY (NU_REMESSA, CO_CNES, "
                 "NU_PRONTUARIO, DT_INTERNACAO)",
                 "ALTER TABLE TB_A_CONSOLIDADO ADD PRIMARY KEY (NU_REMESSA, CO_CNES, DT_COMPETENCIA)"})
        ->detach();

    ScriptedDriver driver;
    ASSERT_TRUE(inicia(arquivo, driver));
    {
        auto db = Database::attach(test::embedded(arquivo));
        std::string forma = test::formaDoBanco(*db);
        EXPECT_FALSE(contem(forma, "primary key\nTABLE TB_REMESSA")) << forma;
        EXPECT_FALSE(contem(forma, "index PK_INTERNACAO_3")) << "indexes created while the keys were there";
        EXPECT_NE(forma, formaNova());
    }
    ASSERT_TRUE(inicia(arquivo, driver));
    EXPECT_TRUE(driver.mensagens.empty());
    auto db = Database::attach(test::embedded(arquivo));
    EXPECT_EQ(test::formaDoBanco(*db), formaNova());
}

TEST(UpgradeTest, OldRegistrosViewsAreReplaced) {
    TempDir dir;
    auto arquivo = dir / "antigo.fdb";
    bancoAntigo(arquivo,
                [](const std::string& sql) -> std::string {
                    return contem(sql, "VIEW REGISTROS1") || contem(sql, "VIEW TOTALREG") ? "" : sql;
                },
                {"CREATE VIEW REGISTROS (CNES, QTD) AS select co_cnes, count(*) from tb_internacao group by co_cnes",
                 "CREATE VIEW TOTALREG (CNES, TOTAL) AS select cnes, sum(qtd) from registros group by cnes"})
        ->detach();

    ScriptedDriver driver;
    ASSERT_TRUE(inicia(arquivo, driver));
    auto db = Database::attach(test::embedded(arquivo));
    EXPECT_EQ(test::formaDoBanco(*db), formaNova());
    auto c = db->prepare("select trim(RDB$DEPENDED_ON_NAME) D from RDB$DEPENDENCIES where RDB$DEPENDENT_NAME = "
                         "'TOTALREG' and RDB$DEPENDED_ON_TYPE = 1")
                 .open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("D"), "REGISTROS1");
}

TEST(UpgradeTest, ConsolidatedSourceOfPaymentAddedAsVarcharBecomesChar2OnTheSameStart) {
    TempDir dir;
    auto arquivo = dir / "antigo.fdb";
    bancoAntigo(arquivo, [](const std::string& sql) -> std::string {
        if (contem(sql, "PK_CONSOLIDADO"))
            return "ALTER TABLE TB_A_CONSOLIDADO ADD PRIMARY KEY (NU_REMESSA, CO_CNES, DT_COMPETENCIA)";
        return semTrecho(sql, ", CO_FONTE_REMUNERA CHAR(2), CO_OPERADORA VARCHAR(6)");
    })->detach();
    ScriptedDriver driver;
    ASSERT_TRUE(inicia(arquivo, driver));
    auto db = Database::attach(test::embedded(arquivo));
    std::string forma = test::formaDoBanco(*db);
    EXPECT_TRUE(contem(forma, "  CO_FONTE_REMUNERA 14(2)\n  CO_OPERADORA 37(6)\n")) << forma;
}

TEST(UpgradeTest, FinalShapeRunsOnlyProbesAndRecreatesOneView) {
    test::TestDatabase t;
    std::vector<std::string> trace;
    t.db().setTrace(&trace);
    ScriptedDriver driver;
    ASSERT_TRUE(AtualizaEsquema(t.db(), driver));
    t.db().setTrace(nullptr);
    std::vector<std::string> alteracoes;
    for (const auto& sql : trace) {
        std::string inicio = sql.substr(sql.find_first_not_of(' '), 6);
        std::transform(inicio.begin(), inicio.end(), inicio.begin(), ::toupper);
        if (inicio != "SELECT") alteracoes.push_back(sql);
    }
    EXPECT_EQ(alteracoes, (std::vector<std::string>{"DROP VIEW VW_TOTAL_MODALIDADE", schema::kViewTotalModalidade}));
    EXPECT_TRUE(driver.mensagens.empty());
    EXPECT_EQ(test::formaDoBanco(t.db()), formaNova());
}

TEST(UpgradeTest, FailureToCreateTheStatisticsTableStopsTheUpgradeWithItsMessage) {
    TempDir dir;
    auto arquivo = dir / "antigo.fdb";
    // A procedure holding the name makes the table impossible to create.
    bancoAntigo(arquivo,
                [](const std::string& sql) -> std::string {
                    if (contem(sql, "TB_REMESSA_ESTATISTICA") || contem(sql, "TB_PROJ_SAUDE")) return "";
                    return sql;
                },
                {"CREATE PROCEDURE TB_REMESSA_ESTATISTICA AS BEGIN END"})
        ->detach();
    ScriptedDriver driver;
    EXPECT_FALSE(inicia(arquivo, driver));
    ASSERT_EQ(driver.mensagens.size(), 1u);
    EXPECT_EQ(driver.mensagens[0].texto, "Erro na criação da tabela de remessa estatistica");
    auto db = Database::attach(test::embedded(arquivo));
    // Nothing after the failing step ran: TB_PROJ_SAUDE is still missing.
    EXPECT_FALSE(contem(test::formaDoBanco(*db), "TABLE TB_PROJ_SAUDE"));
}

}  // namespace
