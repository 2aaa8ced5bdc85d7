// The reading of a whole batch file: header rules, no-movement batches, how a file may end, the
// error and notification files byte for byte, and the rows staged into TB_MOVIMENTO.
#include "import/ArquivoErros.h"
#include "import/CriticaFixture.h"

namespace velt::test {
namespace {

using C = CampoRemessa;

const std::string kCmpt = "201203";

std::string cp(const std::string& utf8) {
    return cp1252::fromUtf8(utf8);
}

// The heading of a record as the error file writes it (Windows-1252), the name in 60 characters.
std::string cabecalho(int linha, const std::string& nomeUtf8, const std::string& data) {
    std::string n = cp1252::fromUtf8(nomeUtf8);
    n.resize(60, ' ');
    return NumeroLinha(linha) + " " + n + " " + data;
}

class CriticaArquivo : public CriticaTeste {};

struct CasoCabecalho {
    const char* nome;
    std::function<void(GeradorRemessa&)> muda;
    std::string linhaEsperada;  // UTF-8
    bool cnesRecusado;
};

TEST_F(CriticaArquivo, CabecalhoRecusadoGravaUmaSoLinhaESemAgravo) {
    const std::vector<CasoCabecalho> casos = {
        {"record type not 1",
         [](GeradorRemessa& g) {
             g.cabecalho("2" + LinhaCabecalho(kCnesGerador, "1.0.4.0", MarcadorOrigem(kCmpt)).substr(1));
         },
         "          Arquivo incorreto ", false},
        {"empty file", [](GeradorRemessa& g) { g.cabecalho("").fimDeLinha(""); },
         "          Arquivo incorreto ", false},
        {"CNES not of this manager",
         [](GeradorRemessa& g) {
             g.cabecalho(LinhaCabecalho(kCnesSoValido, "1.0.4.0", MarcadorOrigem(kCmpt)));
         },
         "         1 CNES nao pertence a esta gestao (CNES LOCAL) ou não é um CNES válido (cnesval.txt) "
         "2000040",
         true},
        {"CNES not in the valid list",
         [](GeradorRemessa& g) {
             g.cabecalho(LinhaCabecalho(kCnesSoLocal, "1.0.4.0", MarcadorOrigem(kCmpt)));
         },
         "         1 CNES nao pertence a esta gestao (CNES LOCAL) ou não é um CNES válido (cnesval.txt) "
         "2000032",
         true},
        {"version 1.0.3.0", [](GeradorRemessa& g) { g.versao("1.0.3.0"); },
         "         1 Versão incorreta  1.0.3.0", false},
        {"version 1.0.5.0 has no known layout", [](GeradorRemessa& g) { g.versao("1.0.5.0"); },
         "         1 Versão incorreta  1.0.5.0", false},
        {"version 2.0.0.0", [](GeradorRemessa& g) { g.versao("2.0.0.0"); },
         "         1 Versão incorreta  2.0.0.0", false},
        {"version blank", [](GeradorRemessa& g) { g.versao("       "); },
         "         1 Versão incorreta         ", false},
        {"marker of another competência", [](GeradorRemessa& g) { g.marcador(MarcadorOrigem("201202")); },
         "         1 Arquivo não foi gerado pelo VELT01 ", false},
        {"marker blank", [](GeradorRemessa& g) { g.marcador(std::string(60, ' ')); },
         "         1 Arquivo não foi gerado pelo VELT01 ", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        GeradorRemessa g(kCnesGerador, kCmpt);
        c.muda(g);
        // Records that would have messages and notifications are never read.
        g.registro(InternacaoValida(kCmpt).com(C::DiagPrincipal, "A90").com(C::NomePaciente, ""));
        const auto r = roda(g, kCmpt);
        EXPECT_TRUE(r.erro);
        EXPECT_TRUE(r.cabecalhoRecusado);
        EXPECT_EQ(r.cnesRecusado, c.cnesRecusado);
        EXPECT_EQ(r.linhasLidas, 1);
        EXPECT_EQ(r.registros, 0);
        ASSERT_TRUE(r.gravouErros());
        EXPECT_EQ(leArquivo(r.arquivoErros), cp(c.linhaEsperada) + "\r\n");
        EXPECT_FALSE(r.gravouAgravo());
        EXPECT_FALSE(std::filesystem::exists(NomeArquivoAgravo(dir_.path(), g.remessa())));
    }
}

TEST_F(CriticaArquivo, CabecalhoAceito) {
    struct Caso {
        const char* nome;
        std::function<void(GeradorRemessa&)> muda;
    } casos[] = {
        {"version 1.0.4.0", [](GeradorRemessa&) {}},
        {"version 1.0.4.7", [](GeradorRemessa& g) { g.versao("1.0.4.7"); }},
        {"marker with multiplier 7", [](GeradorRemessa& g) { g.marcador(MarcadorOrigem(kCmpt, false)); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        GeradorRemessa g(kCnesGerador, kCmpt);
        c.muda(g);
        g.registro(InternacaoValida(kCmpt));
        const auto r = roda(g, kCmpt);
        EXPECT_FALSE(r.erro);
        EXPECT_FALSE(r.gravouErros());
        EXPECT_EQ(r.cnes, kCnesGerador);
        EXPECT_EQ(r.razaoSocial, kRazaoGerador);
        EXPECT_EQ(r.registros, 1);
        EXPECT_EQ(r.linhasLidas, 3);
    }
}

TEST_F(CriticaArquivo, MarcadorDependeDaCompetenciaDaExecucao) {
    // The records say 201203 but the run is for 201204: the marker rule fails first.
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt));
    const auto r = roda(g, "201204");
    ASSERT_TRUE(r.gravouErros());
    EXPECT_EQ(linhas(r.arquivoErros),
              std::vector<std::string>{"         1 Arquivo não foi gerado pelo VELT01 "});
}

TEST_F(CriticaArquivo, SemMovimentoNaoLeOResto) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.semMovimento("qualquer coisa")
        .linha("lixo que nunca é lido")
        .registro(InternacaoValida(kCmpt).com(C::NomePaciente, ""));
    const auto r = roda(g, kCmpt);
    EXPECT_TRUE(r.semMovimento);
    EXPECT_FALSE(r.erro);
    EXPECT_EQ(r.linhasLidas, 2);
    EXPECT_EQ(r.registros, 0);
    EXPECT_FALSE(r.gravouErros());
    EXPECT_FALSE(std::filesystem::exists(NomeArquivoErros(dir_.path(), g.remessa())));
}

TEST_F(CriticaArquivo, FimDoArquivo) {
    struct Caso {
        const char* nome;
        std::function<void(GeradorRemessa&)> muda;
        std::vector<std::string> erros;  // UTF-8
        std::int64_t linhasLidas;
    } casos[] = {
        {"ends after the last record", [](GeradorRemessa&) {}, {}, 4},
        {"ends without a last line break",
         [](GeradorRemessa& g) { g.ultimaLinha("ZZ").fimDeLinha(""); },
         {},
         1},
        {"empty line", [](GeradorRemessa& g) { g.ultimaLinha(""); }, {}, 4},
        {"Ctrl-Z line", [](GeradorRemessa& g) { g.ultimaLinha("\x1a"); }, {}, 4},
        {"Ctrl-Z then more lines are not read", [](GeradorRemessa& g) { g.linha("\x1a").linha("x"); }, {}, 4},
        {"one other character",
         [](GeradorRemessa& g) { g.ultimaLinha("X"); },
         {"         4 O tamanho do registro nao confere com o lay-out da VELT"},
         4},
        {"line of 391 characters",
         [](GeradorRemessa& g) { g.ultimaLinha(InternacaoValida(kCmpt).linha() + "X"); },
         {"         4 O tamanho do registro nao confere com o lay-out da VELT"},
         4},
        {"line of 388 characters",
         [](GeradorRemessa& g) { g.ultimaLinha(InternacaoValida(kCmpt).linha(388)); },
         {"         4 O tamanho do registro nao confere com o lay-out da VELT"},
         4},
        {"line feeds alone", [](GeradorRemessa& g) { g.fimDeLinha("\n"); }, {}, 4},
        {"line feeds alone then a short line",
         [](GeradorRemessa& g) { g.fimDeLinha("\n").ultimaLinha("12"); },
         {"         4 O tamanho do registro nao confere com o lay-out da VELT"},
         4},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        GeradorRemessa g(kCnesGerador, kCmpt);
        g.registro(InternacaoValida(kCmpt)).registro(AmbulatorialValido(kCmpt), 389);
        c.muda(g);
        if (std::string(c.nome) == "ends without a last line break") {
            // Header and records joined by CR LF, the last record without one.
            GeradorRemessa h(kCnesGerador, kCmpt);
            h.registro(InternacaoValida(kCmpt));
            escreveArquivo(dir_.path() / h.nomeArquivo(), h.conteudo() + AmbulatorialValido(kCmpt).linha());
            relogioApos(kCmpt);
            CriticaRemessa critica(db(), cache(), driver_);
            const auto r = critica.critica(dir_.path() / h.nomeArquivo(), parametros(h, kCmpt));
            EXPECT_FALSE(r.erro);
            EXPECT_EQ(r.registros, 2);
            EXPECT_EQ(r.linhasLidas, 4);
            continue;
        }
        const auto r = roda(g, kCmpt);
        EXPECT_EQ(r.registros, 2);
        EXPECT_EQ(r.linhasLidas, c.linhasLidas);
        EXPECT_EQ(r.erro, !c.erros.empty());
        if (c.erros.empty())
            EXPECT_FALSE(r.gravouErros());
        else
            EXPECT_EQ(linhas(r.arquivoErros), c.erros);
    }
}

TEST_F(CriticaArquivo, RegistroComVariasFalhasGolden) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt));
    g.registro(AmbulatorialValido(kCmpt)
                   .com(C::NomePaciente, cp("joão da silva"))
                   .com(C::CEP, "")
                   .com(C::Sexo, "X")
                   .com(C::Quantidade, "000000"));
    const auto r = roda(g, kCmpt);
    EXPECT_TRUE(r.erro);
    ASSERT_TRUE(r.gravouErros());
    // The name is read in capitals, the accented letter as it came.
    const std::string esperado = cabecalho(3, "JOãO DA SILVA", "05032012") + "\r\n" +
                                 "         3 CEP do Paciente nao informado\r\n" +
                                 "         3 Sexo do paciente nao informado ou invalido\r\n" +
                                 "         3 Quantidade de procedimentos realizados menor que 1\r\n";
    EXPECT_EQ(leArquivo(r.arquivoErros), esperado);
    EXPECT_EQ(r.linhasErros, 4);
}

