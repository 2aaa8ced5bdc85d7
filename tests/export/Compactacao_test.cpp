#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "common/DataHora.h"
#include "data/Database.h"
#include "export/Compactacao.h"
#include "export/LeituraXlsx.h"
#include "export/ZipTransmissao.h"
#include "fixtures/GeradorArmazenado.h"
#include "gestor/Gestor.h"
#include "support/Processo.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::ConsolidadoArmazenado;
using test::GeradorArmazenado;
using test::InternacaoArmazenada;
using test::PacienteArmazenado;
using test::ScriptedDriver;
using test::TempDir;
using test::TestDatabase;

const char* const kSenha = "QZPWR7N5TX3K";

std::vector<std::string> linhasDe(const std::string& conteudo) {
    std::vector<std::string> linhas;
    std::size_t ini = 0;
    for (auto p = conteudo.find("\r\n"); p != std::string::npos; p = conteudo.find("\r\n", ini)) {
        linhas.push_back(conteudo.substr(ini, p - ini));
        ini = p + 2;
    }
    return linhas;
}

class CompactacaoTest : public ::testing::Test {
protected:
    TestDatabase t;
    TempDir trab;
    ScriptedDriver d;
    fs::path sus = trab / "VELT02/201104/SUS";

    void SetUp() override {
        defineRelogio([] { return DataHora{2011, 5, 10, 14, 3, 9}; });
        GeradorArmazenado g(t.db());
        g.gestor("2", "31", "310620", trab.path().string());
    }
    void TearDown() override { defineRelogio({}); }

    ResultadoCompactacao roda(const std::string& competencia, bool planilha = false) {
        Compactacao c(t.db(), d);
        auto r = c.executa(competencia, planilha);
        if (r.backup) {
            const auto& b = r.backup->espera();
            EXPECT_TRUE(b.sucesso) << b.erro;
        }
        return r;
    }

    // Three individualized, two consolidated, one establishment without movement in 04/2011,
    // and rows of 03/2011 that must stay out.
    void mesTresDoisUm() {
        GeradorArmazenado g(t.db());
        PacienteArmazenado p;
        InternacaoArmazenada i;
        p.cnes = "2000024";
        p.nome = "CARLOS";
        g.atendimento(p, i);
        p.cnes = "2000016";
        p.nome = "BEATRIZ";
        p.prontuario = "PR0002";
        g.atendimento(p, i);
        p.nome = "ANA";
        p.prontuario = "PR0003";
        i.modalidade = "01";
        g.atendimento(p, i);
        i.competencia = "201103";
        p.nome = "FORA DO MES";
        g.atendimento(p, i);
        ConsolidadoArmazenado c;
        g.consolidado(c);
        c.cnes = "2000032";
        c.quantidade = "12";
        g.consolidado(c);
        c.competencia = "201103";
        g.consolidado(c);
        g.controle("2000016", "201104", "1");
        g.controle("2000024", "201104", "1");
        g.controle("2000040", "201104", "2");
        g.controle("2000048", "201103", "2", "2000048201103");
    }

    // The archive on disk unshifted into a plain zip, then extracted by Info-ZIP.
    std::string extraiComUnzip(const fs::path& zip, const fs::path& pasta) {
        std::string bytes = test::leArquivo(zip);
        for (auto& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) - 32);
        fs::path plano = pasta / "plano.zip";
        test::escreveArquivo(plano, bytes);
        EXPECT_EQ(test::executa({"/usr/bin/unzip", "-Z1", plano.string()}, pasta).out, "310620201104.VLT\n");
        auto x = test::executa({"/usr/bin/unzip", "-qq", "-o", "-P", kSenha, "-d", (pasta / "x").string(),
                                plano.string()}, pasta);
        EXPECT_EQ(x.status, 0) << x.err;
        return test::leArquivo(pasta / "x" / "310620201104.VLT");
    }
};

