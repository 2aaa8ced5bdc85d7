#include <gtest/gtest.h>

#include <set>

#include "fixtures/GeradorCadastro.h"
#include "reference/ImportaCnesValidos.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using fixtures::LinhaCnesVal;
using Situacao = ResultadoCnesValidos::Situacao;

namespace {

struct Rodada {
    test::TestDatabase banco;
    test::TempDir pasta;
    test::ScriptedDriver driver;

    explicit Rodada(const std::string& uf = "35", const std::string& codmunic = "000000") {
        banco.db().execute("insert into tb_gestor values ('SECRETARIA DE SAUDE', '" +
                           std::string(uf.empty() ? "2" : "1") + "', '" + uf + "', '" + codmunic +
                           "', '/tmp')");
        banco.db().execute("insert into tb_cnes values ('9999999')");
    }
    ResultadoCnesValidos importa(const std::vector<LinhaCnesVal>& linhas,
                                 const std::string& competencia = "12/2020",
                                 const std::string& nome = "CNESVAL.txt") {
        fixtures::escreveCnesVal(pasta / nome, linhas);
        return ImportaCnesValidos(banco.db(), driver).executa(pasta.path(), competencia);
    }
    std::set<std::string> cnes() {
        std::set<std::string> s;
        auto st = banco.db().prepare("select co_cnes from tb_cnes");
        auto c = st.open();
        while (c.next()) s.insert(c.text("co_cnes"));
        return s;
    }
};

}  // namespace

// Only the first run of lines of the competência is read; a line counts when its status is "1" and
// its municipality belongs to the manager's state.
TEST(CnesValidos, SoAsLinhasDaCompetenciaEDoEstado) {
    Rodada r;
    auto res = r.importa({
        {"1000001", "355030", "202011"},       // another competência before
        {"1000002", "355030", "202012"},       // taken
        {"1000003", "410690", "202012"},       // another state
        {"1000004", "355030", "202012", "0"},  // not valid
        {"1000005", "350010", "202012"},       // taken
        {"1000006", "355030", "202101"},       // another competência ends the run
        {"1000007", "355030", "202012"},       // not read
    });
    EXPECT_EQ(res.situacao, Situacao::Concluida);
    EXPECT_EQ(r.cnes(), (std::set<std::string>{"1000002", "1000005"}));
    EXPECT_EQ(res.lidas, 4);
    EXPECT_EQ(r.driver.ultimoProgresso, 4);
    EXPECT_EQ(r.driver.ultimoMaximo, 4);
    ASSERT_EQ(r.driver.mensagens.size(), 1u);
    EXPECT_EQ(r.driver.mensagens[0].titulo, "SUCESSO");
    EXPECT_EQ(r.driver.mensagens[0].texto, "CONCLUÍDO COM SUCESSO!");
    EXPECT_EQ(r.driver.mensagens[0].icone, Driver::Icone::Informacao);
}

// A manager without UF takes the state from the first two digits of its municipality.
TEST(CnesValidos, GestorSemUfUsaOMunicipio) {
    Rodada r("", "410690");
    auto res = r.importa({{"1000001", "355030", "202012"}, {"1000002", "410690", "202012"}}, "12/2020",
                         "cnesval.TXT");
    EXPECT_EQ(res.situacao, Situacao::Concluida) << testing::PrintToString(r.driver.textos());
    EXPECT_EQ(r.cnes(), (std::set<std::string>{"1000002"}));
}

// Without a line to take, the run says the file was not imported and the old list stays.
TEST(CnesValidos, SemLinhaDaCompetenciaMantemALista) {
    struct Caso {
        const char* nome;
        std::vector<LinhaCnesVal> linhas;
    };
    const std::vector<Caso> casos = {
        {"nenhuma linha da competência", {{"1000001", "355030", "202011"}, {"1000002", "355030", "202101"}}},
        {"só linhas de outro estado", {{"1000001", "410690", "202012"}}},
        {"arquivo só com cabeçalho", {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Rodada r;
        auto res = r.importa(c.linhas);
        EXPECT_EQ(res.situacao, Situacao::NaoImportado);
        ASSERT_EQ(r.driver.mensagens.size(), 1u);
        EXPECT_EQ(r.driver.mensagens[0].titulo, "ERRO");
        EXPECT_EQ(r.driver.mensagens[0].texto,
                  "ARQUIVO NÃO IMPORTADO! VERIFIQUE A COMPETÊNCIA/PASTA INFORMADA");
        EXPECT_EQ(r.driver.ultimoMaximo, 0);
        EXPECT_EQ(r.cnes(), (std::set<std::string>{"9999999"}));
    }
}

TEST(CnesValidos, CompetenciaInvalidaOuArquivoAusente) {
    {
        Rodada r;
        auto res = r.importa({{"1000001", "355030", "201213"}}, "13/2012");
        EXPECT_EQ(res.situacao, Situacao::CompetenciaInvalida);
        ASSERT_EQ(r.driver.mensagens.size(), 1u);
        EXPECT_EQ(r.driver.mensagens[0].titulo, "ERRO");
        EXPECT_EQ(r.driver.mensagens[0].texto, "INFORME UMA COMPETÊNCIA VÁLIDA!");
        EXPECT_EQ(r.cnes(), (std::set<std::string>{"9999999"}));
    }
    {
        Rodada r;
        auto res = ImportaCnesValidos(r.banco.db(), r.driver).executa(r.pasta.path(), "12/2020");
        EXPECT_EQ(res.situacao, Situacao::ArquivoAusente);
        ASSERT_EQ(r.driver.mensagens.size(), 1u);
        EXPECT_EQ(r.driver.mensagens[0].texto, "ARQUIVO CNESVAL.TXT NÃO ENCONTRADO!");
        EXPECT_EQ(r.cnes(), (std::set<std::string>{"9999999"}));
    }
}