TEST_F(CriticaArquivo, TipoInvalidoDepoisDeRegistroLimpoSemCabecalho) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(ConsolidadoValido(kCmpt));
    g.registro(InternacaoValida(kCmpt).com(C::TipoRegistro, "7"));
    g.registro(ConsolidadoValido(kCmpt).com(C::Procedimento, "9999999999"));
    const auto r = roda(g, kCmpt);
    ASSERT_TRUE(r.gravouErros());
    const std::string esperado =
        "         3 Tipo do registro informado diferente de 1,2,3,4 ou 5)\r\n"
        "         4 9999999999\r\n"
        "         4 Codigo do procedimento realizado nao informado ou invalido\r\n"
        "         4 Procedimento nao é de atendimento consolidado\r\n";
    EXPECT_EQ(leArquivo(r.arquivoErros), cp(esperado));
}

TEST_F(CriticaArquivo, ConsolidadosRepetidosSoAvisam) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(ConsolidadoValido(kCmpt))
        .registro(InternacaoValida(kCmpt))
        .registro(ConsolidadoValido(kCmpt).com(C::Quantidade, "000011"))
        .registro(ConsolidadoValido(kCmpt));
    const auto r = rodaComEstagio(g, kCmpt);
    EXPECT_FALSE(r.erro);
    EXPECT_TRUE(r.consolidadoDuplicado);
    ASSERT_TRUE(r.gravouErros());
    EXPECT_EQ(leArquivo(r.arquivoErros),
              cp("           O arquivo contém registros de atendimento consolidado duplicados.\r\n"));
    // The staged rows give the same answer to the count and distinct queries.
    const auto total = banco().valor(
        "select count(*) as total  from tb_movimento where tp_registro = '5' "
        " and nu_remessa = '" +
        g.remessa() + "'");
    const auto distintos = banco().valor(
        "select count(*) from (select distinct * from tb_movimento where tp_registro = '5' "
        " and nu_remessa = '" +
        g.remessa() + "')");
    EXPECT_EQ(total, "3");
    EXPECT_EQ(distintos, "2");
}

