#include <gtest/gtest.h>

#include <optional>

#include "data/Database.h"
#include "import/ArmazenaRemessa.h"
#include "import/ImportaFixture.h"

namespace velt::test {

namespace {

const std::time_t kGeracao = DataLocal(2012, 4, 2, 8, 30, 0);
const std::string V1 = "700000000000005";  // valid (provisional rule)
const std::string V2 = "800000000000001";  // valid, another patient card
const std::string kBrancos(15, ' ');

}  // namespace

// The decision table of the patient step, through the storage engine alone: one stored patient
// with CNS S, one staged record of the same patient with CNS R.
class ArmazenaPaciente : public ::testing::Test {
protected:
    void SetUp() override {
        banco_.db().execute("delete from tb_controle where campo = 'SEQ_PAC'");
        banco_.db().execute("insert into tb_controle (campo, valor) values ('SEQ_PAC', 7)");
    }

    void gravaPaciente(const std::optional<std::string>& cns) {
        auto st = banco_.db().prepare(
            "insert into tb_paciente values ('2000016', 'PR0001', :cns, 'MARIA DA SILVA', '15061980', 'F', "
            "'RUA VELHA', '1', '', '01310100', '355030', 'SP', 7)");
        if (cns)
            st.bind("cns", *cns);
        else
            st.bindNull("cns");
        st.execute();
    }

    void estagia(const std::string& cns) {
        auto st = banco_.db().prepare(
            "insert into tb_movimento (tp_registro, co_cnes, nu_prontuario, dt_internacao, dt_saida, "
            "co_tipo_alta, "
            "co_proced_realizado, co_fonte_remunera, no_paciente, dt_nasc_paciente, nu_cns, co_sexo, "
            "ds_logradouro, "
            "nu_logradouro, ds_complemento, co_cep, co_municipio, co_uf, dt_competencia, nu_status_mov, "
            "nu_remessa, "
            "nu_quantidade, co_modalidade) values ('2', '2000016', 'PR0001      ', '01032012', '05032012', "
            "'11', "
            "'0303140151', '2', 'MARIA DA SILVA', '15061980', :cns, 'F', 'RUA NOVA', '9', '', '01310100', "
            "'355030', 'SP', '201203', '9', '2000016201203', '000001', '02')");
        st.bind("cns", cns).execute();
    }

