#include "data/Upgrade.h"

#include <functional>
#include <string>

#include "data/Database.h"
#include "data/Schema.h"

namespace velt {
namespace {

// Thrown by the steps whose failure has its own message and stops the upgrade.
struct UpgradeStopped {};

class Upgrade {
public:
    explicit Upgrade(Database& db)
        : db_(db),
          probes_(db, Transaction::Modo::SomenteLeitura),
          indexProbe_(db.prepare("SELECT RDB$INDEX_NAME FROM RDB$INDICES WHERE RDB$RELATION_NAME= :tab")),
          relationProbe_(db.prepare("SELECT 1 result FROM RDB$RELATIONS WHERE RDB$RELATION_NAME= :tab")),
          pkProbe_(db.prepare("SELECT RDB$RELATION_NAME AS TABELA,RDB$CONSTRAINT_NAME AS PK FROM \n"
                              "RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_TYPE = :key AND \n"
                              "RDB$RELATION_NAME = :tab")),
          columnProbe_(db.prepare("SELECT * FROM RDB$RELATION_FIELDS WHERE RDB$FIELD_name = :campo\n"
                                  " and RDB$RELATION_NAME= :tab")) {}

    void grupoA(Driver& driver);
    void grupoB();

private:
    bool hasIndex(const char* tab) {
        indexProbe_.bind("tab", tab);
        return indexProbe_.open(probes_).next();
    }
    bool hasRelation(const char* tab) {
        relationProbe_.bind("tab", tab);
        auto c = relationProbe_.open(probes_);
        return c.next() && c.integer("RESULT") != 0;
    }
    std::string primaryKey(const char* tab) {
        pkProbe_.bind("key", "PRIMARY KEY").bind("tab", tab);
        auto c = pkProbe_.open(probes_);
        return c.next() ? c.text("PK") : std::string();
    }
    bool hasColumn(const char* tab, const char* campo) {
        columnProbe_.bind("tab", tab).bind("campo", campo);
        return columnProbe_.open(probes_).next();
    }
    // The literal probe of group B: counts the rows found.
    int literalColumnRows(const char* relation, const char* column) {
        auto st = db_.prepare(std::string("select * from RDB$RELATION_FIELDS where RDB$FIELD_name = '") + column +
                              "' and RDB$RELATION_NAME = '" + relation + "'");
        auto c = st.open(probes_);
        int n = 0;
        while (c.next()) ++n;
        return n;
    }
    void run(const std::string& sql) { db_.execute(sql); }

