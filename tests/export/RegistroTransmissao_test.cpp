#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "data/Database.h"
#include "export/RegistroTransmissao.h"
#include "fixtures/GeradorArmazenado.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

using test::ConsolidadoArmazenado;
using test::GeradorArmazenado;
using test::InternacaoArmazenada;
using test::PacienteArmazenado;
using test::TestDatabase;

std::string b(std::size_t n) { return std::string(n, ' '); }

const std::string kNomeArquivo = "310620201104";

// The lines of individualized rows stored in one database, in the order given (each pair gets
// a CNES of its own so the query's order is the order of the list).
std::vector<std::string> linhasIndividuais(std::vector<std::pair<PacienteArmazenado, InternacaoArmazenada>> casos,
                                           bool cnesProprio) {
    TestDatabase t;
    {
        GeradorArmazenado g(t.db());
        for (std::size_t k = 0; k < casos.size(); ++k) {
            if (cnesProprio) casos[k].first.cnes = std::to_string(3000100 + k);
            g.atendimento(casos[k].first, casos[k].second);
        }
    }
    auto st = t.db().prepare(kSqlIndividualizados);
    st.bind("cmpt", "201104");
    auto c = st.open();
    std::vector<std::string> linhas;
    RegistroTransmissao r;
    while (c.next()) {
        LimpaRegistroTransmissao(r);
        PreencheIndividualizado(r, c, "201104");
        linhas.push_back(MontaLinhaTransmissao(r, kNomeArquivo));
    }
    EXPECT_EQ(linhas.size(), casos.size());
    return linhas;
}

std::string linhaIndividual(const PacienteArmazenado& p, const InternacaoArmazenada& i) {
    auto l = linhasIndividuais({{p, i}}, false);
    return l.empty() ? std::string() : l[0];
}

std::string campo(const std::string& linha, std::size_t inicio, std::size_t fim) {
    return linha.substr(inicio - 1, fim - inicio + 1);
}

TEST(LayoutTransmissao, PosicoesDosCamposCobremALinha) {
    std::size_t esperado = 1;
    for (const auto& c : kLayoutTransmissao) {
        EXPECT_EQ(c.inicio, esperado);
        esperado += c.largura;
    }
    EXPECT_EQ(esperado, 417u);
    EXPECT_EQ(kLayoutTransmissao[campo::Cep - 1].inicio, 158u);
    EXPECT_EQ(kLayoutTransmissao[campo::Municipio - 1].inicio, 166u);
    EXPECT_EQ(kLayoutTransmissao[campo::TipoAlta - 1].inicio, 207u);
    EXPECT_EQ(kLayoutTransmissao[campo::Competencia - 1].inicio, 371u);
    EXPECT_EQ(kLayoutTransmissao[campo::GuiaTiss - 1].inicio, 397u);
}

TEST(LinhaTransmissao, InternacaoTipo2Dourada) {
    PacienteArmazenado p;
    p.prontuario = "  PR0001 ";  // TP: trimmed
    InternacaoArmazenada i;
    const std::string esperado =
        "2" "1.0.5.0" "2000016" "PR0001" + b(6) + "01032011" "05032011" "MARIA DA SILVA" + b(46) +
        "15061980" "F" "RUA DAS FLORES" + b(11) + "123" + b(2) + "APTO 1" + b(9) + "30110000" "310620" "31"
        "700000000000005" "0303010037" "A000" + b(4) + "11" "2 " "TRATAMENTO DE DOENCAS INFECCIOSAS" + b(7) +
        "123456" "11222333000181" "BEN0001" + b(23) + b(11) + b(1) + b(55) + b(3) + "201104" "310620201104"
        "1" + b(5) + "02" "TISS0001" + b(12);
    ASSERT_EQ(esperado.size(), 416u);
    EXPECT_EQ(linhaIndividual(p, i), esperado);
}

