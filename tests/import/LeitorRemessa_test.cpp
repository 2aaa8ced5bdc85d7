// The batch line reader, the split of a data line with its normalisation, and the header rules.
#include <gtest/gtest.h>

#include "fixtures/GeradorRemessa.h"
#include "import/LeitorRemessa.h"
#include "support/TestDatabase.h"

namespace velt::test {
namespace {

using C = CampoRemessa;

std::vector<std::string> leTudo(const std::string& conteudo) {
    TempDir dir;
    escreveArquivo(dir / "a.txt", conteudo);
    LeitorLinhas leitor(dir / "a.txt");
    std::vector<std::string> v;
    std::string_view l;
    while (leitor.proxima(l)) v.emplace_back(l);
    return v;
}

TEST(LeitorLinhas, FinsDeLinha) {
    using V = std::vector<std::string>;
    EXPECT_EQ(leTudo(""), V{});
    EXPECT_EQ(leTudo("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(leTudo("a\nb\n"), (V{"a", "b"}));
    EXPECT_EQ(leTudo("a\r\nb"), (V{"a", "b"}));
    EXPECT_EQ(leTudo("a\r\n\r\n\x1a\r\n"), (V{"a", "", "\x1a"}));
    EXPECT_EQ(leTudo("a\rb\r\n"), (V{"a\rb"}));  // a carriage return alone ends no line
}

TEST(LeitorLinhas, LinhasQueAtravessamOBuffer) {
    // Lines longer than the reader's buffer and many lines across buffer boundaries come out whole.
    std::string grande(3u << 20, 'x');
    std::string conteudo = "ini\r\n" + grande + "\r\n";
    for (int i = 0; i < 20000; ++i) conteudo += std::to_string(i) + std::string(380, '.') + "\r\n";
    const auto v = leTudo(conteudo);
    ASSERT_EQ(v.size(), 20002u);
    EXPECT_EQ(v[1], grande);
    EXPECT_EQ(v[20001], "19999" + std::string(380, '.'));
}

TEST(LeitorLinhas, ArquivoInexistente) {
    TempDir dir;
    EXPECT_THROW(LeitorLinhas(dir / "nao.txt"), std::runtime_error);
}

// The line made by hand, field by field at the layout's positions, so a wrong position in the
// layout table shows here.
std::string linhaManual() {
    std::string s;
    auto poe = [&](std::size_t inicio, const std::string& v) {
        ASSERT_EQ(s.size() + 1, inicio);
        s += v;
    };
    poe(1, "4");
    poe(2, "maria jos\xe9" + std::string(50, ' '));
    poe(62, "rua a" + std::string(20, ' '));
    poe(87, "12345");
    poe(92, "apto 1" + std::string(9, ' '));
    poe(107, "355030");
    poe(113, "sp");
    poe(115, "01310100");
    poe(123, "15061980");
    poe(131, "f");
    poe(132, "700000000000005");
    poe(147, "0301010072");
    poe(157, "A90 ");
    poe(161, "J189");
    poe(165, "05032012");
    poe(173, "        ");
    poe(181, "  ");
    poe(183, " 1");
    poe(185, "consulta" + std::string(32, ' '));
    poe(225, "123456");
    poe(231, "11222333000181");
    poe(245, "ben" + std::string(27, ' '));
    poe(275, "12345678901");
    poe(286, "2");
    poe(287, "11111111111");
    poe(298, "22222222222");
    poe(309, "33333333333");
    poe(320, "44444444444");
    poe(331, "55555555555");
    poe(342, "003");
    poe(345, "PRONT0000001");
    poe(357, "032012");
    poe(363, "000001");
    poe(369, "01");
    poe(371, "ABCDEFGHIJ0123456789");
    return s;
}

TEST(RegistroRemessa, CortaENormaliza) {
    const std::string linha = linhaManual();
    ASSERT_EQ(linha.size(), 390u);
    RegistroRemessa r;
    r.carrega(linha);
    EXPECT_EQ(r.tipo(), '4');
    EXPECT_EQ(r[C::NomePaciente], "MARIA JOS\xe9" + std::string(50, ' '));  // a to z only
    EXPECT_EQ(r[C::Logradouro], "RUA A" + std::string(20, ' '));
    EXPECT_EQ(r[C::NumeroLogradouro], "12345");
    EXPECT_EQ(r[C::Complemento], "APTO 1" + std::string(9, ' '));
    EXPECT_EQ(r[C::UF], "SP");
    EXPECT_EQ(r[C::Sexo], "F");
    EXPECT_EQ(r[C::CNS], "700000000000005");
    EXPECT_EQ(r[C::DiagPrincipal], "A90 ");
    EXPECT_EQ(r[C::DiagSecundario], "J189");
    EXPECT_EQ(r[C::FonteRemuneracao], "1");
    EXPECT_EQ(r[C::DescricaoProcedimento], "CONSULTA" + std::string(32, ' '));
    EXPECT_EQ(r[C::Beneficiario], "ben" + std::string(27, ' '));  // not in capitals
    EXPECT_EQ(r[C::Nasc5], "55555555555");
    EXPECT_EQ(r[C::DiasUti], "003");
    EXPECT_EQ(r[C::Prontuario], "PRONT0000001");
    EXPECT_EQ(r[C::Competencia], "032012");
    EXPECT_EQ(r[C::Modalidade], "01");
    EXPECT_EQ(r[C::Tiss], "ABCDEFGHIJ0123456789");
    // Ambulatory of modality 01: blank discharge and reason completed.
    EXPECT_EQ(r[C::DataSaida], "05032012");
    EXPECT_EQ(r[C::TipoAlta], "18");

    r.carrega(linha.substr(0, 389));
    EXPECT_EQ(r[C::Tiss], "ABCDEFGHIJ012345678");
}

TEST(RegistroRemessa, MaiusculasSoDeAaZ) {
    // Every byte value passes through the capitalised fields; only a to z change.
    for (int inicio = 0; inicio < 256; inicio += 60) {
        std::string nome;
        for (int b = inicio; b < inicio + 60; ++b) nome += static_cast<char>(b % 256 == '\n' ? ' ' : b % 256);
        RegistroRemessa r;
        const std::string linha = InternacaoValida("201203")
                                      .com(C::NomePaciente, nome)
                                      .com(C::DescricaoProcedimento, nome.substr(0, 40))
                                      .linha();
        r.carrega(linha);
        std::string esperado = nome;
        for (auto& c : esperado)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        EXPECT_EQ(r[C::NomePaciente], esperado);
        EXPECT_EQ(r[C::DescricaoProcedimento], esperado.substr(0, 40));
        EXPECT_EQ(r[C::Prontuario], "PR0001      ");  // not capitalised and not moved
    }
}

TEST(RegistroRemessa, SoAmbulatorialDeModalidade01EhCompletado) {
    struct Caso {
        const char* tipo;
        const char* modalidade;
        const char* saida;
        const char* alta;
        const char* saidaEsperada;
        const char* altaEsperada;
    } casos[] = {
        {"4", "01", "", "", "05032012", "18"},         {"4", "01", "", "11", "05032012", "11"},
        {"4", "01", "06032012", "", "06032012", "18"}, {"4", "02", "", "", "        ", "  "},
        {"2", "01", "", "", "        ", "  "},         {"2", "02", "", "", "        ", "  "},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.tipo) + c.modalidade);
        const auto linha = AmbulatorialValido("201203")
                               .com(C::TipoRegistro, c.tipo)
                               .com(C::Modalidade, c.modalidade)
                               .com(C::DataSaida, c.saida)
                               .com(C::TipoAlta, c.alta)
                               .linha();
        RegistroRemessa r;
        r.carrega(linha);
        EXPECT_EQ(r[C::DataSaida], c.saidaEsperada);
        EXPECT_EQ(r[C::TipoAlta], c.altaEsperada);
    }
}

TEST(CabecalhoRemessa, Versao) {
    EXPECT_TRUE(VersaoAceita("1.0.4.0"));
    EXPECT_TRUE(VersaoAceita("1.0.4.7"));
    EXPECT_FALSE(VersaoAceita("1.0.3.0"));
    EXPECT_FALSE(VersaoAceita("1.0.5.0"));  // no known layout
    EXPECT_FALSE(VersaoAceita("2.0.0.0"));
    EXPECT_FALSE(VersaoAceita("a.b.c.d"));
    EXPECT_FALSE(VersaoAceita("1.0"));
    EXPECT_FALSE(VersaoAceita(""));
}

TEST(CabecalhoRemessa, Corte) {
    const std::string linha = "120000161.0.4.0" + std::string(60, 'M') + "resto";
    const auto c = CabecalhoRemessa::corta(linha);
    EXPECT_EQ(c.tipo, "1");
    EXPECT_EQ(c.cnes, "2000016");
    EXPECT_EQ(c.versao, "1.0.4.0");
    EXPECT_EQ(c.marcador, std::string(60, 'M'));
    const auto curto = CabecalhoRemessa::corta("12000");
    EXPECT_EQ(curto.cnes, "2000");
    EXPECT_EQ(curto.versao, "");
}

TEST(CabecalhoRemessa, MarcadorDeOrigem) {
    // March 2012 with multiplier 7: 32012 x 7 = 224084 at decoded characters 8 to 14.
    auto codifica = [](std::string decodificado) {
        for (auto& c : decodificado) c = static_cast<char>(static_cast<unsigned char>(c) - 11);
        return decodificado;
    };
    const std::string resto(46, 'Q');
    EXPECT_TRUE(MarcadorOrigemValido(codifica("XABCDEF224084 " + resto), "201203"));
    EXPECT_TRUE(MarcadorOrigemValido(codifica("XABCDEF 224084" + resto), "201203"));
    EXPECT_FALSE(MarcadorOrigemValido(codifica("SABCDEF224084 " + resto), "201203"));  // S: times 3
    EXPECT_TRUE(MarcadorOrigemValido(codifica("SABCDEF96036  " + resto), "201203"));
    EXPECT_FALSE(MarcadorOrigemValido(codifica("XABCDEF224084 " + resto), "201204"));
    EXPECT_FALSE(MarcadorOrigemValido(codifica("XABCDEF2240840" + resto), "201203"));
    // Bytes near 255 wrap around when shifted.
    std::string alto = codifica("XABCDEF224084 ") + std::string(46, '\xf8');
    EXPECT_TRUE(MarcadorOrigemValido(alto, "201203"));
    EXPECT_TRUE(MarcadorOrigemValido(MarcadorOrigem("201203"), "201203"));
    EXPECT_TRUE(MarcadorOrigemValido(MarcadorOrigem("199912", false), "199912"));
    EXPECT_FALSE(MarcadorOrigemValido("", "201203"));
}

}  // namespace
}  // namespace velt::test
