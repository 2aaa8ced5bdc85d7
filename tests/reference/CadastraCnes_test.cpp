#include <gtest/gtest.h>

#include "reference/CadastraCnes.h"
#include "support/TestDatabase.h"

using namespace velt;

TEST(CadastraCnes, ValidacaoDoCnesEDoCnpj) {
    struct Caso {
        const char* texto;
        bool valido;
    };
    // "234567" is checked as 0234567; 0123456 fails its check digit; a blank inside is not a number.
    for (auto c : {Caso{"2000016", true}, Caso{"234567", true}, Caso{"123456", false}, Caso{"0000000", false},
                   Caso{"", false}, Caso{"1234562", false}, Caso{"1234560", true}, Caso{"12 4560", false},
                   Caso{"ABCDEFG", false}})
        EXPECT_EQ(CadastraCnes::cnesValido(c.texto), c.valido) << "CNES " << c.texto;
    for (auto c :
         {Caso{"11222333000181", true}, Caso{"11222333000182", false}, Caso{" 11222333000181 ", true},
          Caso{"", false}, Caso{"00000000000000", false}, Caso{"11.222.333/0001-81", false}})
        EXPECT_EQ(CadastraCnes::cnpjValido(c.texto), c.valido) << "CNPJ " << c.texto;
}

// A row written by hand takes the manager's state and municipality, the name in upper case as both
// names, and joins TB_CNES once; deleting removes it from both tables.
TEST(CadastraCnes, InsereAlteraExcluiMantendoTbCnes) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_gestor values ('SECRETARIA', '2', '41', '410690', '/tmp')");
    CadastraCnes cad(banco.db());

    cad.insere("234567", "11222333000181", "hospital s\xE3o jos\xE9", true);
    auto e = cad.consulta("234567");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->cnes, "234567");
    EXPECT_EQ(e->razaoSocial, "HOSPITAL S\xC3O JOS\xC9");
    EXPECT_EQ(e->stLeito, "1");
    EXPECT_EQ(banco.valor("select no_fantasia || '|' || co_estado_gestor || '|' || co_munic_gestor from "
                          "tb_estabelecimento"),
              "HOSPITAL S\xC3O JOS\xC9|41|410690");
    EXPECT_EQ(banco.conta("tb_cnes", "co_cnes = '234567'"), 1);
    EXPECT_FALSE(cad.consulta("0234567").has_value());

    banco.db().execute("insert into tb_cnes values ('2000016')");
    cad.insere("2000016", "11222333000181", "outro", false);
    EXPECT_EQ(banco.conta("tb_cnes", "co_cnes = '2000016'"), 1);
    EXPECT_EQ(cad.lista().size(), 2u);

    cad.altera("2000016", "11444777000161", "novo nome", true);
    e = cad.consulta("2000016");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->cnpj, "11444777000161");
    EXPECT_EQ(e->razaoSocial, "NOVO NOME");
    EXPECT_EQ(e->stLeito, "1");

    cad.exclui("234567");
    EXPECT_FALSE(cad.consulta("234567").has_value());
    EXPECT_EQ(banco.conta("tb_cnes", "co_cnes = '234567'"), 0);
    EXPECT_EQ(banco.conta("tb_cnes"), 1);
}