    TestDatabase banco_;
    ScriptedDriver driver_;
};

TEST_F(ArmazenaPaciente, TabelaDeDecisaoDeReS) {
    enum Acao { AtualizaComCns, NovoPaciente, SoEndereco, Nada };
    struct Caso {
        const char* nome;
        std::optional<std::string> s;  // stored
        std::string r;                 // staged, 15 characters
        Acao acao;
        bool internacaoLigada;  // the hospitalisation finds a patient with CNS R
    } casos[] = {
        {"R vazio, S vazio", std::nullopt, kBrancos, AtualizaComCns, true},
        {"R vazio, S texto vazio", std::string(), kBrancos, AtualizaComCns, true},
        {"R vazio, S valido", V1, kBrancos, NovoPaciente, true},
        {"R vazio, S outro", std::string("12345"), kBrancos, AtualizaComCns, true},
        {"R valido igual", V1, V1, AtualizaComCns, true},
        {"R valido, S vazio", std::nullopt, V2, AtualizaComCns, true},
        {"R valido, S outro valido", V1, V2, NovoPaciente, true},
        {"R valido, S outro", std::string("12345"), V2, AtualizaComCns, true},
        {"R valido, S brancos", kBrancos, V2, AtualizaComCns, true},
        {"R outro igual", std::string("12345"), "12345          ", AtualizaComCns, true},
        {"R outro, S vazio", std::nullopt, "12345          ", SoEndereco, false},
        {"R outro, S valido", V1, "12345          ", SoEndereco, false},
        {"R outro, S outro diferente", std::string("99999"), "12345          ", Nada, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        for (const char* t : {"tb_paciente", "tb_internacao", "tb_movimento"})
            banco_.db().execute(std::string("delete from ") + t);
        banco_.db().execute("update tb_controle set valor = 7 where campo = 'SEQ_PAC'");
        driver_.mensagens.clear();
        gravaPaciente(c.s);
        estagia(c.r);

        ArmazenaRemessa a(banco_.db(), driver_);
        Transaction tx(banco_.db());
        a.armazena(tx, tx, "2000016", "2000016201203", DataHora{2012, 4, 2, 8, 30, 0, 0});
        tx.commit();

        const long long pacientes = banco_.conta("tb_paciente");
        const std::string cnsAntigo =
            banco_.valor("select coalesce(nu_cns, '<nulo>') from tb_paciente where nu_seq_id_paciente = 7");
        const std::string rua =
            banco_.valor("select ds_logradouro from tb_paciente where nu_seq_id_paciente = 7");
        const std::string sAntes = c.s ? *c.s : "<nulo>";
        switch (c.acao) {
            case AtualizaComCns:
                EXPECT_EQ(pacientes, 1);
                EXPECT_EQ(cnsAntigo, c.r);
                EXPECT_EQ(rua, "RUA NOVA");
                break;
            case NovoPaciente:
                EXPECT_EQ(pacientes, 2);
                EXPECT_EQ(cnsAntigo, sAntes);
                EXPECT_EQ(rua, "RUA VELHA");
                EXPECT_EQ(banco_.valor("select nu_cns from tb_paciente where nu_seq_id_paciente = 8"), c.r);
                EXPECT_EQ(banco_.valor("select valor from tb_controle where campo = 'SEQ_PAC'"), "8");
                EXPECT_EQ(banco_.valor("select nu_seq_id_paciente from tb_internacao"), "8");
                break;
            case SoEndereco:
                EXPECT_EQ(pacientes, 1);
                EXPECT_EQ(cnsAntigo, sAntes);
                EXPECT_EQ(rua, "RUA NOVA");
                break;
            case Nada:
                EXPECT_EQ(pacientes, 1);
                EXPECT_EQ(cnsAntigo, sAntes);
                EXPECT_EQ(rua, "RUA VELHA");
                break;
        }
        if (c.internacaoLigada) {
            EXPECT_EQ(banco_.conta("tb_internacao"), 1);
            EXPECT_TRUE(driver_.mensagens.empty()) << ::testing::PrintToString(driver_.textos());
        } else {
            // No patient carries that CNS: the record cannot be linked.
            EXPECT_EQ(banco_.conta("tb_internacao"), 0);
            EXPECT_EQ(driver_.textos(), std::vector<std::string>{"Erro ao inserir internacao!"});
        }
    }
}

TEST(ArmazenaComparacao, TextosComoOServidor) {
    EXPECT_EQ(ComparaTexto("abc", "abc  "), 0);
    EXPECT_LT(ComparaTexto("ab", "abc"), 0);
    EXPECT_GT(ComparaTexto("b", "abc"), 0);
    EXPECT_LT(ComparaTexto("ab ", "ab\xe7"), 0);
    EXPECT_EQ(DataInvertida("01032012"), "20120301");
    EXPECT_EQ(DataInvertida("0103"), "0301");
    EXPECT_EQ(DataInvertida(""), "");
}

// Edge cases of storing, through the whole run.
using ArmazenaRemessaRun = ImportaTeste;

TEST_F(ArmazenaRemessaRun, PacientesPorCnsESemCns) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt))
        // Same patient data, another valid CNS: a second patient row, the attendance goes to it.
        .registro(InternacaoValida(kCmpt)
                      .com(CampoRemessa::CNS, V2)
                      .com(CampoRemessa::DataInternacao, "10032012")
                      .com(CampoRemessa::DataSaida, "12032012"))
        // No CNS for a patient stored with a valid one: a third row, without CNS.
        .registro(InternacaoValida(kCmpt)
                      .com(CampoRemessa::CNS, "")
                      .com(CampoRemessa::DataInternacao, "20032012")
                      .com(CampoRemessa::DataSaida, "22032012"));
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_EQ(r.contadores.importados, 1) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(conta("tb_paciente"), 3);
    EXPECT_EQ(valor("select nu_cns from tb_paciente where nu_seq_id_paciente = 2"), V2);
    EXPECT_EQ(valor("select nu_cns from tb_paciente where nu_seq_id_paciente = 3"), kBrancos);
    EXPECT_EQ(valor("select cast(list(nu_seq_id_paciente, ',') as varchar(200)) from (select "
                    "nu_seq_id_paciente from tb_internacao order by "
                    "nu_seq_id_internacao)"),
              "1,2,3");
}

