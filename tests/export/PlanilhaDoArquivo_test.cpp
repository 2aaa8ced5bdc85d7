#include <gtest/gtest.h>

#include <filesystem>

#include "export/LeituraXlsx.h"
#include "export/PlanilhaDoArquivo.h"
#include "export/RegistroTransmissao.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDriver;
using test::TempDir;

// A line of the layout with the given fields set (others blank).
std::string linha(std::initializer_list<std::pair<std::size_t, std::string>> campos) {
    RegistroTransmissao r;
    LimpaRegistroTransmissao(r);
    r[campo::Tipo] = " ";
    r[campo::Versao] = PreencheAS("1.0.5.0", 7);
    r[campo::Cnes] = PreencheAS("", 7);
    for (const auto& [n, v] : campos) r[n] = PreencheAS(v, kLayoutTransmissao[n - 1].largura);
    return MontaLinhaTransmissao(r, "310620201104");
}

TEST(PlanilhaDoArquivo, NomeVazioOuExtensaoForaDoPadraoNaoAbreNada) {
    TempDir dir;
    test::escreveArquivo(dir / "A.vlt", linha({{campo::Tipo, "3"}}) + "\r\n\x1a");
    struct Caso {
        std::string arquivo, mensagem;
    } casos[] = {
        {"", "Indique onde esta o seu Arquivo de .VLT"},
        {(dir / "A.vlt").string(), "Arquivo não é padrão .VLT"},
        {(dir / "A.ZIP").string(), "Arquivo não é padrão .VLT"},
    };
    for (const auto& c : casos) {
        ScriptedDriver d;
        auto r = GeraPlanilhaDoArquivo(c.arquivo, d);
        EXPECT_FALSE(r.gerada);
        EXPECT_TRUE(r.faltaArquivo);
        EXPECT_EQ(d.textos(), std::vector<std::string>{c.mensagem});
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
}

TEST(PlanilhaDoArquivo, BlocosPorNomeDoPacienteECamposLimpos) {
    TempDir dir;
    std::string conteudo =
        linha({{campo::Tipo, "2"}, {campo::Cnes, "2000016"}, {campo::Nome, "  jos\xe9   da      silva"},
               {campo::Sexo, "m"}, {campo::Logradouro, "rua a"}, {campo::Quantidade, "1"}}) + "\r\n" +
        linha({{campo::Tipo, "4"}, {campo::Cnes, "2000016"}, {campo::Nome, "ANA"}, {campo::Modalidade, "01"}}) +
        "\r\n" +
        linha({{campo::Tipo, "5"}, {campo::Cnes, "2000032"}, {campo::Procedimento, "0301010072"},
               {campo::FonteRemuneracao, "2"}, {campo::Quantidade, "12"}}) +
        "\r\n" + linha({{campo::Tipo, "3"}, {campo::Cnes, "2000040"}, {campo::Competencia, "201104"}}) + "\r\n" +
        "\x1a" + linha({{campo::Tipo, "2"}, {campo::Nome, "DEPOIS DO FIM"}}) + "\r\n";
    fs::path vlt = dir / "310620201104.VLT";
    test::escreveArquivo(vlt, conteudo);

    ScriptedDriver d;
    auto r = GeraPlanilhaDoArquivo(vlt.string(), d);
    ASSERT_TRUE(r.gerada) << (d.mensagens.empty() ? "" : d.mensagens.back().texto);
    EXPECT_EQ(r.linhas, 4);
    EXPECT_EQ(r.planilha, dir / "310620201104.xlsx");
    EXPECT_EQ(d.textos(), std::vector<std::string>{"Planilha gerada com sucesso no mesmo diretório do arquivo .VLT"});

    auto p = test::lePlanilha(r.planilha.string());
    EXPECT_EQ(p.nomeAba, "Arquivo de Transmissão VELT02");
    EXPECT_EQ(p.ultimaLinha, 8);
    EXPECT_EQ(p("A1"), "REGISTROS INDIVIDUALIZADOS");
    EXPECT_EQ(p("H2"), "NOME");
    EXPECT_EQ(p("A3"), "1");
    EXPECT_EQ(p("C3"), "2");
    EXPECT_EQ(p("H3"), "JOSÉ DA  SILVA");  // three blanks become one, six become two; capitals
    EXPECT_EQ(p("J3"), "M");
    EXPECT_EQ(p("K3"), "RUA A");
    EXPECT_EQ(p("AK3"), "1");
    EXPECT_EQ(p("AJ3"), "310620201104");
    EXPECT_EQ(p("A4"), "2");
    EXPECT_EQ(p("AL4"), "01");
    EXPECT_EQ(p("A5"), "REGISTROS CONSOLIDADOS");
    EXPECT_EQ(p("A6"), "SEQUÊNCIA");
    EXPECT_EQ(p("A7"), "3");
    EXPECT_EQ(p("D7"), "0301010072");
    EXPECT_EQ(p("E7"), "2");
    EXPECT_EQ(p("I7"), "12");
    // The establishment without movement lands in the consolidated block with empty values.
    EXPECT_EQ(p("A8"), "4");
    EXPECT_EQ(p("C8"), "2000040");
    EXPECT_EQ(p("D8"), "");
    EXPECT_EQ(p("G8"), "201104");
}

TEST(PlanilhaDoArquivo, ArquivoSemIndividualizadosAindaTemOCabecalhoNasLinhas1E2) {
    TempDir dir;
    fs::path vlt = dir / "X.VLT";
    test::escreveArquivo(vlt, linha({{campo::Tipo, "3"}, {campo::Cnes, "2000040"}}) + "\r\n\x1a");
    ScriptedDriver d;
    auto r = GeraPlanilhaDoArquivo(vlt.string(), d);
    ASSERT_TRUE(r.gerada);
    auto p = test::lePlanilha(r.planilha.string());
    EXPECT_EQ(p("A1"), "REGISTROS INDIVIDUALIZADOS");
    EXPECT_EQ(p("A3"), "REGISTROS CONSOLIDADOS");
    EXPECT_EQ(p("A5"), "1");
}

TEST(PlanilhaDoArquivo, ArquivoQueNaoExisteMostraOErro) {
    TempDir dir;
    ScriptedDriver d;
    auto r = GeraPlanilhaDoArquivo((dir / "NADA.VLT").string(), d);
    EXPECT_FALSE(r.gerada);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].icone, Driver::Icone::Erro);
    EXPECT_FALSE(fs::exists(dir / "NADA.xlsx"));
}

}  // namespace
}  // namespace velt