TEST_F(CriticaArquivo, ConsolidadosDiferentesNaoAvisam) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(ConsolidadoValido(kCmpt)).registro(ConsolidadoValido(kCmpt).com(C::Quantidade, "000011"));
    const auto r = roda(g, kCmpt);
    EXPECT_FALSE(r.erro);
    EXPECT_FALSE(r.consolidadoDuplicado);
    EXPECT_FALSE(r.gravouErros());
}

TEST_F(CriticaArquivo, RegistroDeErroEAvisoJuntos) {
    // A warning after the last record never sits under that record's heading, and the length
    // message after it carries its own line number.
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(ConsolidadoValido(kCmpt)).registro(ConsolidadoValido(kCmpt)).ultimaLinha("??");
    const auto r = roda(g, kCmpt);
    EXPECT_TRUE(r.erro);
    EXPECT_EQ(leArquivo(r.arquivoErros),
              cp("           O arquivo contém registros de atendimento consolidado duplicados.\r\n"
                 "         4 O tamanho do registro nao confere com o lay-out da VELT\r\n"));
}

TEST_F(CriticaArquivo, ArquivoDeAgravo) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt).com(C::DiagPrincipal, "A90").com(C::Prontuario, "PR77"))
        .registro(InternacaoValida(kCmpt))
        .registro(AmbulatorialValido(kCmpt).com(C::DiagPrincipal, "A90").com(C::NomePaciente, cp("josé")));
    const auto r = roda(g, kCmpt);
    EXPECT_FALSE(r.erro);
    EXPECT_FALSE(r.gravouErros());
    ASSERT_TRUE(r.gravouAgravo());
    EXPECT_EQ(r.arquivoAgravo, dir_.path() / ("Agr" + g.remessa() + ".txt"));
    std::string nome1 = "MARIA DA SILVA", nome2 = cp("JOSé");
    nome1.resize(60, ' ');
    nome2.resize(60, ' ');
    const std::string esperado =
        "2000016201203.VLT 2000016 PR77         " + nome1 + cp(" 01032012 A90-Dengue [dengue clássico]\r\n") +
        "2000016201203.VLT 2000016 PR0001       " + nome2 + cp(" 05032012 A90-Dengue [dengue clássico]\r\n");
    EXPECT_EQ(leArquivo(r.arquivoAgravo), esperado);
    EXPECT_EQ(r.linhasAgravo, 2);
}