TEST_F(ArmazenaRemessaRun, SobreposicaoIgnoradaEmSilencio) {
    auto em = [](const char* entrada, const char* saida) {
        return InternacaoValida(kCmpt)
            .com(CampoRemessa::DataInternacao, entrada)
            .com(CampoRemessa::DataSaida, saida);
    };
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(em("01032012", "05032012"))
        .registro(em("03032012", "08032012"))  // overlaps the first: not stored
        .registro(em("05032012", "08032012"))  // starts the day the first ends: stored
        .registro(em("05032012", "08032012"))  // identical to the one stored just before: not stored
        .registro(AmbulatorialValido(kCmpt))   // another modality: no overlap with hospitalisations
        .registro(AmbulatorialValido(kCmpt))   // same attendance again: not stored
        .registro(
            AmbulatorialValido(kCmpt).com(CampoRemessa::FonteRemuneracao, "3"));  // other source: stored
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_EQ(r.contadores.importados, 1) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(conta("tb_internacao", "co_modalidade = '02'"), 2);
    EXPECT_EQ(conta("tb_internacao", "co_modalidade = '01'"), 2);
    EXPECT_EQ(valor("select cast(list(dt_internacao || '-' || dt_saida, ',') as varchar(200)) from (select "
                    "dt_internacao, dt_saida from "
                    "tb_internacao where co_modalidade = '02' order by nu_seq_id_internacao)"),
              "01032012-05032012,05032012-08032012");
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_INT'"), "4");
    EXPECT_EQ(driver_.mensagens.size(), 1u);  // only the protocol's message
}

TEST_F(ArmazenaRemessaRun, SobreposicaoComImportacaoAnterior) {
    // A row stored by another batch of the establishment takes part too.
    GeradorRemessa fev(kCnesGerador, "201202");
    fev.registro(InternacaoValida("201202")
                     .com(CampoRemessa::DataInternacao, "25022012")
                     .com(CampoRemessa::DataSaida, "29022012"));
    OpcoesImportacao op;
    op.textoCompetencia = "02/2012";
    op.competencia = "201202";
    op.arquivos = {zipa(fev, kGeracao)};
    ASSERT_EQ(ImportaRemessas(db(), driver_, op).contadores.importados, 1)
        << ::testing::PrintToString(driver_.textos());

    GeradorRemessa mar(kCnesGerador, kCmpt);
    mar.registro(InternacaoValida(kCmpt)
                     .com(CampoRemessa::DataInternacao, "28022012")
                     .com(CampoRemessa::DataSaida, "02032012"))
        .registro(InternacaoValida(kCmpt));
    auto r = importa({zipa(mar, kGeracao)});
    ASSERT_EQ(r.contadores.importados, 1) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(conta("tb_internacao", "nu_remessa = '" + mar.remessa() + "'"), 1);
    EXPECT_EQ(valor("select dt_internacao from tb_internacao where nu_remessa = '" + mar.remessa() + "'"),
              "01032012");
}

TEST_F(ArmazenaRemessaRun, ConsolidadoIgualAvisadoENaoArmazenado) {
    const std::string aviso =
        "Aviso tb_a_consolidado - registro não inserido por já existir na base em versão anterior a 1.0.2.0";
    // A count stored under another batch number for the same establishment and month.
    db().execute(
        "insert into tb_a_consolidado values ('OUTRAREMESSA1', '2012-03-20 10:00:00', '2000016', '201203', "
        "'0301010072', '000003', '5', '')");
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(ConsolidadoValido(kCmpt))
        .registro(
            ConsolidadoValido(kCmpt).com(CampoRemessa::Quantidade, "000007"))  // same procedure and source
        .registro(
            ConsolidadoValido(kCmpt).com(CampoRemessa::FonteRemuneracao, ""))  // no source: procedure only
        .registro(ConsolidadoValido(kCmpt).com(CampoRemessa::FonteRemuneracao, "3"));  // other source: stored
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_EQ(r.contadores.importados, 1) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(conta("tb_a_consolidado", "nu_remessa = '" + g.remessa() + "'"), 2);
    int avisos = 0;
    for (const auto& t : driver_.textos()) avisos += t == aviso;
    EXPECT_EQ(avisos, 2);
    EXPECT_EQ(valor("select cast(list(trim(co_fonte_remunera), ',') as varchar(200)) from (select * from "
                    "tb_a_consolidado where nu_remessa = '" +
                    g.remessa() + "' order by co_fonte_remunera)"),
              "2,3");
    // Only consolidated: no hospitalisation nor ambulatory total; the counts of the establishment
    // and month include the one stored under the other batch number.
    ASSERT_EQ(protocolos_.dados.size(), 1u);
    EXPECT_EQ(protocolos_.dados[0].internacoes, 0);
    EXPECT_EQ(protocolos_.dados[0].ambulatoriais, 0);
    EXPECT_EQ(std::to_string(protocolos_.dados[0].consolidados),
              valor("select sum(cast(nu_quantidade as integer)) from tb_a_consolidado"));
    EXPECT_EQ(protocolos_.dados[0].totalImportado, 3);
}

}  // namespace velt::test
