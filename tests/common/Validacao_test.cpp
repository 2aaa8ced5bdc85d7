#include "common/Validacao.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>

#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::escreveArquivo;
using test::TempDir;

std::string digitosAleatorios(std::mt19937& g, int n) {
    std::uniform_int_distribution<int> d(0, 9);
    std::string s;
    for (int i = 0; i < n; ++i) s += char('0' + d(g));
    return s;
}

TEST(TipoConteudo, ClassificaCadaTipoDeTexto) {
    struct Caso {
        const char* texto;
        int tipo;
    } casos[] = {
        {"", 0},
        {"   ", 1},
        {"+", 1},
        {"-", 1},
        {"  -", 1},
        {"0", 3},
        {"000", 3},
        {"+0", 3},
        {"-0", 3},
        {" 0", 2},
        {"  00", 2},
        {" 7", 4},
        {"   123", 4},
        {"07", 5},
        {"7", 5},
        {"-3", 5},
        {"+12", 5},
        {"7 ", 6},
        {" 7 ", 6},
        {"1 2", 6},
        {"- 5", 6},
        {"12a", 6},
        {"A", 6},
        {"\t1", 6},
        {"1.5", 6},
        {"--1", 6},
        {"0x10", 6},
        {"$10", 6},
        {"1-", 6},
        {"9223372036854775807", 5},
        {"-9223372036854775808", 5},
        {"9223372036854775808", 6},
        {"123456789012345678901234", 6},
        {"700000000000005", 5},
        {"000000", 3},
    };
    for (const auto& c : casos) EXPECT_EQ(TipoConteudo(c.texto), c.tipo) << "[" << c.texto << "]";
}

TEST(LeInteiro, InformaValorEPosicaoDaFalha) {
    auto r = LeInteiro("  -42");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.valor, -42);
    r = LeInteiro("12a4");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.posicaoFalha, 3u);
    r = LeInteiro("  ");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.posicaoFalha, 3u);
    EXPECT_EQ(ComoInteiro("007"), 7);
    EXPECT_FALSE(ComoInteiro("7 ").has_value());
}

TEST(ValidaData, SoConfereLimitesEFevereiro) {
    struct Caso {
        const char* texto;
        bool valida;
    } casos[] = {
        {"29022013", true},  {"30022012", false}, {"31042012", true},  {"01011799", false},
        {"01011800", true},  {"0101201A", false}, {"00012012", false}, {"32012012", false},
        {"01002012", false}, {"01132012", false}, {"31122099", true},  {"29022012", true},
        {"", false},         {"0101", false},     {"010120", false},   {"01019999", true},
        {" 1012012", true},  {"1 012012", false}, {"-1012012", false}, {"01 12012", true},
    };
    for (const auto& c : casos) EXPECT_EQ(ValidaData(c.texto), c.valida) << "[" << c.texto << "]";
}

TEST(ValidaCompetencia, MesEAnoComoDataDoDia11) {
    struct Caso {
        const char* texto;
        bool valida;
    } casos[] = {
        {"03/2012", true},  {"13/2012", false}, {"00/2012", false}, {"12/1800", true},
        {"12/1799", false}, {"  /    ", false}, {"", false},        {"03/20A2", false},
        {"3/2012", false},  {" 3/2012", true},  {"02/2013", true},  {"01/9999", true},
    };
    for (const auto& c : casos) EXPECT_EQ(ValidaCompetencia(c.texto), c.valida) << "[" << c.texto << "]";
}

TEST(ValidaCNS, RegrasProvisoriaEDefinitiva) {
    struct Caso {
        const char* texto;
        bool valido;
    } casos[] = {
        {"700000000000005", true},  // provisional: weighted sum 110
        {"123456789010000", true},  // definitive, remainder 0
        {"700000000000006", false},
        {"123456789010001", false},
        {" 70000000000005", false},
        {"70000000000005 ", false},
        {"7000000 0000005", false},
        {"70000000000005", false},
        {"12345678901000", false},
        {"1234567890100000", false},
        {"", false},
        {"12345678901000A", false},
        {"800000000000004", false},
        {"900000000000004", false},
        // 3..: definitive rule, the three middle digits must be 000 or 001
        {"300000000000003", false},
        {"300000000000018", true},
    };
    for (const auto& c : casos) EXPECT_EQ(ValidaCNS(c.texto), c.valido) << "[" << c.texto << "]";
}

