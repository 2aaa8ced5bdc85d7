// The reference cache answers every look-up of the checks exactly as the checks' queries answer on
// the server: trailing blanks ignored, leading blanks and case significant, CHAR columns padded,
// the first row of "select *" winning, and DT_CMPT_FIM compared as text.
#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "fixtures/ReferenciaReal.h"
#include "import/CacheReferencia.h"
#include "support/TestDatabase.h"

namespace velt::test {
namespace {

class CacheReferenciaTeste : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        banco_ = std::make_unique<TestDatabase>();
        auto& db = banco_->db();
        for (const char* sql : {
                 "insert into tb_municipio (co_municipio, ds_municipio) values ('3550', 'CURTO')",
                 "insert into tb_municipio (co_municipio, ds_municipio) values ('355030', 'SAO PAULO')",
                 "insert into tb_cid (co_cid10, ds_cid, co_sexo, st_agravo) values ('A90', 'Dengue', 'I', "
                 "'1')",
                 "insert into tb_cid (co_cid10, ds_cid, co_sexo, st_agravo) values ('N40 ', 'Prostata', 'M', "
                 "' ')",
                 "insert into tb_tipo_alta values ('11', 'CURADO', '999912')",
                 "insert into tb_tipo_alta values ('12', 'CURTO', '2010')",
                 "insert into tb_tipo_alta values ('14', 'SEM FIM', null)",
                 "insert into tb_tipo_alta values ('15', 'DUAS', '200001')",
                 "insert into tb_tipo_alta values ('15', 'DUAS', '201512')",
                 "insert into tb_tipo_alta values ('1 ', 'UM', '999912')",
                 "insert into tb_operadora (co_operadora, nu_operadora, no_razao_social) values ('111111', "
                 "'11111111000111', 'PRIMEIRA')",
                 "insert into tb_operadora (co_operadora, nu_operadora, no_razao_social) values ('111111', "
                 "'22222222000122', 'SEGUNDA')",
                 "insert into tb_operadora (co_operadora, nu_operadora, no_razao_social) values ('333333', "
                 "null, "
                 "'SEM CNPJ')",
                 "insert into tb_operadora (co_operadora, nu_operadora, no_razao_social) values (null, "
                 "'44444444000144', 'SEM REGISTRO')",
                 "insert into tb_estabelecimento (co_cnes, no_razao_social, st_leito) values ('2000016', "
                 "'PRIMEIRO NOME  ', '0')",
                 "insert into tb_estabelecimento (co_cnes, no_razao_social, st_leito) values ('2000016', "
                 "'SEGUNDO NOME', '1')",
                 "insert into tb_estabelecimento (co_cnes, no_razao_social, st_leito) values ('2000024', "
                 "'SEM UTI', null)",
                 "insert into tb_cnes values ('2000016')",
                 "insert into tb_proj_saude values ('2000016', '0914', '201001', '999912')",
                 "insert into tb_registro values ('0301010072', '01')",
                 "insert into tb_registro values ('0301010072', '02 ')",
                 "insert into tb_modalidade values ('0303140151', '02')",
                 "insert into tb_rl_cid values ('0303140151', 'J189')",
                 "insert into tb_procedimento (co_procedimento, ds_procedimento, co_sexo) values "
                 "('0303140151', 'PNEUMONIA', 'I')",
             })
            db.execute(sql);
        cache_ = std::make_unique<CacheReferencia>(db);
    }
    static void TearDownTestSuite() {
        cache_.reset();
        banco_.reset();
    }

    // Whether the query returns a row, with each parameter bound to its probe.
    static bool achou(const std::string& sql, std::vector<std::pair<std::string, std::string>> valores) {
        auto st = banco_->db().prepare(sql);
        for (const auto& [n, v] : valores) st.bind(n, v);
        try {
            auto c = st.open();
            return c.next();
        } catch (const std::exception& e) {
            std::string t = sql;
            for (const auto& [n, v] : valores) t += " [" + v + "]";
            ADD_FAILURE() << t << ": " << e.what();
            return false;
        }
    }
    static std::string primeira(const std::string& sql, const std::string& parametro,
                                const std::string& valor, const std::string& coluna) {
        auto st = banco_->db().prepare(sql);
        st.bind(parametro, valor);
        auto c = st.open();
        return c.next() ? c.text(coluna) : "<nenhuma>";
    }