TEST(LinhaTransmissao, AmbulatorialTipo4DouradaSemSaidaMesmoComDataGravada) {
    PacienteArmazenado p;
    p.cns = b(15);  // stored without CNS
    p.complemento = "";
    InternacaoArmazenada i;
    i.modalidade = "01";
    i.saida = "02032011";  // stored, but an ambulatory line carries no discharge
    i.tipoAlta = "18";
    i.quantidade = "12";
    i.qtNascidos = "2";
    i.nascidos[0] = "11111111111";
    i.nascidos[1] = " 2222";
    i.uti = "3";
    i.obito = "99999999999";
    const std::string esperado =
        "4" "1.0.5.0" "2000016" "PR0001" + b(6) + "01032011" + b(8) + "MARIA DA SILVA" + b(46) + "15061980" "F"
        "RUA DAS FLORES" + b(11) + "123" + b(2) + b(15) + "30110000" "310620" "31" + b(15) + "0303010037" "A000" +
        b(4) + b(2) + "2 " "TRATAMENTO DE DOENCAS INFECCIOSAS" + b(7) + "123456" "11222333000181" "BEN0001" +
        b(23) + "99999999999" "2" "11111111111" "2222" + b(7) + b(33) + "3  " "201104" "310620201104" "12" +
        b(4) + "01" "TISS0001" + b(12);
    ASSERT_EQ(esperado.size(), 416u);
    std::string linha = linhaIndividual(p, i);
    EXPECT_EQ(linha, esperado);
    EXPECT_EQ(campo(linha, 36, 43), b(8));
    EXPECT_EQ(campo(linha, 207, 208), b(2));
    EXPECT_EQ(campo(linha, 389, 394), "12    ");
}

TEST(LinhaTransmissao, CasosDeBorda) {
    struct Caso {
        const char* nome;
        std::function<void(PacienteArmazenado&, InternacaoArmazenada&)> muda;
        std::size_t de, ate;
        std::string esperado;
    };
    const std::string sessenta = "ANTONIO CARLOS JOBIM DE ALBUQUERQUE MARANHAO CAVALCANTI FILH";
    const Caso casos[] = {
        {"nome de 60 com brancos à esquerda", [&](auto& p, auto&) { p.nome = "  " + sessenta.substr(0, 58); },
         44, 103, sessenta.substr(0, 58) + "  "},
        {"brancos à esquerda do nome somem", [](auto& p, auto&) { p.nome = "   JOSE"; }, 44, 103, "JOSE" + b(56)},
        {"CEP de 5 seguido de 3 brancos", [](auto& p, auto&) { p.cep = "30110"; }, 158, 165, "30110   "},
        {"município continua na 166", [](auto& p, auto&) { p.cep = "30110"; }, 166, 171, "310620"},
        {"quantidade 12", [](auto&, auto& i) { i.quantidade = "12"; }, 389, 394, "12    "},
        {"modalidade 02 leva a saída", [](auto&, auto& i) { i.saida = "09032011"; }, 36, 43, "09032011"},
        {"modalidade 02 leva o motivo", [](auto&, auto& i) { i.tipoAlta = "18"; }, 207, 208, "18"},
        {"modalidade 01 é tipo 4", [](auto&, auto& i) { i.modalidade = "01"; }, 1, 1, "4"},
        {"modalidade 03 é tipo 2", [](auto&, auto& i) { i.modalidade = "03"; }, 1, 1, "2"},
        {"AS guarda brancos à esquerda", [](auto&, auto& i) { i.municipio = " 31062"; }, 166, 171, " 31062"},
        {"TP apara a fonte", [](auto&, auto& i) { i.fonte = " 9"; }, 209, 210, "9 "},
        {"competência e nome do arquivo", [](auto&, auto&) {}, 371, 388, "201104310620201104"},
    };
    std::vector<std::pair<PacienteArmazenado, InternacaoArmazenada>> armazenados;
    for (const auto& c : casos) {
        PacienteArmazenado p;
        InternacaoArmazenada i;
        c.muda(p, i);
        armazenados.emplace_back(p, i);
    }
    auto linhas = linhasIndividuais(armazenados, true);
    ASSERT_EQ(linhas.size(), std::size(casos));
    for (std::size_t k = 0; k < linhas.size(); ++k) {
        ASSERT_EQ(linhas[k].size(), 416u) << casos[k].nome;
        EXPECT_EQ(campo(linhas[k], casos[k].de, casos[k].ate), casos[k].esperado) << casos[k].nome;
    }
}