// The card number rule as published for definitive numbers, written independently.
std::string cnsDefinitivoEsperado(const std::string& pis) {
    int soma = 0;
    for (int i = 0; i < 11; ++i) soma += (pis[i] - '0') * (15 - i);
    int resto = soma % 11;
    int dv = resto == 0 ? 0 : 11 - resto;
    if (dv == 10) {
        soma += 2;
        dv = 11 - soma % 11;
        return pis + "001" + std::to_string(dv);
    }
    return pis + "000" + std::to_string(dv);
}

TEST(ValidaCNS, ConfereMilharesDeNumerosGerados) {
    std::mt19937 g(20121);
    int validosProvisorios = 0, validos001 = 0;
    for (int n = 0; n < 5000; ++n) {
        // Definitive numbers: the generated one is valid, the same with another digit is not.
        std::string pis = std::to_string(1 + n % 2) + digitosAleatorios(g, 10);
        std::string cns = cnsDefinitivoEsperado(pis);
        if (cns.substr(11, 3) == "001") ++validos001;
        ASSERT_TRUE(ValidaCNS(cns)) << cns;
        std::string errado = cns;
        errado[14] = char('0' + (errado[14] - '0' + 1 + n % 9) % 10);
        ASSERT_FALSE(ValidaCNS(errado)) << errado;

        // Provisional numbers: valid exactly when the weighted sum 15..1 is a multiple of 11.
        std::string prov = std::to_string(7 + n % 3) + digitosAleatorios(g, 14);
        int soma = 0;
        for (int i = 0; i < 15; ++i) soma += (prov[i] - '0') * (15 - i);
        if (soma % 11 == 0) ++validosProvisorios;
        ASSERT_EQ(ValidaCNS(prov), soma % 11 == 0) << prov;
    }
    EXPECT_GT(validos001, 100);
    EXPECT_GT(validosProvisorios, 100);
}

TEST(ValidaCNPJ, CasosEMilharesGerados) {
    EXPECT_TRUE(ValidaCNPJ("11222333000181"));
    EXPECT_FALSE(ValidaCNPJ("11222333000182"));
    EXPECT_FALSE(ValidaCNPJ("11222333000171"));
    EXPECT_FALSE(ValidaCNPJ(""));
    EXPECT_FALSE(ValidaCNPJ("1122233300018"));
    EXPECT_TRUE(ValidaCNPJ("00000000000000"));  // the rule is only the check digits

    // Company tax number digits computed the usual way, independently.
    auto digito = [](const std::string& base, const int* pesos) {
        int soma = 0;
        for (std::size_t i = 0; i < base.size(); ++i) soma += (base[i] - '0') * pesos[i];
        int r = soma % 11;
        return char(r < 2 ? '0' : '0' + 11 - r);
    };
    const int p1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    const int p2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    std::mt19937 g(14);
    for (int n = 0; n < 5000; ++n) {
        std::string cnpj = digitosAleatorios(g, 12);
        cnpj += digito(cnpj, p1);
        cnpj += digito(cnpj, p2);
        ASSERT_TRUE(ValidaCNPJ(cnpj)) << cnpj;
        for (int pos : {12, 13}) {
            std::string errado = cnpj;
            errado[pos] = char('0' + (errado[pos] - '0' + 1 + n % 9) % 10);
            ASSERT_FALSE(ValidaCNPJ(errado)) << errado;
        }
    }
}

TEST(ValidaCNES, CasosEMilharesGerados) {
    struct Caso {
        const char* texto;
        bool valido;
    } casos[] = {
        {"2000016", true},  {"1234560", true},  {"1234561", true},   {"1234562", false},
        {"0000000", false}, {"2000017", false}, {"", false},         {"200001", false},
        {"20A0016", false}, {" 200001", false}, {"2000016 ", false},
    };
    for (const auto& c : casos) EXPECT_EQ(ValidaCNES(c.texto), c.valido) << "[" << c.texto << "]";

    // Establishment code rule written independently: weights 7..2, remainder 0 takes 0 or 1.
    std::mt19937 g(7);
    int comResto0 = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string base = digitosAleatorios(g, 6);
        int soma = 0;
        for (int i = 5; i >= 0; --i) soma += (base[i] - '0') * (7 - i);
        int r = soma % 11;
        if (r == 0) ++comResto0;
        for (char v = '0'; v <= '9'; ++v) {
            std::string cnes = base + v;
            bool esperado = !(base == "000000" && v == '0') && (r == 0   ? (v == '0' || v == '1')
                                                                : r == 1 ? v == '0'
                                                                         : v - '0' == 11 - r);
            ASSERT_EQ(ValidaCNES(cnes), esperado) << cnes;
        }
    }
    EXPECT_GT(comResto0, 50);
}

