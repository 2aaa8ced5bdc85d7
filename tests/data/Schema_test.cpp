#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "data/Database.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::test::TestDatabase;

namespace {

std::string trim(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// Columns of a relation in stored order, as "NAME TYPE(LENGTH) [NOT NULL]".
std::vector<std::string> colunas(Database& db, const std::string& tabela) {
    auto c = db.prepare(
                   "select rf.RDB$FIELD_NAME NOME, f.RDB$FIELD_TYPE TIPO, f.RDB$CHARACTER_LENGTH LEN, "
                   "rf.RDB$NULL_FLAG NN from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = "
                   "rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = :t order by rf.RDB$FIELD_POSITION")
                 .bind("t", tabela)
                 .open();
    std::vector<std::string> out;
    while (c.next()) {
        std::string tipo;
        switch (c.integer("TIPO")) {
            case 37: tipo = "VARCHAR(" + c.text("LEN") + ")"; break;
            case 14: tipo = "CHAR(" + c.text("LEN") + ")"; break;
            case 8: tipo = "INTEGER"; break;
            case 35: tipo = "TIMESTAMP"; break;
            case 27: tipo = "DOUBLE"; break;
            default: tipo = "T" + c.text("TIPO");
        }
        out.push_back(trim(c.text("NOME")) + " " + tipo + (c.integer("NN") == 1 ? " NOT NULL" : ""));
    }
    return out;
}

std::vector<std::string> v(std::initializer_list<const char*> l) { return {l.begin(), l.end()}; }

TEST(SchemaTest, TablesHaveTheirColumnsInOrder) {
    TestDatabase t;
    std::map<std::string, std::vector<std::string>> esperado = {
        {"TB_PACIENTE",
         v({"CO_CNES VARCHAR(7) NOT NULL", "NU_PRONTUARIO VARCHAR(12) NOT NULL", "NU_CNS VARCHAR(15)",
            "NO_PACIENTE VARCHAR(60) NOT NULL", "DT_NASC_PACIENTE VARCHAR(8) NOT NULL", "CO_SEXO VARCHAR(1)",
            "DS_LOGRADOURO VARCHAR(25)", "NU_LOGRADOURO VARCHAR(5)", "DS_COMPLEMENTO VARCHAR(15)", "CO_CEP VARCHAR(8)",
            "CO_MUNICIPIO VARCHAR(6)", "CO_UF VARCHAR(2)", "NU_SEQ_ID_PACIENTE INTEGER"})},
        {"TB_INTERNACAO",
         v({"NU_REMESSA VARCHAR(13) NOT NULL", "DT_GERACAO_REMESSA TIMESTAMP NOT NULL", "CO_CNES VARCHAR(7) NOT NULL",
            "NU_PRONTUARIO VARCHAR(12) NOT NULL", "DT_INTERNACAO VARCHAR(8) NOT NULL", "DT_SAIDA VARCHAR(8)",
            "CO_TIPO_ALTA VARCHAR(2)", "CO_PROCED_REALIZADO VARCHAR(10)", "CO_DIAG_PRIN VARCHAR(4)",
            "CO_DIAG_SEC VARCHAR(4)", "DS_PROCED VARCHAR(40)", "CO_FONTE_REMUNERA VARCHAR(2)", "CO_SEXO VARCHAR(1)",
            "DT_NASC_PACIENTE VARCHAR(8)", "QT_NASC VARCHAR(1)", "NU_NASC1 VARCHAR(11)", "NU_NASC2 VARCHAR(11)",
            "NU_NASC3 VARCHAR(11)", "NU_NASC4 VARCHAR(11)", "NU_NASC5 VARCHAR(11)", "NU_OBITO VARCHAR(11)",
            "QT_UTI VARCHAR(3)", "CO_OPERADORA VARCHAR(6)", "NU_OPERADORA VARCHAR(14)", "CO_BENEFICIARIO VARCHAR(30)",
            "CO_MUNICIPIO VARCHAR(6)", "NU_QUANTIDADE VARCHAR(6)", "CO_MODALIDADE VARCHAR(2)",
            "NU_SEQ_ID_INTERNACAO INTEGER", "NU_SEQ_ID_PACIENTE INTEGER", "NU_CMPT VARCHAR(6)", "NU_TISS VARCHAR(20)"})},
        {"TB_A_CONSOLIDADO",
         v({"NU_REMESSA VARCHAR(13) NOT NULL", "DT_GERACAO_REMESSA TIMESTAMP NOT NULL", "CO_CNES VARCHAR(7) NOT NULL",
            "DT_COMPETENCIA VARCHAR(6) NOT NULL", "CO_PROCEDIMENTO VARCHAR(10)", "NU_QUANTIDADE VARCHAR(6)",
            "CO_FONTE_REMUNERA CHAR(2)", "CO_OPERADORA VARCHAR(6)"})},
        {"TB_ESTAGIO_REMESSA", v({"NU_REMESSA VARCHAR(13)", "DT_GERACAO_REMESSA TIMESTAMP", "DT_CHEGADA_REMESSA TIMESTAMP",
                                  "DT_COMPETENCIA VARCHAR(6)", "NU_STATUS VARCHAR(1)"})},
        {"TB_ESTAGIO_REMESSA_HOSP",
         v({"CO_CNES VARCHAR(7) NOT NULL", "DT_COMPETENCIA VARCHAR(6) NOT NULL", "NU_REMESSA VARCHAR(19)",
            "DT_GERACAO_REMESSA TIMESTAMP", "NU_STATUS CHAR(1)"})},
        {"TB_REMESSA_ESTATISTICA",
         v({"NU_REMESSA VARCHAR(13) NOT NULL", "DT_CHEGADA_REMESSA TIMESTAMP NOT NULL",
            "DT_COMPETENCIA VARCHAR(6) NOT NULL", "QT_AT_AMB VARCHAR(10) NOT NULL", "QT_AT_INT VARCHAR(10) NOT NULL",
            "QT_AT_CON VARCHAR(12) NOT NULL", "QT_TOT_AT VARCHAR(15) NOT NULL", "QT_REG_LIDOS VARCHAR(12) NOT NULL",
            "QT_REG_INSERIDOS VARCHAR(12) NOT NULL"})},
        {"TB_GESTOR", v({"IDENTIFICACAO VARCHAR(60) NOT NULL", "ESTADUAL CHAR(1) NOT NULL", "UF VARCHAR(2) NOT NULL",
                         "CODMUNIC VARCHAR(6) NOT NULL", "DIRTRAB VARCHAR(70) NOT NULL"})},
        {"TB_ESTADO", v({"CO_UF CHAR(2) NOT NULL", "CO_SIGLA CHAR(2)", "DS_UF VARCHAR(40)", "TP_PLENO CHAR(1)",
                         "CO_GESTOR DOUBLE", "DT_INCLUSAO TIMESTAMP", "NU_PORTARIA VARCHAR(15)", "DT_PORTARIA TIMESTAMP",
                         "DT_VIGENCIA TIMESTAMP"})},
        {"TB_MUNICIPIO", v({"CO_MUNICIPIO CHAR(6) NOT NULL", "DS_MUNICIPIO CHAR(60) NOT NULL",
                            "CO_SIGLA_ESTADO VARCHAR(2)", "NU_ID DOUBLE"})},
        {"TB_CID", v({"CO_CID10 VARCHAR(4) NOT NULL", "CO_OPC CHAR(1)", "CO_CATEGORIA CHAR(1)", "CO_SUB_CATEGORIA CHAR(1)",
                      "DS_CID VARCHAR(60)", "CO_SEXO CHAR(1)", "ST_AGRAVO CHAR(1) NOT NULL"})},
        {"TB_PROCEDIMENTO", v({"CO_PROCEDIMENTO VARCHAR(10) NOT NULL", "DS_PROCEDIMENTO VARCHAR(250) NOT NULL",
                               "CO_SEXO CHAR(1) NOT NULL", "NU_ID_MIN VARCHAR(4)", "NU_ID_MAX VARCHAR(4)"})},
        {"TB_RL_CID", v({"CO_PROCEDIMENTO VARCHAR(10) NOT NULL", "CO_CID VARCHAR(4) NOT NULL"})},
        {"TB_OPERADORA", v({"CO_OPERADORA VARCHAR(6)", "NU_OPERADORA VARCHAR(14)", "NO_RAZAO_SOCIAL VARCHAR(60) NOT NULL",
                            "NO_FANTASIA VARCHAR(60)", "DT_INCLUSAO VARCHAR(10)"})},
        {"TB_TIPO_ALTA", v({"CO_TIPO_ALTA CHAR(2) NOT NULL", "DS_TIPO_ALTA CHAR(75) NOT NULL", "DT_CMPT_FIM VARCHAR(6)"})},
        {"TB_FONTE_REMUNERACAO", v({"CO_FONTE_REMUNERA CHAR(2) NOT NULL", "DS_FONTE_REMUNERA VARCHAR(60)"})},
        {"TB_ESTABELECIMENTO", v({"CO_CNES VARCHAR(7)", "NU_CNPJ VARCHAR(14)", "NO_RAZAO_SOCIAL VARCHAR(60)",
                                  "NO_FANTASIA VARCHAR(60)", "CO_ESTADO_GESTOR VARCHAR(2)", "CO_MUNIC_GESTOR VARCHAR(6)",
                                  "ST_LEITO VARCHAR(1)"})},
        {"TB_CNES", v({"CO_CNES VARCHAR(7) NOT NULL"})},
        {"TB_PROJ_SAUDE", v({"NU_CNES VARCHAR(7) NOT NULL", "CO_REGRA VARCHAR(4) NOT NULL",
                             "CMPT_INICIAL VARCHAR(6) NOT NULL", "CMPT_FINAL VARCHAR(6) NOT NULL"})},
    };
    for (const auto& [tabela, cols] : esperado) EXPECT_EQ(colunas(t.db(), tabela), cols) << tabela;

    // Staging table: named columns only, but every one must be there.
    auto mov = colunas(t.db(), "TB_MOVIMENTO");
    EXPECT_EQ(mov.size(), 39u);
    EXPECT_EQ(mov.back(), "NU_TISS VARCHAR(20)");
    for (const char* tabela : {"TB_CONTROLE", "TB_REGISTRO", "TB_MODALIDADE", "TB_DSCPROC"})
        EXPECT_FALSE(colunas(t.db(), tabela).empty()) << tabela;
}

TEST(SchemaTest, IndexesViewsCountersAndDeliveredRows) {
    TestDatabase t;
    auto indices = [&](const std::string& tabela) {
        auto c = t.db().prepare("select RDB$INDEX_NAME N, RDB$UNIQUE_FLAG U from RDB$INDICES where "
                                "RDB$RELATION_NAME = :t and RDB$INDEX_NAME not starting with 'RDB$' order by 1")
                     .bind("t", tabela)
                     .open();
        std::vector<std::string> out;
        while (c.next()) out.push_back(trim(c.text("N")) + (c.integer("U") == 1 ? " UNIQUE" : ""));
        return out;
    };
    EXPECT_EQ(indices("TB_PACIENTE"), v({"PK_PACIENTE", "PK_Q_PACIENTE_2"}));
    EXPECT_EQ(indices("TB_INTERNACAO"), v({"PK_INTERNACAO", "PK_INTERNACAO_1", "PK_INTERNACAO_3"}));
    EXPECT_EQ(indices("TB_A_CONSOLIDADO"), v({"PK_CONSOLIDADO"}));
    EXPECT_EQ(indices("TB_MOVIMENTO"), v({"PK_MOVIMENTO"}));
    EXPECT_EQ(indices("TB_ESTADO"), v({"PK_ESTADO UNIQUE"}));
    EXPECT_EQ(t.conta("RDB$RELATION_CONSTRAINTS",
                      "RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' and RDB$RELATION_NAME in ('TB_PACIENTE', 'TB_INTERNACAO', "
                      "'TB_A_CONSOLIDADO')"),
              0);
    EXPECT_EQ(t.conta("RDB$RELATION_CONSTRAINTS",
                      "RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' and RDB$RELATION_NAME in ('TB_MUNICIPIO', 'TB_CID')"),
              2);

    for (const char* view : {"REGISTROS1", "TOTALREG", "VW_DIAS_INTERNADOCNES1", "VW_TOTAL_DIASCNES",
                             "VW_TOTAL_CONSOLIDADO", "VW_TOTAL_MODALIDADE"})
        EXPECT_EQ(t.conta("RDB$RELATIONS", std::string("RDB$VIEW_BLR is not null and RDB$RELATION_NAME = '") + view + "'"),
                  1)
            << view;

    EXPECT_EQ(t.valor("select VALOR from TB_CONTROLE where CAMPO = 'SEQ_PAC'"), "0");
    EXPECT_EQ(t.valor("select VALOR from TB_CONTROLE where CAMPO = 'SEQ_INT'"), "0");
    EXPECT_EQ(t.conta("TB_ESTADO"), 27);
    EXPECT_EQ(t.valor("select CO_SIGLA from TB_ESTADO where CO_UF = '35'"), "SP");
    EXPECT_EQ(t.valor("select CO_UF from TB_ESTADO where CO_SIGLA = 'DF'"), "53");
    EXPECT_EQ(t.conta("TB_FONTE_REMUNERACAO"), 11);
    for (const char* codigo : {"1", "2", "3", "4", "5", "6", "8", "9", "10", "11", "12"})
        EXPECT_EQ(t.conta("TB_FONTE_REMUNERACAO", std::string("CO_FONTE_REMUNERA = '") + codigo + "'"), 1) << codigo;
    EXPECT_EQ(t.valor("select DS_FONTE_REMUNERA from TB_FONTE_REMUNERACAO where CO_FONTE_REMUNERA = '12'"), "PROADI");
}

TEST(SchemaTest, ViewsCountDaysAndRecords) {
    TestDatabase t;
    auto ins = t.db().prepare(
        "insert into TB_INTERNACAO (NU_REMESSA, DT_GERACAO_REMESSA, CO_CNES, NU_PRONTUARIO, DT_INTERNACAO, DT_SAIDA, "
        "CO_MODALIDADE, NU_CMPT, NU_QUANTIDADE) values ('1234567201201', :g, '1234567', :p, :di, :ds, :m, '201201', "
        "'1')");
    DataHora g{2012, 2, 5, 10, 0, 0, 0};
    ins.bind("g", g).bind("p", "1").bind("di", "30012012").bind("ds", "02022012").bind("m", "02").execute();
    ins.bind("p", "2").bind("di", "01012012").bind("ds", "01012012").bind("m", "01").execute();
    EXPECT_EQ(std::stod(t.valor("select DIAS from VW_DIAS_INTERNADOCNES1 where MODALIDADE = '02'")), 3.0);
    EXPECT_EQ(std::stod(t.valor("select TDIAS from VW_TOTAL_DIASCNES where MODALIDADE = '02'")), 3.0);
    EXPECT_EQ(t.valor("select QTD from REGISTROS1 where MODALIDADE = 'AMB.  IND.'"), "1");
    EXPECT_EQ(t.valor("select TOTAL from TOTALREG where CNES = '1234567'"), "2");
}

}  // namespace