    static inline std::unique_ptr<TestDatabase> banco_;
    static inline std::unique_ptr<CacheReferencia> cache_;
};

// Probes are never longer than their column but by blanks: the server refuses a longer text, and the
// checks always look up fields of the column's width.
TEST_F(CacheReferenciaTeste, IgualdadeDeTextosComoNoServidor) {
    const auto& c = *cache_;
    for (std::string v : {"3550", "3550  ", " 3550", "355030", "35503", "355030 "}) {
        SCOPED_TRACE("municipio [" + v + "]");
        EXPECT_EQ(c.municipio(v), achou("select * from tb_municipio where co_municipio = :m", {{":m", v}}));
    }
    for (std::string v : {"SP", "sp", "S", "SP ", " S"}) {
        SCOPED_TRACE("estado [" + v + "]");
        EXPECT_EQ(c.estado(v), achou("select * from tb_estado where co_sigla = :s", {{":s", v}}));
    }
    for (std::string v : {"A90", "A90 ", "a90", " A90", "N40", "N40 "}) {
        SCOPED_TRACE("cid [" + v + "]");
        EXPECT_EQ(c.cid(v) != nullptr, achou("select * from tb_cid where co_cid10 = :c", {{":c", v}}));
    }
    for (std::string v : {"1", " 1", "1 ", "01", "10", "7"}) {
        SCOPED_TRACE("fonte [" + v + "]");
        EXPECT_EQ(c.fonteRemuneracao(v),
                  achou("select * from tb_fonte_remuneracao where co_fonte_remunera = :f", {{":f", v}}));
    }
    for (std::string v : {"2000016", "2000016 ", " 200001", "2000024", "2000032"}) {
        SCOPED_TRACE("cnes [" + v + "]");
        EXPECT_EQ(c.estabelecimento(v) != nullptr,
                  achou("select * from tb_estabelecimento where co_cnes = :cnes  ", {{":cnes", v}}));
        EXPECT_EQ(c.cnesValido(v), achou("select * from tb_cnes where co_cnes = :cnes  ", {{":cnes", v}}));
        EXPECT_EQ(c.estabelecimento(v) && c.estabelecimento(v)->leitoUti,
                  achou("select st_leito from tb_estabelecimento where co_cnes = :cod and st_leito = :tp",
                        {{":cod", v}, {":tp", "1"}}));
        EXPECT_EQ(c.projetoSaude(v, "0914"),
                  achou("select * from tb_proj_saude where nu_cnes = :c and co_regra = :r",
                        {{":c", v}, {":r", "0914"}}));
    }
    EXPECT_EQ(c.estabelecimento("2000016")->razaoSocial, "PRIMEIRO NOME");
    for (std::string p : {"0301010072", "0301010072 ", "0303140151"})
        for (std::string r : {"01", "02", "03", "02 "}) {
            SCOPED_TRACE("registro [" + p + "][" + r + "]");
            EXPECT_EQ(c.registro(p, r), achou("select co_registro from tb_registro where co_registro = :cod "
                                              "and co_procedimento = :proc",
                                              {{":cod", r}, {":proc", p}}));
            EXPECT_EQ(c.modalidade(p, r),
                      achou("select co_modalidade from tb_modalidade where co_modalidade = :m "
                            "and co_procedimento = :proc",
                            {{":m", r}, {":proc", p}}));
        }
    EXPECT_TRUE(c.temRlCid("0303140151"));
    EXPECT_FALSE(c.temRlCid("0301010072"));
    EXPECT_EQ(c.procedimento("0303140151 ")->sexo, "I");
    EXPECT_EQ(c.procedimento(" 0303140151"), nullptr);
}