TEST(DigitoModulo11, PermiteXComoNoISBN) {
    // A 10-digit book number's check character is this modulo-11 digit with weights 10..2 and X.
    EXPECT_EQ(DigitoModulo11("030640615", 9, "a98765432", true), "0306406152");
    EXPECT_EQ(DigitoModulo11("080442957", 9, "a98765432", true), "080442957X");
    EXPECT_EQ(DigitoModulo11("080442957", 9, "a98765432", false), "0804429570");
    EXPECT_EQ(DigitoModulo11("1", 1, "b", false), "10");  // 11 mod 11 = 0
    std::mt19937 g(10);
    int comX = 0;
    for (int n = 0; n < 4000; ++n) {
        std::string base = digitosAleatorios(g, 9);
        std::string isbn = DigitoModulo11(base, 9, "a98765432", true);
        ASSERT_EQ(isbn.size(), 10u);
        int soma = 0;
        for (int i = 0; i < 10; ++i) soma += (isbn[i] == 'X' ? 10 : isbn[i] - '0') * (10 - i);
        ASSERT_EQ(soma % 11, 0) << isbn;
        if (isbn[9] == 'X') ++comX;
        EXPECT_TRUE(ConfereDigito(isbn, 10, "a98765432", true));
    }
    EXPECT_GT(comX, 100);
}

TEST(ConfereDigito, TextoCurtoNaoTemDigito) {
    EXPECT_FALSE(ConfereDigito("", 14, "6543298765432", false));
    EXPECT_FALSE(ConfereDigito("1122233300018", 14, "6543298765432", false));
    EXPECT_TRUE(ConfereDigito("11222333000181", 14, "6543298765432", false));
    EXPECT_TRUE(ConfereDigito("1122233300018", 13, "543298765432", false));
}

TEST(SoDigitos, Casos) {
    EXPECT_TRUE(SoDigitos(""));
    EXPECT_TRUE(SoDigitos("0123456789"));
    EXPECT_FALSE(SoDigitos("12 3"));
    EXPECT_FALSE(SoDigitos("-1"));
    EXPECT_FALSE(SoDigitos("\xB9"));  // superscript one
}

TEST(CompletaTexto, AparaEPreencheSemCortar) {
    EXPECT_EQ(CompletaEsquerda("12", 5, '0'), "00012");
    EXPECT_EQ(CompletaDireita(" AB ", 4, ' '), "AB  ");
    EXPECT_EQ(CompletaEsquerda("  123456  ", 3, '0'), "123456");
    EXPECT_EQ(CompletaDireita("ABCDEF", 3, ' '), "ABCDEF");
    EXPECT_EQ(CompletaEsquerda("", 3, '0'), "000");
    EXPECT_EQ(CompletaDireita("   ", 2, '*'), "**");
    EXPECT_EQ(CompletaEsquerda("A B", 5, '.'), "..A B");
}

TEST(CompletaData, CadaTamanho) {
    struct Caso {
        const char* entrada;
        const char* saida;
    } casos[] = {
        {"5/3/2012", "05/03/2012"},
        {"5/03/2012", "05/03/2012"},
        {"05/3/2012", "05/03/2012"},
        {"05/03/2012", "05/03/2012"},
        {"", ""},
        {"5/3/12", ""},
        {"05/03/20121", ""},
    };
    for (const auto& c : casos) EXPECT_EQ(CompletaData(c.entrada), c.saida) << c.entrada;
}

TEST(TextoLimpo, TrocaAspasERetiraPontuacao) {
    EXPECT_EQ(TrocaAspas("HOSP \"SAO\" D'ALVA: `X`"), "HOSP  SAO  D ALVA   X ");
    EXPECT_EQ(RetiraPontuacao("11.222.333/0001-81"), "11222333000181");
    EXPECT_EQ(RetiraPontuacao(" a'b,c/d.e-f "), "abcdef");
    EXPECT_EQ(RetiraPontuacao("x;y"), "x;y");
}