TEST_F(CriticaArquivo, DiagnosticoIncompativelNaoNotifica) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt).com(C::DiagPrincipal, "N40"));
    const auto r = roda(g, kCmpt);
    EXPECT_TRUE(r.erro);
    EXPECT_FALSE(r.gravouAgravo());
}

TEST_F(CriticaArquivo, ArquivosAntigosSoSaoEsvaziadosQuandoHaLinhaNova) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt));
    const auto erros = NomeArquivoErros(dir_.path(), g.remessa());
    const auto agravo = NomeArquivoAgravo(dir_.path(), g.remessa());
    escreveArquivo(erros, "antigo\r\n");
    escreveArquivo(agravo, "antigo\r\n");
    auto r = roda(g, kCmpt);
    EXPECT_FALSE(r.gravouErros());
    EXPECT_EQ(leArquivo(erros), "antigo\r\n");
    EXPECT_EQ(leArquivo(agravo), "antigo\r\n");

    GeradorRemessa h(kCnesGerador, kCmpt);
    h.registro(InternacaoValida(kCmpt).com(C::Sexo, "X"));
    r = roda(h, kCmpt);
    EXPECT_EQ(linhas(erros),
              (std::vector<std::string>{cp1252::toUtf8(cabecalho(2, "MARIA DA SILVA", "01032012")),
                                        "         2 Sexo do paciente nao informado ou invalido"}));
    EXPECT_EQ(leArquivo(agravo), "antigo\r\n");
}

TEST_F(CriticaArquivo, FalhaAoGravarOArquivoDeErrosParaAExecucao) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt).com(C::Sexo, "X"));
    const auto arquivo = g.escreve(dir_.path());
    relogioApos(kCmpt);
    CriticaRemessa critica(db(), cache(), driver_);
    auto p = parametros(g, kCmpt);
    p.diretorio = dir_.path() / "nao-existe";
    EXPECT_THROW(critica.critica(arquivo, p), std::runtime_error);
}