TEST_F(CompactacaoTest, CompactacaoInteiraDoMes) {
    mesTresDoisUm();
    auto r = roda("04/2011");
    ASSERT_EQ(r.fim, ResultadoCompactacao::Fim::Concluida);
    EXPECT_EQ(r.nomeBase, "310620201104");
    EXPECT_EQ(r.arquivoTransmissao, sus / "310620201104.VLT");
    EXPECT_EQ(r.arquivoZip, sus / "310620201104.ZIP");
    EXPECT_TRUE(r.zipado);
    EXPECT_TRUE(r.carimbado);
    EXPECT_EQ(r.individualizados, 3u);
    EXPECT_EQ(r.consolidados, 2u);
    EXPECT_EQ(r.semMovimento, 1u);
    const std::string backup = (trab / "Backups" / "VELT02_05102011_140309.gbk").string();
    EXPECT_EQ(d.textos(), (std::vector<std::string>{"Integracao efetuada com sucesso", "Compactação concluída",
                                                    "Foi gerado um Backup da base no local e nome abaixo \n" + backup}));
    EXPECT_TRUE(d.perguntas.empty());
    EXPECT_TRUE(fs::exists(backup));
    EXPECT_GT(fs::file_size(backup), 0u);
    EXPECT_EQ(d.statusLinhas.front(), "Compactando arquivo " + r.arquivoTransmissao.string() + " ...");
    EXPECT_EQ(d.statusLinhas.back(), "");
    EXPECT_FALSE(fs::exists(sus / "tmp.zip"));

    // The archive is not a readable zip: its signature is shifted by 32.
    std::string zip = test::leArquivo(r.arquivoZip);
    ASSERT_GT(zip.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(zip[0]), 'P' + 32);
    EXPECT_EQ(static_cast<unsigned char>(zip[1]), 'K' + 32);

    TempDir fora;
    std::string extraido = extraiComUnzip(r.arquivoZip, fora.path());
    std::string escrito = test::leArquivo(r.arquivoTransmissao);
    EXPECT_EQ(extraido, escrito);
    ASSERT_GE(escrito.size(), 3u);
    EXPECT_EQ(escrito.substr(escrito.size() - 3), "\r\n\x1a");
    EXPECT_EQ(escrito.size(), 6 * 418 + 1);

    auto linhas = linhasDe(escrito);
    ASSERT_EQ(linhas.size(), 6u);
    std::vector<std::string> chaves;
    for (const auto& l : linhas) {
        EXPECT_EQ(l.size(), 416u);
        EXPECT_EQ(l.substr(370, 18), "201104310620201104");
        chaves.push_back(l.substr(0, 1) + l.substr(8, 7) + l.substr(43, 8));
    }
    EXPECT_EQ(chaves, (std::vector<std::string>{"42000016ANA     ", "22000016BEATRIZ ", "22000024CARLOS  ",
                                                "52000016        ", "52000032        ", "32000040        "}));

    // Every control row of the competência stamped, whatever its status; other months untouched.
    DataHora mtime = dataModificacao(r.arquivoTransmissao.string());
    auto st = t.db().prepare(
        "select co_cnes, dt_competencia, nu_remessa, dt_geracao_remessa from tb_estagio_remessa_hosp order by 1");
    auto c = st.open();
    int carimbadas = 0;
    while (c.next()) {
        if (c.text("dt_competencia") == "201104") {
            EXPECT_EQ(c.text("nu_remessa"), "310620201104");
            EXPECT_EQ(c.timestamp("dt_geracao_remessa"), mtime);
            ++carimbadas;
        } else {
            EXPECT_EQ(c.text("nu_remessa"), "2000048201103");
        }
    }
    EXPECT_EQ(carimbadas, 3);
}

TEST_F(CompactacaoTest, ConexaoFechadaAoFimEReabertaNoProximoAcesso) {
    mesTresDoisUm();
    Compactacao c(t.db(), d);
    auto r = c.executa("04/2011", false);
    ASSERT_TRUE(r.backup);
    EXPECT_FALSE(t.db().attached());
    EXPECT_EQ(t.conta("TB_INTERNACAO"), 4);  // reattaches while the backup may still run
    EXPECT_TRUE(r.backup->espera().sucesso);
}

TEST_F(CompactacaoTest, GestorEstadualUsaUfMaisZeros) {
    {
        GeradorArmazenado g(t.db());
        g.gestor("1", "31", "000000", trab.path().string());
        g.controle("2000040", "201104", "2");
    }
    auto r = roda("04/2011");
    EXPECT_EQ(r.nomeBase, "310000201104");
    EXPECT_TRUE(fs::exists(sus / "310000201104.VLT"));
    EXPECT_TRUE(fs::exists(sus / "310000201104.ZIP"));
    Gestor m{"X", "2", "31", "310620", "/t"};
    EXPECT_EQ(NomeBaseTransmissao(m, "201104"), "310620201104");
}

