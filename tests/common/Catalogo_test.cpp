#include "common/Catalogo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <sstream>

#include "support/Processo.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::escreveArquivo;
using test::leArquivo;
using test::TempDir;

std::string codigo(int n) {
    return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

TEST(MensagemPorCodigo, NoventaESeteTextosDe01a98) {
    std::set<std::string> textos;
    int comTexto = 0;
    for (int n = 0; n <= 99; ++n) {
        std::string t = MensagemPorCodigo(codigo(n));
        if (n == 0 || n == 48 || n == 99) {
            EXPECT_EQ(t, "") << codigo(n);
            continue;
        }
        EXPECT_NE(t, "") << codigo(n);
        ++comTexto;
        textos.insert(t);
    }
    EXPECT_EQ(comTexto, 97);
    EXPECT_EQ(textos.size(), 96u);  // 56 and 72 share their text
    EXPECT_EQ(MensagemPorCodigo("72"), MensagemPorCodigo("56"));
    for (const char* semEntrada : {"", "1", "010", " 1", "1 ", "AB"})
        EXPECT_EQ(MensagemPorCodigo(semEntrada), "");
}

TEST(MensagemPorCodigo, TextosExatosComBrancosEAcentos) {
    struct Caso {
        const char* codigo;
        const char* texto;
    } casos[] = {
        {"01", "Prontuário Obrigatório"},
        {"07", "Data  Nascimento obrigatória"},
        {"13", "Motivo da alta nao informado ou invalido para a competencia"},
        {"14", "Óbito incompatível com o Motivo da Alta"},
        {"28", "CNPJ Inválido!"},
        {"36", "Fonte de remuneração 10 inválida - Estabelecimento não possui cadastro no programa PRONON"},
        {"37",
         "Fonte de remuneração 11 inválida - Estabelecimento não possui cadastro no programa PRONAS/PCD"},
        {"43", "Doc.Nasc.(1) e (2) obrigatórios "},
        {"54", " Versão Incorreta "},
        {"55", " Hospital Não Cadastrado   "},
        {"56", "Erro na Importação da Tabela - Refazer o processo"},
        {"58", "Descrição do procedimento Obrigatória para o código "},
        {"59", "Campo Obrigatório "},
        {"80", "Competência inferior a 01/1991"},
        {"98", "Número do CNS inválido"},
    };
    for (const auto& c : casos) EXPECT_EQ(MensagemPorCodigo(c.codigo), c.texto) << c.codigo;
}

TEST(DeslocaCaracteres, SomaOnzeAVoltaDe256) {
    EXPECT_EQ(DeslocaCaracteres(std::string{char(65), char(66)}), (std::string{char(76), char(77)}));
    EXPECT_EQ(DeslocaCaracteres(""), "");
    EXPECT_EQ(DeslocaCaracteres(std::string{char(245), char(250), char(0)}),
              (std::string{char(0), char(5), char(11)}));
    std::string marcador(60, '\x8A');
    EXPECT_EQ(DeslocaCaracteres(marcador), std::string(60, '\x95'));
}

TEST(ConfereCNES, RestoZeroSoAceitaZero) {
    struct Caso {
        const char* texto;
        bool aceito;
    } casos[] = {
        {"2000016", true},  {"1234560", true},   {"1234561", false}, {"1234562", false},
        {"0000000", false}, {"123456", false},   {"12345", false},   {"", false},
        {"12A4560", false}, {"12345600", false}, {"2000017", false}, {"0000019", true},
    };
    for (const auto& c : casos) EXPECT_EQ(ConfereCNES(c.texto), c.aceito) << "[" << c.texto << "]";
    EXPECT_EQ(DigitoPorPesos("200001", 6, "765432"), "2000016");
    EXPECT_EQ(DigitoPorPesos("123456", 6, "765432"), "1234560");
}

TEST(ConfereCNES, ConfereMilharesDeCodigosGerados) {
    std::mt19937 g(3);
    std::uniform_int_distribution<int> d(0, 9);
    for (int n = 0; n < 3000; ++n) {
        std::string base;
        for (int i = 0; i < 6; ++i) base += char('0' + d(g));
        int soma = 0;
        for (int i = 0; i < 6; ++i) soma += (base[i] - '0') * (7 - i);
        int r = soma % 11;
        char certo = r < 2 ? '0' : char('0' + 11 - r);
        for (char v = '0'; v <= '9'; ++v) {
            std::string cnes = base + v;
            bool esperado = v == certo && cnes != "0000000";
            ASSERT_EQ(ConfereCNES(cnes), esperado) << cnes;
        }
    }
}

TEST(RestauraBytesZip, DesfazODeslocamentoDe32) {
    TempDir d;
    fs::create_directories(d / "origem");
    fs::create_directories(d / "destino");
    std::string original;
    for (int i = 0; i < 300000; ++i) original += char((i * 7 + i / 256) % 256);
    std::string deslocado = original;
    for (char& c : deslocado) c = char((static_cast<unsigned char>(c) + 32) % 256);
    fs::path arquivo = d / "origem" / "530000201203.zip";
    escreveArquivo(arquivo, deslocado);
    escreveArquivo(d / "destino" / "530000201203.ZIP", "versao antiga");

    test::ScriptedDriver driver;
    EXPECT_TRUE(RestauraBytesZip(arquivo, d / "destino", driver));
    EXPECT_EQ(leArquivo(d / "destino" / "530000201203.ZIP"), original);
    EXPECT_FALSE(fs::exists(d / "destino" / "tmp.zip"));
    EXPECT_TRUE(driver.mensagens.empty());
    EXPECT_EQ(leArquivo(arquivo), deslocado);  // the received archive is left as it came
}

TEST(RestauraBytesZip, ArquivoReal) {
    TempDir d;
    escreveArquivo(d / "dados.txt", std::string(5000, 'V') + "\r\nfim\r\n");
    auto zip =
        test::executa({"/usr/bin/zip", "-q", "-9", "-P", "senha", "pacote.zip", "dados.txt"}, d.path());
    if (zip.status != 0) GTEST_SKIP() << "zip ausente: " << zip.err;
    std::string bytes = leArquivo(d / "pacote.zip");
    for (char& c : bytes) c = char((static_cast<unsigned char>(c) + 32) % 256);
    escreveArquivo(d / "recebido" / "1234567201203.ZIP", bytes);
    fs::create_directories(d / "saida");
    test::ScriptedDriver driver;
    ASSERT_TRUE(RestauraBytesZip(d / "recebido" / "1234567201203.ZIP", d / "saida", driver));
    auto unzip = test::executa({"/usr/bin/unzip", "-q", "-P", "senha", "1234567201203.ZIP"}, d / "saida");
    ASSERT_EQ(unzip.status, 0) << unzip.err;
    EXPECT_EQ(leArquivo(d / "saida" / "dados.txt"), leArquivo(d / "dados.txt"));
}

TEST(RestauraBytesZip, FalhasDeArquivoChegamAoChamador) {
    TempDir d;
    test::ScriptedDriver driver;
    EXPECT_THROW(RestauraBytesZip(d / "nao-existe.zip", d.path(), driver), fs::filesystem_error);
    escreveArquivo(d / "x.zip", "abc");
    EXPECT_THROW(RestauraBytesZip(d / "x.zip", d / "pasta-que-nao-existe", driver), fs::filesystem_error);
}

TEST(ListaUnidades, SoDiscosECompartilhamentos) {
    std::istringstream montagens(
        "overlay / overlay rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /dev tmpfs rw 0 0\n"
        "/dev/sda1 /home ext4 rw 0 0\n"
        "/dev/sda1 /etc/hosts ext4 rw 0 0\n"
        "/dev/sdb1 /media/gestor/PEN\\040DRIVE vfat rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "servidor:/dados /mnt/rede nfs4 rw 0 0\n"
        "//srv/velt /mnt/velt cifs rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "/dev/sdc1 /run/media/gestor/USB ext4 rw 0 0\n"
        "/dev/sda2 /boot/efi vfat rw 0 0\n"
        "/dev/sda1 /home ext4 rw 0 0\n");
    std::vector<std::string> esperado = {"/",         "/home",     "/media/gestor/PEN DRIVE",
                                         "/mnt/rede", "/mnt/velt", "/run/media/gestor/USB"};
    EXPECT_EQ(ListaUnidades(montagens), esperado);

    auto destaMaquina = ListaUnidades();
    ASSERT_FALSE(destaMaquina.empty());
    EXPECT_EQ(destaMaquina.front(), "/");
    for (const auto& u : destaMaquina) EXPECT_TRUE(fs::is_directory(u)) << u;
}

}  // namespace
}  // namespace velt
