#include <gtest/gtest.h>
#include <zip.h>

#include <string>

#include "common/DataHora.h"
#include "fixtures/ReferenciaMinima.h"
#include "import/Extracao.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt::test {

namespace {

// True when the program's password gets past the archive's check byte.
bool senhaPassaVerificacao(const std::filesystem::path& zip) {
    int erro = 0;
    zip_t* za = zip_open(zip.c_str(), ZIP_RDONLY, &erro);
    if (!za) return false;
    zip_file_t* f = zip_fopen_index_encrypted(za, 0, 0, kSenhaRemessa);
    const bool passa = f != nullptr;
    if (f) zip_fclose(f);
    zip_discard(za);
    return passa;
}

}  // namespace

// Traditional encryption checks a password against one byte of a random header: one wrong
// password in 256 gets through and the contents come out as garbage. That archive still gets the
// password message, and nothing of it is extracted.
TEST(Extracao, SenhaErradaQuePassaOByteDeVerificacaoEhErroDeSenha) {
    TempDir dir;
    std::string conteudo;
    for (int i = 0; i < 400; ++i) conteudo += "1PACIENTE DE TESTE NUMERO " + std::to_string(i) + "\r\n";
    const auto zip = dir.path() / "remessa.ZIP";
    bool achado = false;
    for (int tentativa = 0; tentativa < 4000 && !achado; ++tentativa) {
        ZipaComLibzip(zip, {{"2000016201203.VLT", conteudo, {}}}, "OUTRASENHA99", DataLocal(2012, 4, 2, 8, 30, 0));
        achado = senhaPassaVerificacao(zip);
    }
    ASSERT_TRUE(achado) << "no archive let the wrong password past its check byte";

    ScriptedDriver driver;
    const auto destino = dir.path() / "destino";
    std::filesystem::create_directories(destino);
    const ResultadoExtracao r = ExtraiArquivoZip(zip, destino, driver);
    EXPECT_TRUE(r.falhou);
    EXPECT_TRUE(r.extraidos.empty());
    EXPECT_EQ(driver.textos(), std::vector<std::string>{"Erro na descompactação - password"});
    EXPECT_TRUE(std::filesystem::is_empty(destino));
}

}  // namespace velt::test
