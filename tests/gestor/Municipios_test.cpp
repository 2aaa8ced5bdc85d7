#include "gestor/Municipios.h"

#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

TEST(ListaMunicipios, OrdenadaPeloNomeSemBrancosFinais) {
    test::TestDatabase banco;
    EXPECT_TRUE(ListaMunicipios(banco.db()).empty());
    for (const char* sql : {
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO) values ('355030', 'SAO PAULO')",
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO) values ('530010', 'BRASILIA')",
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO) values ('354780', 'SANTO ANDRE')",
         })
        banco.db().execute(sql);
    banco.db().execute("insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO) values ('260000', '" +
                       cp1252::fromUtf8("ÁGUA PRETA") + "')");
    auto l = ListaMunicipios(banco.db());
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].nome, "BRASILIA");
    EXPECT_EQ(l[0].codigo, "530010");
    EXPECT_EQ(l[1].nome, "SANTO ANDRE");
    EXPECT_EQ(l[2].nome, "SAO PAULO");
    EXPECT_EQ(cp1252::toUtf8(l[3].nome), "ÁGUA PRETA");  // accented letters come after Z in code order
}

TEST(MunicipioMaisProximo, PrimeiroNomeIgualOuSeguinte) {
    std::vector<Municipio> l = {
        {"1", "ANAPOLIS"}, {"2", "BRASILIA"}, {"3", "BRASILIA"}, {"4", "BREJO"}, {"5", "SAO PAULO"}};
    struct Caso {
        const char* texto;
        std::size_t linha;
    } casos[] = {
        {"", 0},    {"A", 0},         {"ANAPOLIS", 0}, {"ANAPOLISX", 1}, {"B", 1},   {"BRASILIA", 1},
        {"BRE", 3}, {"BRASILIAX", 3}, {"C", 4},        {"SAO PAULO", 4}, {"ZZZ", 4}, {"SAO PAULOS", 4},
    };
    for (const auto& c : casos) EXPECT_EQ(MunicipioMaisProximo(l, c.texto), c.linha) << c.texto;
    EXPECT_EQ(MunicipioMaisProximo({}, "X"), 0u);
}

}  // namespace
}  // namespace velt