TEST_F(CompactacaoTest, SoSemMovimentoDaLinhasTipo3) {
    {
        GeradorArmazenado g(t.db());
        g.controle("2000040", "201104", "2");
        g.controle("2000057", "201104", "2");
        g.controle("2000016", "201104", "1");
    }
    auto r = roda("04/2011");
    ASSERT_EQ(r.fim, ResultadoCompactacao::Fim::Concluida);
    std::string conteudo = test::leArquivo(r.arquivoTransmissao);
    auto linhas = linhasDe(conteudo);
    ASSERT_EQ(linhas.size(), 2u);
    for (const auto& l : linhas) {
        EXPECT_EQ(l[0], '3');
        EXPECT_EQ(l.substr(15, 355), std::string(355, ' '));
        EXPECT_EQ(l.substr(388), std::string(28, ' '));
    }
    EXPECT_EQ(conteudo.back(), '\x1a');
}

TEST_F(CompactacaoTest, CompetenciaRecusadaOuSemRegistrosAindaFazOBackup) {
    mesTresDoisUm();
    struct Caso {
        const char* digitada;
        ResultadoCompactacao::Fim fim;
        const char* mensagem;
    } casos[] = {
        {"06/2011", ResultadoCompactacao::Fim::CompetenciaInvalida, "Competência Inválida.\nInforme uma competência válida."},
        {"13/2011", ResultadoCompactacao::Fim::CompetenciaInvalida, "Competência Inválida.\nInforme uma competência válida."},
        {"  /    ", ResultadoCompactacao::Fim::CompetenciaInvalida, "Competência Inválida.\nInforme uma competência válida."},
        {"02/2011", ResultadoCompactacao::Fim::Concluida, "Competência não encontrada na tabela de movimento"},
    };
    for (const auto& c : casos) {
        d.mensagens.clear();
        auto r = roda(c.digitada);
        EXPECT_EQ(r.fim, c.fim) << c.digitada;
        ASSERT_EQ(d.mensagens.size(), 2u) << c.digitada;
        EXPECT_EQ(d.mensagens[0].texto, c.mensagem);
        EXPECT_EQ(d.mensagens[1].texto.rfind("Foi gerado um Backup da base no local e nome abaixo \n", 0), 0u);
        EXPECT_TRUE(r.backup) << c.digitada;
        EXPECT_FALSE(r.arquivoIniciado);
    }
    EXPECT_FALSE(fs::exists(trab / "VELT02"));
    // The current month is accepted.
    d.mensagens.clear();
    EXPECT_EQ(roda("05/2011").fim, ResultadoCompactacao::Fim::Concluida);
    EXPECT_EQ(d.mensagens[0].texto, "Competência não encontrada na tabela de movimento");
}

TEST_F(CompactacaoTest, SegundaExecucaoPerguntaAntesDeSobrepor) {
    mesTresDoisUm();
    ASSERT_TRUE(roda("04/2011").zipado);
    const fs::path vlt = sus / "310620201104.VLT", zip = sus / "310620201104.ZIP";
    const std::string vltAntes = test::leArquivo(vlt);
    const std::string perguntaVlt = "Sobrepõe arquivo existente: " + vlt.string() + "?";
    const std::string perguntaZip = "Sobrepõe arquivo existente: " + zip.string() + "?";
    {
        GeradorArmazenado g(t.db());
        ConsolidadoArmazenado c;
        c.cnes = "2000099";
        g.consolidado(c);
    }
    auto marcaControle = [&] { t.db().execute("update tb_estagio_remessa_hosp set nu_remessa = 'MARCA'"); };

    // No to the file, Yes to the archive: the old file is zipped again, nothing read is written.
    marcaControle();
    d = ScriptedDriver{};
    d.respostas = {false, true};
    auto r = roda("04/2011");
    EXPECT_EQ(d.perguntas, (std::vector<std::string>{perguntaVlt, perguntaZip}));
    EXPECT_TRUE(r.arquivoMantido);
    EXPECT_EQ(test::leArquivo(vlt), vltAntes);
    EXPECT_EQ(r.consolidados, 0u);
    EXPECT_EQ(d.textos().front(), "Compactação concluída");
    TempDir fora;
    EXPECT_EQ(extraiComUnzip(zip, fora.path()), vltAntes);
    EXPECT_EQ(t.valor("select first 1 nu_remessa from tb_estagio_remessa_hosp where dt_competencia = '201104' order by co_cnes"),
              "310620201104");

    // Yes to the file, No to the archive: the run stops there, no stamp, no backup.
    marcaControle();
    const std::string zipAntes = test::leArquivo(zip);
    d = ScriptedDriver{};
    d.respostas = {true, false};
    r = roda("04/2011");
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::ZipMantido);
    EXPECT_EQ(d.perguntas.size(), 2u);
    EXPECT_FALSE(r.backup);
    EXPECT_EQ(d.textos(), std::vector<std::string>{"Integracao efetuada com sucesso"});
    EXPECT_EQ(test::leArquivo(zip), zipAntes);
    EXPECT_NE(test::leArquivo(vlt), vltAntes);  // rewritten with the new record
    EXPECT_EQ(t.valor("select first 1 nu_remessa from tb_estagio_remessa_hosp"), "MARCA");

    // Yes to both: everything regenerated with the new record.
    d = ScriptedDriver{};
    d.respostas = {true, true};
    r = roda("04/2011");
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::Concluida);
    EXPECT_EQ(r.consolidados, 3u);
    TempDir fora2;
    std::string novo = extraiComUnzip(zip, fora2.path());
    EXPECT_EQ(linhasDe(novo).size(), 7u);
    EXPECT_EQ(novo, test::leArquivo(vlt));
    EXPECT_EQ(t.valor("select first 1 nu_remessa from tb_estagio_remessa_hosp where dt_competencia = '201104' order by co_cnes"),
              "310620201104");
}