TEST(LinhaTransmissao, ConsolidadoTipo5ESemMovimentoTipo3Dourados) {
    TestDatabase t;
    {
        GeradorArmazenado g(t.db());
        ConsolidadoArmazenado c;
        c.quantidade = "12";
        c.fonte = "2";  // CHAR(2): read back as "2 "
        c.operadora = "";
        g.consolidado(c);
    }
    auto st = t.db().prepare(kSqlConsolidados);
    st.bind("cmpt", "201104");
    auto c = st.open();
    ASSERT_TRUE(c.next());
    RegistroTransmissao r;
    LimpaRegistroTransmissao(r);
    PreencheConsolidado(r, c, "201104");
    const std::string cinco = "5" "1.0.5.0" "2000016" + b(173) + "0301010072" + b(10) + "2 " + b(40) + b(6) +
                              b(114) + "201104" "310620201104" "12" + b(4) + b(22);
    ASSERT_EQ(cinco.size(), 416u);
    EXPECT_EQ(MontaLinhaTransmissao(r, kNomeArquivo), cinco);

    LimpaRegistroTransmissao(r);
    PreencheSemMovimento(r, "2000024", "201104");
    const std::string tres = "3" "1.0.5.0" "2000024" + b(355) + "201104" "310620201104" + b(28);
    ASSERT_EQ(tres.size(), 416u);
    EXPECT_EQ(MontaLinhaTransmissao(r, kNomeArquivo), tres);
}

TEST(LinhaTransmissao, RegrasDePreenchimento) {
    const std::string setenta(70, 'N');
    struct Caso {
        bool tp;
        std::string valor;
        std::size_t largura;
        std::string esperado;
    } casos[] = {
        {true, setenta, 60, std::string(60, 'N')},  // a name of 70 is cut to its first 60
        {true, "  JOSE  ", 10, "JOSE      "},
        {true, "", 3, "   "},
        {true, "12", 6, "12    "},
        {false, "  JOSE", 8, "  JOSE  "},
        {false, "30110", 8, "30110   "},
        {false, "1234567890", 8, "12345678"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(c.tp ? PreencheTP(c.valor, c.largura) : PreencheAS(c.valor, c.largura), c.esperado) << c.valor;
}

TEST(LinhaTransmissao, LimpaApagaORegistroAnterior) {
    RegistroTransmissao r;
    LimpaRegistroTransmissao(r);
    PreencheSemMovimento(r, "2000024", "201104");
    MontaLinhaTransmissao(r, kNomeArquivo);
    LimpaRegistroTransmissao(r);
    EXPECT_TRUE(r.linha.empty());
    EXPECT_TRUE(r[campo::Tipo].empty() && r[campo::Versao].empty() && r[campo::Cnes].empty());
    EXPECT_EQ(r[campo::Competencia], b(6));
    EXPECT_EQ(r[campo::Nome], b(60));
}

TEST(LeituraTransmissao, LeDeVoltaOQueFoiEscritoLimpo) {
    PacienteArmazenado p;
    p.nome = "jos\xe9   da   silva";  // lower case with an accent, runs of three blanks
    p.logradouro = "rua \xe7\xe3o";
    p.sexo = "f";
    InternacaoArmazenada i;
    i.descProcedimento = "  consulta";
    i.procedimento = "  03030100";
    std::string linha = linhaIndividual(p, i);

    auto f = LeLinhaTransmissao(linha);
    EXPECT_EQ(f[campo::Tipo], "2");
    EXPECT_EQ(f[campo::Versao], "1.0.5.0");
    EXPECT_EQ(f[campo::Nome], "JOS\xc9 DA SILVA");
    EXPECT_EQ(f[campo::Logradouro], "RUA \xc7\xc3O");
    EXPECT_EQ(f[campo::Sexo], "F");
    EXPECT_EQ(f[campo::DescProcedimento], "CONSULTA");
    EXPECT_EQ(f[campo::Procedimento], "03030100");
    EXPECT_EQ(f[campo::Prontuario], "PR0001");
    EXPECT_EQ(f[campo::DiagSecundario], "");
    EXPECT_EQ(f[campo::NomeArquivo], "310620201104");
    EXPECT_EQ(f[campo::GuiaTiss], "TISS0001");

    // Cut as written: fields keep their blanks.
    auto cru = CortaLinhaTransmissao(linha);
    EXPECT_EQ(cru[campo::Prontuario], "PR0001" + b(6));
    EXPECT_EQ(cru[campo::Nome].substr(0, 20), "jos\xe9   da   silva   ");
}

TEST(LeituraTransmissao, SeisBrancosViramDoisELinhaCurtaDaCamposVazios) {
    std::string linha = "2" "1.0.5.0" "2000016" + b(28) + "ANA      MARIA";
    auto f = LeLinhaTransmissao(linha);
    EXPECT_EQ(f[campo::Nome], "ANA  MARIA");
    EXPECT_EQ(f[campo::Cnes], "2000016");
    EXPECT_EQ(f[campo::Competencia], "");
    EXPECT_EQ(f[campo::GuiaTiss], "");
}

}  // namespace
}  // namespace velt