TEST_F(CriticaArquivo, EstagioComCompletacoes) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt)
                   .com(C::NomePaciente, "ana")
                   .com(C::FonteRemuneracao, " 2")
                   .com(C::Operadora, "999999")
                   .com(C::CnpjOperadora, "123")
                   .com(C::Beneficiario, "B"))
        .registro(AmbulatorialValido(kCmpt)
                      .com(C::DataSaida, "")
                      .com(C::TipoAlta, "")
                      .com(C::Tiss, "12345678901234567890"),
                  389)
        .registro(AmbulatorialValido(kCmpt)
                      .com(C::FonteRemuneracao, "1")
                      .com(C::Operadora, "")
                      .com(C::CnpjOperadora, kCnpjOperadora)
                      .com(C::Beneficiario, "B1"))
        .registro(InternacaoValida(kCmpt)
                      .com(C::FonteRemuneracao, "6")
                      .com(C::Operadora, "123456")
                      .com(C::CnpjOperadora, kCnpjOperadora)
                      .com(C::Beneficiario, "B2"))
        .registro(ConsolidadoValido(kCmpt)
                      .com(C::FonteRemuneracao, "1")
                      .com(C::Operadora, kRegistroAns)
                      .com(C::Quantidade, ""))
        .registro(InternacaoValida(kCmpt).com(C::TipoRegistro, "8"))
        .registro(InternacaoValida(kCmpt).com(C::DataSaida, "").com(C::TipoAlta, ""));
    const auto r = rodaComEstagio(g, kCmpt);
    EXPECT_EQ(r.registros, 7);
    EXPECT_EQ(banco().conta("tb_movimento"), 7);
    EXPECT_EQ(banco().conta("tb_movimento",
                            "nu_status_mov = '9' and nu_remessa = '2000016201203' and "
                            "co_cnes = '2000016' and dt_competencia = '201203'"),
              7);
    EXPECT_EQ(banco().valor("select min(dt_geracao_remessa) from tb_movimento"), "02/04/2012 08:30:00");
    auto valor = [&](const std::string& coluna, const std::string& where) {
        return banco().valor("select " + coluna + " from tb_movimento where " + where);
    };
    // Capitals, trimmed source, operator fields cleared for a source other than 1, 6 and 9.
    EXPECT_EQ(valor("no_paciente",
                    "nu_operadora = '' and co_fonte_remunera = '2' and tp_registro = '2' and dt_saida <> ''"),
              std::string("ANA") + std::string(57, ' '));
    EXPECT_EQ(valor("count(*)", "tp_registro = '2' and co_operadora = '' and co_beneficiario = ''"), "3");
    // Ambulatory record without discharge: the admission date and reason 18; 389 characters.
    EXPECT_EQ(valor("dt_saida || co_tipo_alta || nu_tiss", "tp_registro = '4' and co_fonte_remunera = '2'"),
              "0503201218" + std::string("1234567890123456789"));
    // Source 1 with a known CNPJ: the registry comes from TB_OPERADORA.
    EXPECT_EQ(valor("co_operadora || '/' || nu_operadora || '/' || co_beneficiario",
                    "tp_registro = '4' and co_fonte_remunera = '1'"),
              std::string("123456/11222333000181/B1") + std::string(28, ' '));
    // Source 6: registry and beneficiary cleared, CNPJ kept.
    EXPECT_EQ(
        valor("co_operadora || '/' || nu_operadora || '/' || co_beneficiario", "co_fonte_remunera = '6'"),
        "/11222333000181/");
    // Consolidated source 1: CNPJ filled from the registry, blank quantity staged as zeros.
    EXPECT_EQ(valor("nu_operadora || '/' || nu_quantidade", "tp_registro = '5'"), "11222333000181/000000");
    EXPECT_EQ(valor("count(*)", "tp_registro = '8'"), "1");
    // A hospitalisation is never completed.
    EXPECT_EQ(valor("dt_saida || '/' || co_tipo_alta", "tp_registro = '2' and dt_saida = ''"), "        /  ");
}

TEST_F(CriticaArquivo, CabecalhoRecusadoNaoEstagia) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.versao("1.0.3.0").registro(InternacaoValida(kCmpt));
    const auto r = rodaComEstagio(g, kCmpt);
    EXPECT_TRUE(r.cabecalhoRecusado);
    EXPECT_EQ(banco().conta("tb_movimento"), 0);
}

}  // namespace
}  // namespace velt::test