TEST_F(CompactacaoTest, PastaQueNaoPodeSerCriadaParaTudo) {
    mesTresDoisUm();
    test::escreveArquivo(trab / "VELT02", "um arquivo no lugar da pasta");
    auto r = roda("04/2011");
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::ErroDiretorio);
    EXPECT_EQ(d.textos(), std::vector<std::string>{"Erro ao criar o diretorio de trabalho " + (trab / "VELT02").string()});
    EXPECT_FALSE(r.backup);

    fs::remove(trab / "VELT02");
    fs::create_directories(trab / "VELT02/201104");
    test::escreveArquivo(trab / "VELT02/201104/SUS", "");
    d = ScriptedDriver{};
    r = roda("04/2011");
    EXPECT_EQ(d.textos(),
              std::vector<std::string>{"Erro ao criar o subdiretorio de trabalho " + (trab / "VELT02/201104/SUS").string()});
    EXPECT_EQ(t.valor("select first 1 nu_remessa from tb_estagio_remessa_hosp where dt_competencia = '201104' order by co_cnes"),
              "2000016201104");
}

TEST_F(CompactacaoTest, FalhaAoGravarNaoCompactaNemCarimba) {
    mesTresDoisUm();
    // The transmission file's name is taken by a folder that cannot be removed.
    fs::create_directories(sus / "310620201104.VLT" / "dentro");
    d.respostaPadrao = true;
    auto r = roda("04/2011");
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::ErroGravacao);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].icone, Driver::Icone::Erro);
    EXPECT_EQ(d.mensagens[0].texto.rfind("Erro ao gerar o arquivo de integração (" + (sus / "310620201104.VLT").string(), 0), 0u);
    EXPECT_FALSE(fs::exists(sus / "310620201104.ZIP"));
    EXPECT_FALSE(r.backup);
    EXPECT_EQ(t.valor("select first 1 nu_remessa from tb_estagio_remessa_hosp where dt_competencia = '201104' order by co_cnes"),
              "2000016201104");
}

TEST_F(CompactacaoTest, FalhaDoBancoNoMeioDaGravacaoApagaOArquivo) {
    mesTresDoisUm();
    // The third pass reads a table that is gone: the first two passes have written lines by then.
    t.db().execute("drop table tb_estagio_remessa_hosp");
    auto r = roda("04/2011");
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::ErroGravacao);
    EXPECT_EQ(r.individualizados + r.consolidados, 5u);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_NE(d.mensagens[0].texto.find("TB_ESTAGIO_REMESSA_HOSP"), std::string::npos) << d.mensagens[0].texto;
    EXPECT_NE(d.mensagens[0].texto.find("O arquivo não foi compactado."), std::string::npos);
    EXPECT_FALSE(fs::exists(sus / "310620201104.VLT"));
    EXPECT_FALSE(fs::exists(sus / "310620201104.ZIP"));
    EXPECT_FALSE(r.backup);
}