TEST(NomeSemExtensao, NomeEntreSeparadorEExtensao) {
    struct Caso {
        const char* caminho;
        const char* nome;
    } casos[] = {
        {"C:\\W\\1234567201203.VLT", "1234567201203"},
        {"ARQUIVO.ZIP", "ARQUIVO"},
        {"/home/gestor/VELT02/201203/1234567201203.VLT", "1234567201203"},
        {"C:\\pasta/sub\\nome.txt", "nome"},
        {"/a\\b/c.zip", "c"},
        {"ABCD", ""},
        {"ABC", ""},
        {"", ""},
        {"C:\\W\\.VLT", ""},
        {"C:\\W\\X.VLT", "X"},
        {"C:\\W.X\\ARQ", ""},
    };
    for (const auto& c : casos) EXPECT_EQ(NomeSemExtensao(c.caminho), c.nome) << c.caminho;
}

TEST(ApagaArquivos, ApagaSoArquivosQueCasamComAMascara) {
    TempDir d;
    for (const char* n : {"A.VLT", "b.vlt", "c.txt", "1234567201203.VLT", "x.VLTX"})
        escreveArquivo(d / n, "x");
    fs::create_directories(d / "pasta.VLT");
    escreveArquivo(d / "pasta.VLT" / "dentro.VLT", "x");
    escreveArquivo(d / "somente-leitura.VLT", "x");
    fs::permissions(d / "somente-leitura.VLT", fs::perms::owner_read);

    ApagaArquivos((d.path() / "*.VLT").string());
    EXPECT_FALSE(fs::exists(d / "A.VLT"));
    EXPECT_FALSE(fs::exists(d / "b.vlt"));
    EXPECT_FALSE(fs::exists(d / "1234567201203.VLT"));
    EXPECT_FALSE(fs::exists(d / "somente-leitura.VLT"));
    EXPECT_TRUE(fs::exists(d / "c.txt"));
    EXPECT_TRUE(fs::exists(d / "x.VLTX"));
    EXPECT_TRUE(fs::exists(d / "pasta.VLT" / "dentro.VLT"));

    escreveArquivo(d / "sem-extensao", "x");
    ApagaArquivos((d.path() / "?.txt").string());
    EXPECT_FALSE(fs::exists(d / "c.txt"));
    ApagaArquivos((d.path() / "*.*").string());
    EXPECT_FALSE(fs::exists(d / "sem-extensao"));
    EXPECT_FALSE(fs::exists(d / "x.VLTX"));
    EXPECT_TRUE(fs::is_directory(d / "pasta.VLT"));

    ApagaArquivos((d.path() / "nao-existe" / "*.*").string());  // a missing folder is no failure
}

TEST(ContaLinhas, ContaAUltimaLinhaSemQuebra) {
    TempDir d;
    EXPECT_EQ(ContaLinhas(d / "nao-existe.txt"), 0);
    struct Caso {
        const char* conteudo;
        long linhas;
    } casos[] = {{"", 0}, {"a", 1}, {"a\n", 1}, {"a\r\nb", 2}, {"a\r\nb\r\n", 2}, {"\n\n", 2}, {"\n\nx", 3}};
    for (const auto& c : casos) {
        escreveArquivo(d / "f.txt", c.conteudo);
        EXPECT_EQ(ContaLinhas(d / "f.txt"), c.linhas) << c.conteudo;
    }
    std::string grande;
    for (int i = 0; i < 200000; ++i) grande += "linha " + std::to_string(i) + "\r\n";
    escreveArquivo(d / "g.txt", grande + "fim");
    EXPECT_EQ(ContaLinhas(d / "g.txt"), 200001);
}

TEST(LeDataAtual, VemDoRelogioDoPrograma) {
    defineRelogio([] { return DataHora{2012, 3, 5, 10, 20, 30}; });
    DataAtual d = LeDataAtual();
    defineRelogio({});
    EXPECT_EQ(d.TextoHoje, "05/03/2012");
    EXPECT_EQ(d.AnoAtual, "2012");
    EXPECT_EQ(d.MesAtual, "03");
    EXPECT_EQ(d.DataHoje.dia, 5);
}

}  // namespace
}  // namespace velt
