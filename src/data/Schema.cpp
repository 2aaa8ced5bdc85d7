#include "data/Schema.h"

#include "common/Cp1252.h"
#include "data/Database.h"

namespace velt::schema {

const char* const kViewRegistros1 =
    "CREATE VIEW REGISTROS1 (CNES, CMPT, MODALIDADE, QTD) AS  select co_cnes as CNES , \n"
    "nu_cmpt as CMPT,'AMB.  IND.' as modalidade , count(*) QTD\n"
    "from tb_internacao where co_modalidade = 01 group by NU_CMPT, CO_CNES\n"
    "union all select co_cnes as CNES ,nu_cmpt as CMPT, 'INTERNACAO' as modalidade , count(*) QTD\n"
    " from tb_internacao where co_modalidade = 02 group by NU_CMPT, CO_CNES \n"
    "union all select co_cnes as CNES,dt_competencia as CMPT, 'AMB. CONS.' as modalidade , count(*) QTD\n"
    "from tb_a_consolidado group by dt_competencia, CO_CNES";

const char* const kViewTotalReg =
    "CREATE VIEW TOTALREG (CNES, TOTAL) AS select cnes, sum(qtd) total from registros1 group by cnes";

// Dates are DDMMYYYY texts; each becomes a timestamp and the admission is subtracted from the discharge.
const char* const kViewDiasInternadoCnes1 =
    "CREATE VIEW VW_DIAS_INTERNADOCNES1 (DIAS, COMPT, CNES, MODALIDADE) AS\n"
    "select CAST(SUBSTRING(TBI.DT_SAIDA FROM 5 FOR 4) || '-' || SUBSTRING(TBI.DT_SAIDA FROM 3 FOR 2) || '-' ||\n"
    "SUBSTRING(TBI.DT_SAIDA FROM 1 FOR 2) AS TIMESTAMP) -\n"
    "CAST(SUBSTRING(TBI.DT_INTERNACAO FROM 5 FOR 4) || '-' || SUBSTRING(TBI.DT_INTERNACAO FROM 3 FOR 2) || '-' ||\n"
    "SUBSTRING(TBI.DT_INTERNACAO FROM 1 FOR 2) AS TIMESTAMP),\n"
    "TBI.NU_CMPT, TBI.CO_CNES, TBI.CO_MODALIDADE\n"
    "from TB_INTERNACAO TBI";

const char* const kViewTotalDiasCnes =
    "CREATE VIEW VW_TOTAL_DIASCNES(TDIAS, COMPT, CNES, MODALIDADE) AS \n"
    "select SUM(D.DIAS) as TDIAS, D.COMPT AS COMPT, D.CNES AS CNES, D.MODALIDADE AS MODALIDADE\n"
    "from VW_DIAS_INTERNADOCNES1 D GROUP BY D.COMPT, D.CNES, MODALIDADE";

const char* const kViewTotalConsolidado =
    "CREATE VIEW VW_TOTAL_CONSOLIDADO (QUANT, COMPT, CNES) AS \n"
    "select SUM(CAST(NU_QUANTIDADE AS INTEGER)) AS QUANT, DT_COMPETENCIA AS COMPT, CO_CNES AS CNES\n"
    "FROM TB_A_CONSOLIDADO GROUP BY DT_COMPETENCIA, CO_CNES";

const char* const kViewTotalModalidade =
    "CREATE VIEW VW_TOTAL_MODALIDADE (QUANT, COMPT, MODALIDADE, CO_CNES, PRONT) AS \n"
    "select sum(cast(TBI.NU_QUANTIDADE as integer)) AS QUANT, TBI.NU_CMPT AS COMPT, TBI.CO_MODALIDADE AS "
    "MODALIDADE, \n"
    "TBI.CO_CNES AS CNES, TBI.NU_PRONTUARIO AS PRONT from TB_INTERNACAO TBI\n"
    "GROUP BY TBI.NU_QUANTIDADE,TBI.NU_CMPT, TBI.CO_MODALIDADE, TBI.CO_CNES, TBI.NU_PRONTUARIO";

namespace {

struct Estado {
    const char* codigo;
    const char* sigla;
    const char* nome;  // UTF-8 here, stored as Windows-1252
};

constexpr Estado kEstados[] = {
    {"11", "RO", "RONDÔNIA"},           {"12", "AC", "ACRE"},
    {"13", "AM", "AMAZONAS"},           {"14", "RR", "RORAIMA"},
    {"15", "PA", "PARÁ"},               {"16", "AP", "AMAPÁ"},
    {"17", "TO", "TOCANTINS"},          {"21", "MA", "MARANHÃO"},
    {"22", "PI", "PIAUÍ"},              {"23", "CE", "CEARÁ"},
    {"24", "RN", "RIO GRANDE DO NORTE"}, {"25", "PB", "PARAÍBA"},
    {"26", "PE", "PERNAMBUCO"},         {"27", "AL", "ALAGOAS"},
    {"28", "SE", "SERGIPE"},            {"29", "BA", "BAHIA"},
    {"31", "MG", "MINAS GERAIS"},       {"32", "ES", "ESPÍRITO SANTO"},
    {"33", "RJ", "RIO DE JANEIRO"},     {"35", "SP", "SÃO PAULO"},
    {"41", "PR", "PARANÁ"},             {"42", "SC", "SANTA CATARINA"},
    {"43", "RS", "RIO GRANDE DO SUL"},  {"50", "MS", "MATO GROSSO DO SUL"},
    {"51", "MT", "MATO GROSSO"},        {"52", "GO", "GOIÁS"},
    {"53", "DF", "DISTRITO FEDERAL"},
};

// Sources of payment delivered with the database, as the movement screens' legend names them.
constexpr std::pair<const char*, const char*> kFontes[] = {
    {"1", "Convênio - Plano Privado"},
    {"2", "Particular - Pessoa Física"},
    {"3", "Gratuito"},
    {"4", "Financiado com recurso próprio da SES"},
    {"5", "Financiado com recurso próprio da SMS"},
    {"6", "Convênio Plano Público"},
    {"8", "DPVAT"},
    {"9", "Particular Pessoa Jurídica"},
    {"10", "PRONON"},
    {"11", "PRONAS/PCD"},
    {"12", "PROADI"},
};

std::vector<std::string> build() {
    std::vector<std::string> s = {
        "CREATE TABLE TB_PACIENTE (CO_CNES VARCHAR(7) NOT NULL, NU_PRONTUARIO VARCHAR(12) NOT NULL, "
        "NU_CNS VARCHAR(15), NO_PACIENTE VARCHAR(60) NOT NULL, DT_NASC_PACIENTE VARCHAR(8) NOT NULL, "
        "CO_SEXO VARCHAR(1), DS_LOGRADOURO VARCHAR(25), NU_LOGRADOURO VARCHAR(5), DS_COMPLEMENTO VARCHAR(15), "
        "CO_CEP VARCHAR(8), CO_MUNICIPIO VARCHAR(6), CO_UF VARCHAR(2), NU_SEQ_ID_PACIENTE INTEGER)",
        "CREATE INDEX PK_PACIENTE ON TB_PACIENTE (NU_SEQ_ID_PACIENTE)",
        "CREATE INDEX PK_Q_PACIENTE_2 ON TB_PACIENTE (CO_CNES, NU_PRONTUARIO, DT_NASC_PACIENTE, NO_PACIENTE, "
        "CO_SEXO, NU_CNS)",

        "CREATE TABLE TB_INTERNACAO (NU_REMESSA VARCHAR(13) NOT NULL, DT_GERACAO_REMESSA TIMESTAMP NOT NULL, "
        "CO_CNES VARCHAR(7) NOT NULL, NU_PRONTUARIO VARCHAR(12) NOT NULL, DT_INTERNACAO VARCHAR(8) NOT NULL, "
        "DT_SAIDA VARCHAR(8), CO_TIPO_ALTA VARCHAR(2), CO_PROCED_REALIZADO VARCHAR(10), CO_DIAG_PRIN VARCHAR(4), "
        "CO_DIAG_SEC VARCHAR(4), DS_PROCED VARCHAR(40), CO_FONTE_REMUNERA VARCHAR(2), CO_SEXO VARCHAR(1), "
        "DT_NASC_PACIENTE VARCHAR(8), QT_NASC VARCHAR(1), NU_NASC1 VARCHAR(11), NU_NASC2 VARCHAR(11), "
        "NU_NASC3 VARCHAR(11), NU_NASC4 VARCHAR(11), NU_NASC5 VARCHAR(11), NU_OBITO VARCHAR(11), "
        "QT_UTI VARCHAR(3), CO_OPERADORA VARCHAR(6), NU_OPERADORA VARCHAR(14), CO_BENEFICIARIO VARCHAR(30), "
        "CO_MUNICIPIO VARCHAR(6), NU_QUANTIDADE VARCHAR(6), CO_MODALIDADE VARCHAR(2), "
        "NU_SEQ_ID_INTERNACAO INTEGER, NU_SEQ_ID_PACIENTE INTEGER, NU_CMPT VARCHAR(6), NU_TISS VARCHAR(20))",
        "CREATE INDEX PK_INTERNACAO ON TB_INTERNACAO (NU_SEQ_ID_INTERNACAO)",
        "CREATE INDEX PK_INTERNACAO_1 ON TB_INTERNACAO (CO_CNES, NU_PRONTUARIO, DT_INTERNACAO, DT_SAIDA, "
        "CO_MODALIDADE, NU_SEQ_ID_PACIENTE, CO_PROCED_REALIZADO, CO_FONTE_REMUNERA)",
        "CREATE INDEX PK_INTERNACAO_3 ON TB_INTERNACAO (NU_REMESSA)",

        "CREATE TABLE TB_A_CONSOLIDADO (NU_REMESSA VARCHAR(13) NOT NULL, DT_GERACAO_REMESSA TIMESTAMP NOT NULL, "
        "CO_CNES VARCHAR(7) NOT NULL, DT_COMPETENCIA VARCHAR(6) NOT NULL, CO_PROCEDIMENTO VARCHAR(10), "
        "NU_QUANTIDADE VARCHAR(6), CO_FONTE_REMUNERA CHAR(2), CO_OPERADORA VARCHAR(6))",
        "CREATE INDEX PK_CONSOLIDADO ON TB_A_CONSOLIDADO (NU_REMESSA, DT_GERACAO_REMESSA, CO_CNES, "
        "DT_COMPETENCIA, CO_PROCEDIMENTO, NU_QUANTIDADE, CO_FONTE_REMUNERA, CO_OPERADORA)",

        "CREATE TABLE TB_MOVIMENTO (TP_REGISTRO VARCHAR(1), CO_CNES VARCHAR(7), NU_PRONTUARIO VARCHAR(12), "
        "DT_INTERNACAO VARCHAR(8), DT_SAIDA VARCHAR(8), CO_TIPO_ALTA VARCHAR(2), CO_PROCED_REALIZADO VARCHAR(10), "
        "CO_DIAG_PRIN VARCHAR(4), CO_DIAG_SEC VARCHAR(4), DS_PROCED VARCHAR(40), CO_FONTE_REMUNERA VARCHAR(2), "
        "NO_PACIENTE VARCHAR(60), DT_NASC_PACIENTE VARCHAR(8), NU_CNS VARCHAR(15), CO_SEXO VARCHAR(1), "
        "DS_LOGRADOURO VARCHAR(25), NU_LOGRADOURO VARCHAR(5), DS_COMPLEMENTO VARCHAR(15), CO_CEP VARCHAR(8), "
        "CO_MUNICIPIO VARCHAR(6), CO_UF VARCHAR(2), CO_OPERADORA VARCHAR(6), NU_OPERADORA VARCHAR(14), "
        "CO_BENEFICIARIO VARCHAR(30), QT_NASC VARCHAR(1), QT_DIASUTI VARCHAR(3), NU_OBITO VARCHAR(11), "
        "NU_NASC1 VARCHAR(11), NU_NASC2 VARCHAR(11), NU_NASC3 VARCHAR(11), NU_NASC4 VARCHAR(11), "
        "NU_NASC5 VARCHAR(11), DT_COMPETENCIA VARCHAR(6), NU_STATUS_MOV VARCHAR(1), NU_REMESSA VARCHAR(13), "
        "DT_GERACAO_REMESSA TIMESTAMP, NU_QUANTIDADE VARCHAR(6), CO_MODALIDADE VARCHAR(2), NU_TISS VARCHAR(20))",
        "CREATE INDEX PK_MOVIMENTO ON TB_MOVIMENTO (TP_REGISTRO, NU_STATUS_MOV, NU_REMESSA, CO_CNES)",

        "CREATE TABLE TB_CONTROLE (CAMPO VARCHAR(20) NOT NULL, VALOR INTEGER)",

        "CREATE TABLE TB_ESTAGIO_REMESSA (NU_REMESSA VARCHAR(13), DT_GERACAO_REMESSA TIMESTAMP, "
        "DT_CHEGADA_REMESSA TIMESTAMP, DT_COMPETENCIA VARCHAR(6), NU_STATUS VARCHAR(1))",
        "CREATE TABLE TB_ESTAGIO_REMESSA_HOSP (CO_CNES VARCHAR(7) NOT NULL, DT_COMPETENCIA VARCHAR(6) NOT NULL, "
        "NU_REMESSA VARCHAR(19), DT_GERACAO_REMESSA TIMESTAMP, NU_STATUS CHAR(1))",
        "CREATE TABLE TB_REMESSA_ESTATISTICA ( nu_remessa varchar(13) not null, \n"
        "dt_chegada_remessa TIMESTAMP not null, dt_competencia varchar(6) not null, \n"
        "QT_AT_AMB varchar(10) not null, QT_AT_INT varchar(10) not null, \n"
        "QT_AT_CON varchar(12) not null, QT_TOT_AT varchar(15) not null, QT_REG_LIDOS varchar(12) not null, \n"
        "QT_REG_INSERIDOS varchar(12) not null )",

        "CREATE TABLE TB_GESTOR (IDENTIFICACAO VARCHAR(60) NOT NULL, ESTADUAL CHAR(1) NOT NULL, "
        "UF VARCHAR(2) NOT NULL, CODMUNIC VARCHAR(6) NOT NULL, DIRTRAB VARCHAR(70) NOT NULL)",

        "CREATE TABLE TB_ESTADO (CO_UF CHAR(2) NOT NULL, CO_SIGLA CHAR(2), DS_UF VARCHAR(40), TP_PLENO CHAR(1), "
        "CO_GESTOR DOUBLE PRECISION, DT_INCLUSAO TIMESTAMP, NU_PORTARIA VARCHAR(15), DT_PORTARIA TIMESTAMP, "
        "DT_VIGENCIA TIMESTAMP)",
        "CREATE UNIQUE INDEX PK_ESTADO ON TB_ESTADO (CO_UF)",
        "CREATE TABLE TB_MUNICIPIO (CO_MUNICIPIO CHAR(6) NOT NULL, DS_MUNICIPIO CHAR(60) NOT NULL, "
        "CO_SIGLA_ESTADO VARCHAR(2), NU_ID DOUBLE PRECISION, PRIMARY KEY (CO_MUNICIPIO))",
        "CREATE TABLE TB_CID (CO_CID10 VARCHAR(4) NOT NULL, CO_OPC CHAR(1), CO_CATEGORIA CHAR(1), "
        "CO_SUB_CATEGORIA CHAR(1), DS_CID VARCHAR(60), CO_SEXO CHAR(1), ST_AGRAVO CHAR(1) NOT NULL, "
        "PRIMARY KEY (CO_CID10))",
        "CREATE TABLE TB_PROCEDIMENTO (CO_PROCEDIMENTO VARCHAR(10) NOT NULL, DS_PROCEDIMENTO VARCHAR(250) NOT NULL, "
        "CO_SEXO CHAR(1) NOT NULL, NU_ID_MIN VARCHAR(4), NU_ID_MAX VARCHAR(4))",
        "CREATE TABLE TB_REGISTRO (CO_PROCEDIMENTO VARCHAR(10), CO_REGISTRO VARCHAR(2))",
        "CREATE TABLE TB_MODALIDADE (CO_PROCEDIMENTO VARCHAR(10), CO_MODALIDADE VARCHAR(2))",
        "CREATE TABLE TB_RL_CID (CO_PROCEDIMENTO VARCHAR(10) NOT NULL, CO_CID VARCHAR(4) NOT NULL)",
        "CREATE TABLE TB_OPERADORA (CO_OPERADORA VARCHAR(6), NU_OPERADORA VARCHAR(14), "
        "NO_RAZAO_SOCIAL VARCHAR(60) NOT NULL, NO_FANTASIA VARCHAR(60), DT_INCLUSAO VARCHAR(10))",
        "CREATE TABLE TB_TIPO_ALTA (CO_TIPO_ALTA CHAR(2) NOT NULL, DS_TIPO_ALTA CHAR(75) NOT NULL, "
        "DT_CMPT_FIM VARCHAR(6))",
        "CREATE TABLE TB_FONTE_REMUNERACAO (CO_FONTE_REMUNERA CHAR(2) NOT NULL, DS_FONTE_REMUNERA VARCHAR(60))",
        "CREATE TABLE TB_ESTABELECIMENTO (CO_CNES VARCHAR(7), NU_CNPJ VARCHAR(14), NO_RAZAO_SOCIAL VARCHAR(60), "
        "NO_FANTASIA VARCHAR(60), CO_ESTADO_GESTOR VARCHAR(2), CO_MUNIC_GESTOR VARCHAR(6), ST_LEITO VARCHAR(1))",
        "CREATE TABLE TB_CNES (CO_CNES VARCHAR(7) NOT NULL)",
        "CREATE TABLE TB_PROJ_SAUDE (nu_cnes varchar(7) not null, \n"
        "co_regra varchar(4) not null, cmpt_inicial varchar(6) not null, \n"
        "cmpt_final varchar(6) not null )",
        "CREATE TABLE TB_DSCPROC (CO_SEQ_PROCED VARCHAR(10), DS_PROCEDIMENTO VARCHAR(250))",

        kViewRegistros1,
        kViewTotalReg,
        kViewDiasInternadoCnes1,
        kViewTotalDiasCnes,
        kViewTotalConsolidado,
        kViewTotalModalidade,

        "INSERT INTO TB_CONTROLE (CAMPO, VALOR) VALUES ('SEQ_PAC', 0)",
        "INSERT INTO TB_CONTROLE (CAMPO, VALOR) VALUES ('SEQ_INT', 0)",
    };
    for (const auto& e : kEstados)
        s.push_back(std::string("INSERT INTO TB_ESTADO (CO_UF, CO_SIGLA, DS_UF) VALUES ('") + e.codigo + "', '" +
                    e.sigla + "', '" + cp1252::fromUtf8(e.nome) + "')");
    for (const auto& [codigo, descricao] : kFontes)
        s.push_back(std::string("INSERT INTO TB_FONTE_REMUNERACAO (CO_FONTE_REMUNERA, DS_FONTE_REMUNERA) VALUES ('") +
                    codigo + "', '" + cp1252::fromUtf8(descricao) + "')");
    return s;
}

}  // namespace

const std::vector<std::string>& statementsForNewDatabase() {
    static const std::vector<std::string> statements = build();
    return statements;
}

void createObjects(Database& db) {
    // Tables must be committed before views and rows can use them.
    for (const auto& sql : statementsForNewDatabase()) db.execute(sql);
}

}  // namespace velt::schema