TEST_F(CacheReferenciaTeste, MotivoDaAltaComparaCompetenciaComoTexto) {
    const auto& c = *cache_;
    for (std::string alta : {"11", "12", "14", "15", "1", "1 ", " 1", "99"})
        for (std::string cmpt : {"201203", "2010", "201009", "999912", "9999", "200001", "201601", ""}) {
            SCOPED_TRACE("alta [" + alta + "] cmpt [" + cmpt + "]");
            EXPECT_EQ(c.tipoAlta(alta, cmpt),
                      achou("select * from tb_tipo_alta where co_tipo_alta = :alta and "
                            " dt_cmpt_fim >= :cmpt",
                            {{":alta", alta}, {":cmpt", cmpt}}));
        }
}

TEST_F(CacheReferenciaTeste, OperadoraPelaPrimeiraLinha) {
    const auto& c = *cache_;
    for (std::string ans : {"111111", "111111 ", "333333", "999999", ""}) {
        SCOPED_TRACE("ans [" + ans + "]");
        const auto* op = c.operadoraPorRegistro(ans);
        EXPECT_EQ(
            op ? op->cnpj : "<nenhuma>",
            primeira("select * from tb_operadora where co_operadora = :ans  ", ":ans", ans, "NU_OPERADORA"));
    }
    for (std::string cnpj : {"11111111000111", "22222222000122", "44444444000144", "44444444000144  ", "1"}) {
        SCOPED_TRACE("cnpj [" + cnpj + "]");
        const auto* op = c.operadoraPorCnpj(cnpj);
        EXPECT_EQ(op ? op->registro : "<nenhuma>",
                  primeira("select * from tb_operadora where nu_operadora = :cnpj  ", ":cnpj", cnpj,
                           "CO_OPERADORA"));
    }
}

// The repeated-consolidated warning compares staged values without their trailing blanks, as
// "select distinct" on the server tells rows apart.
TEST_F(CacheReferenciaTeste, DistinctIgnoraBrancosFinais) {
    auto& db = banco_->db();
    db.execute("insert into tb_movimento (tp_registro, co_operadora, nu_operadora) values ('5', '123', 'X')");
    db.execute(
        "insert into tb_movimento (tp_registro, co_operadora, nu_operadora) values ('5', '123   ', 'X ')");
    db.execute(
        "insert into tb_movimento (tp_registro, co_operadora, nu_operadora) values ('5', ' 123', 'X')");
    EXPECT_EQ(
        banco_->valor("select count(*) from (select distinct * from tb_movimento where tp_registro = '5')"),
        "2");
    db.execute("delete from tb_movimento");
}

TEST(CacheReferenciaReal, TabelasNacionais) {
    TestDatabase banco;
    const long linhas = CarregaReferenciaReal(banco.db());
    EXPECT_GT(linhas, 100000);
    CacheReferencia c(banco.db());
    EXPECT_EQ(c.procedimentos(), 4674u);
    ASSERT_NE(c.procedimento("0310010039"), nullptr);
    EXPECT_EQ(c.procedimento("0310010039")->sexo, "F");
    EXPECT_TRUE(c.registro("0301010072", "01"));
    EXPECT_TRUE(c.modalidade("0303140151", "02"));
    EXPECT_TRUE(c.temRlCid("0303140151"));
    ASSERT_NE(c.cid("A90"), nullptr);
    EXPECT_EQ(c.cid("A90")->agravo, 1);
    EXPECT_EQ(cp1252::toUtf8(c.cid("A00")->descricao), "Cólera");
    EXPECT_TRUE(c.municipio("355030"));
    EXPECT_TRUE(c.tipoAlta("13", "201009"));
    EXPECT_FALSE(c.tipoAlta("13", "201010"));
}

}  // namespace
}  // namespace velt::test