    Database& db_;
    // One read-committed, read-only transaction for every probe: it sees each change as it commits.
    Transaction probes_;
    Statement indexProbe_, relationProbe_, pkProbe_, columnProbe_;
};

void Upgrade::grupoA(Driver& driver) {
    if (!hasIndex("TB_PACIENTE")) {
        run("CREATE INDEX PK_PACIENTE ON TB_PACIENTE (nu_seq_id_paciente)");
        run("CREATE INDEX PK_Q_PACIENTE_2 ON TB_PACIENTE (co_cnes, NU_PRONTUARIO, DT_NASC_PACIENTE, NO_PACIENTE, "
            "CO_SEXO, NU_CNS)");
    }
    if (!hasRelation("TB_REMESSA_ESTATISTICA")) {
        try {
            run("create table TB_REMESSA_ESTATISTICA ( nu_remessa varchar(13) not null, \n"
                "dt_chegada_remessa TIMESTAMP not null, dt_competencia varchar(6) not null, \n"
                "QT_AT_AMB varchar(10) not null, QT_AT_INT varchar(10) not null, \n"
                "QT_AT_CON varchar(12) not null, QT_TOT_AT varchar(15) not null, QT_REG_LIDOS varchar(12) not null, \n"
                "QT_REG_INSERIDOS varchar(12) not null )");
        } catch (const DatabaseError&) {
            driver.erro("Erro na criação da tabela de remessa estatistica");
            throw UpgradeStopped{};
        }
    }
    if (!hasRelation("TB_PROJ_SAUDE")) {
        try {
            run("create table TB_PROJ_SAUDE (nu_cnes varchar(7) not null, \n"
                "co_regra varchar(4) not null, cmpt_inicial varchar(6) not null, \n"
                "cmpt_final varchar(6) not null )");
            run("insert into TB_FONTE_REMUNERACAO(CO_FONTE_REMUNERA, DS_FONTE_REMUNERA)\nVALUES('10','PRONON')");
            run("insert into TB_FONTE_REMUNERACAO(CO_FONTE_REMUNERA, DS_FONTE_REMUNERA)\nVALUES('11','PRONAS/PCD')");
        } catch (const DatabaseError&) {
            driver.erro("Erro na criação da TB_PROJ_SAUDE");
            throw UpgradeStopped{};
        }
    }
    if (!hasIndex("TB_INTERNACAO")) {
        run("CREATE INDEX PK_INTERNACAO ON TB_INTERNACAO (nu_seq_id_internacao)");
        run("CREATE INDEX PK_INTERNACAO_1 ON TB_INTERNACAO (co_cnes, NU_PRONTUARIO, DT_INTERNACAO, DT_SAIDA, "
            "CO_MODALIDADE, NU_SEQ_ID_PACIENTE, CO_PROCED_REALIZADO, CO_FONTE_REMUNERA)");
        run("CREATE INDEX PK_INTERNACAO_3 ON TB_INTERNACAO (NU_REMESSA)");
    }
    if (!hasIndex("TB_A_CONSOLIDADO"))
        run("CREATE INDEX PK_CONSOLIDADO ON TB_A_CONSOLIDADO (nu_remessa, dt_geracao_remessa, co_cnes, "
            "dt_competencia, co_procedimento, nu_quantidade, co_fonte_remunera, co_operadora)");
    if (!hasIndex("TB_MOVIMENTO"))
        run("CREATE INDEX PK_MOVIMENTO ON TB_MOVIMENTO (tp_registro, nu_status_mov, nu_remessa, co_cnes)");

    if (auto pk = primaryKey("TB_INTERNACAO"); !pk.empty()) run("ALTER TABLE TB_internacao DROP CONSTRAINT " + pk);
    if (auto pk = primaryKey("TB_A_CONSOLIDADO"); !pk.empty())
        run("ALTER TABLE TB_A_CONSOLIDADO DROP CONSTRAINT " + pk);
    if (auto pk = primaryKey("TB_PACIENTE"); !pk.empty()) run("ALTER TABLE TB_PACIENTE DROP CONSTRAINT " + pk);

    if (!hasColumn("TB_INTERNACAO", "NU_TISS")) run("ALTER TABLE TB_INTERNACAO ADD NU_TISS varchar(20)");
    if (!hasColumn("TB_MOVIMENTO", "NU_TISS")) run("ALTER TABLE TB_MOVIMENTO ADD NU_TISS varchar(20)");

    if (!hasRelation("REGISTROS1")) {
        if (hasRelation("TOTALREG")) run("DROP VIEW TOTALREG");
        if (hasRelation("REGISTROS")) run("DROP VIEW REGISTROS");
        run(schema::kViewRegistros1);
    }
    if (!hasRelation("TOTALREG")) run(schema::kViewTotalReg);
}

void Upgrade::grupoB() {
    // Each guarded step ends silently on a failure; the next step runs.
    auto guarded = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const DatabaseError&) {
        }
    };
    guarded([&] {
        if (literalColumnRows("TB_A_CONSOLIDADO", "CO_FONTE_REMUNERA") == 0) {
            run("ALTER TABLE TB_A_CONSOLIDADO ADD CO_FONTE_REMUNERA VARCHAR(1);");
            run("ALTER TABLE TB_A_CONSOLIDADO ADD CO_OPERADORA VARCHAR(6);");
        }
    });
    guarded([&] {
        if (literalColumnRows("VW_DIAS_INTERNADOCNES", "DIAS") == 1) {
            run("DROP VIEW VW_TOTAL_DIASCNES");
            run("DROP VIEW VW_DIAS_INTERNADOCNES");
        }
        if (literalColumnRows("VW_DIAS_INTERNADOCNES1", "DIAS") == 0) run(schema::kViewDiasInternadoCnes1);
    });
    guarded([&] {
        if (literalColumnRows("VW_TOTAL_DIASCNES", "TDIAS") == 0) run(schema::kViewTotalDiasCnes);
    });
    guarded([&] {
        if (literalColumnRows("VW_TOTAL_CONSOLIDADO", "COMPT") == 0) run(schema::kViewTotalConsolidado);
    });
    {  // B5: not guarded; its failure ends the start-up
        auto st = db_.prepare("select DS_FONTE_REMUNERA from TB_FONTE_REMUNERACAO where DS_FONTE_REMUNERA = 'PROADI'");
        if (!st.open(probes_).next())
            run("insert into TB_FONTE_REMUNERACAO(CO_FONTE_REMUNERA, DS_FONTE_REMUNERA)\nVALUES('12','PROADI')");
    }
    guarded([&] {
        // Dropped and created in one transaction: one commit at every start, and a failing
        // creation does not leave the database without the view.
        bool presente = literalColumnRows("VW_TOTAL_MODALIDADE", "COMPT") > 0;
        Transaction tx(db_);
        if (presente) tx.execute("DROP VIEW VW_TOTAL_MODALIDADE");
        tx.execute(schema::kViewTotalModalidade);
        tx.commit();
    });
    guarded([&] {
        auto st = db_.prepare(
            " SELECT r.RDB$FIELD_NAME AS nome, f.RDB$FIELD_TYPE AS tipo  FROM RDB$RELATION_FIELDS r LEFT JOIN "
            "RDB$FIELDS f ON r.RDB$FIELD_SOURCE = f.RDB$FIELD_NAME  WHERE r.RDB$RELATION_NAME='TB_A_CONSOLIDADO'"
            " AND r.RDB$FIELD_NAME = 'CO_FONTE_REMUNERA' AND f.RDB$FIELD_TYPE = 37");
        if (st.open(probes_).next()) run("ALTER TABLE TB_A_CONSOLIDADO ALTER COLUMN CO_FONTE_REMUNERA TYPE CHAR(2)");
    });
}

}  // namespace

bool AtualizaEsquema(Database& db, Driver& driver) {
    try {
        Upgrade upgrade(db);
        if (db.attached()) upgrade.grupoA(driver);
        upgrade.grupoB();
        return true;
    } catch (const UpgradeStopped&) {
        return false;
    } catch (const std::exception& e) {
        driver.erro(e.what());
        return false;
    }
}

}  // namespace velt