TEST_F(CompactacaoTest, PlanilhaDoExemploTresDoisUm) {
    mesTresDoisUm();
    auto r = roda("04/2011", true);
    ASSERT_TRUE(r.planilhaSalva);
    EXPECT_EQ(r.planilha, sus / "310620201104.xlsx");
    EXPECT_EQ(d.textos()[2], "Planilha Excel gerada com sucesso no mesmo diretório da compactação");
    EXPECT_FALSE(fs::exists(sus / "310620201104.xlsx.parcial"));

    auto p = test::lePlanilha(r.planilha.string());
    EXPECT_EQ(p.nomeAba, "Arquivo de Transmissão VELT02");
    EXPECT_EQ(p.ultimaLinha, 12);
    EXPECT_EQ(p("A1"), "REGISTROS INDIVIDUALIZADOS");
    EXPECT_EQ(p.celulasNaLinha(1), 1);
    EXPECT_EQ(p("A2"), "SEQUÊNCIA");
    EXPECT_EQ(p("AC2"), "DOCDN1");
    EXPECT_EQ(p("AG2"), "DOCDN5");
    EXPECT_EQ(p("AM2"), "GUIATISS");
    EXPECT_EQ(p.celulasNaLinha(2), 39);
    for (int l = 3; l <= 5; ++l) {
        EXPECT_EQ(p("A" + std::to_string(l)), std::to_string(l - 2));
        EXPECT_EQ(p.celulasNaLinha(l), 39);
    }
    EXPECT_EQ(p("B3"), "1.0.5.0");
    EXPECT_EQ(p("C3"), "4");
    EXPECT_EQ(p("D3"), "2000016");
    EXPECT_EQ(p("H3"), "ANA" + std::string(57, ' '));  // as written in the line, blanks included
    EXPECT_EQ(p("AJ3"), "310620201104");
    EXPECT_EQ(p("A6"), "REGISTROS CONSOLIDADOS");
    EXPECT_EQ(p("I7"), "QUANTIDADE");
    EXPECT_EQ(p("A8"), "4");
    EXPECT_EQ(p("A9"), "5");
    EXPECT_EQ(p("C9"), "2000032");
    EXPECT_EQ(p("I9"), "12    ");
    EXPECT_EQ(p("A10"), "REGISTROS SEM MOVIMENTAÇÃO");
    EXPECT_EQ(p("E11"), "NOME ARQUIVO");
    EXPECT_EQ(p.celulasNaLinha(11), 5);
    EXPECT_EQ(p("A12"), "6");
    EXPECT_EQ(p("C12"), "2000040");
    EXPECT_EQ(p("D12"), "201104");
}

TEST_F(CompactacaoTest, PlanilhaSoDeConsolidadosComecaNaLinha1EPlanilhaNaoSalvaQuandoParou) {
    {
        GeradorArmazenado g(t.db());
        g.consolidado(ConsolidadoArmazenado{});
    }
    auto r = roda("04/2011", true);
    auto p = test::lePlanilha(r.planilha.string());
    EXPECT_EQ(p("A1"), "REGISTROS CONSOLIDADOS");
    EXPECT_EQ(p("A3"), "1");
    EXPECT_EQ(p.ultimaLinha, 3);

    // The user keeps the old archive: the run stops and no workbook is saved.
    fs::remove(r.planilha);
    d = ScriptedDriver{};
    d.respostas = {true, false};
    r = roda("04/2011", true);
    EXPECT_EQ(r.fim, ResultadoCompactacao::Fim::ZipMantido);
    EXPECT_FALSE(fs::exists(sus / "310620201104.xlsx"));
    EXPECT_FALSE(fs::exists(sus / "310620201104.xlsx.parcial"));
}

TEST(DeslocaBytesZip, SomaTrintaEDoisACadaByte) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    test::escreveArquivo(dir / "310620201104.ZIP", bytes);
    ScriptedDriver d;
    DeslocaBytesZip(dir / "310620201104.ZIP", "310620201104", d);
    std::string depois = test::leArquivo(dir / "310620201104.ZIP");
    ASSERT_EQ(depois.size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(static_cast<unsigned char>(depois[i]), (i + 32) % 256);
    EXPECT_FALSE(fs::exists(dir / "tmp.zip"));
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_THROW(DeslocaBytesZip(dir / "NAO.ZIP", "NAO", d), fs::filesystem_error);
}

}  // namespace
}  // namespace velt
