#include <gtest/gtest.h>

#include <string>
#include <unordered_map>

#include "import/IndiceTextos.h"

namespace velt::test {

// Against a plain map, through many rehashes and text blocks: every key keeps its number, the
// texts kept stay readable, absent keys (prefixes, longer texts, the empty text) are not found.
TEST(IndiceTextos, ComoUmMapaAtravesDoCrescimento) {
    IndiceTextos indice;
    std::unordered_map<std::string, std::uint32_t> esperado;
    std::vector<std::pair<std::string_view, std::string>> guardados;
    auto chaveDe = [](int i) { return "PR" + std::to_string(i) + '\x1f' + std::string(std::size_t(i % 70), 'N'); };
    for (int i = 0; i < 60000; ++i) {
        const std::string k = chaveDe(i);
        std::uint32_t& n = indice.entrada(k);
        ASSERT_EQ(n, IndiceTextos::kNenhum) << k;
        n = std::uint32_t(i);
        esperado[k] = std::uint32_t(i);
        if (i % 1000 == 0) {
            const std::string t = "texto " + std::to_string(i);
            guardados.emplace_back(indice.guarda(t), t);
        }
    }
    const std::string longo(300000, 'L');  // longer than a block of texts
    indice.entrada(longo) = 7;
    EXPECT_EQ(indice.chaves(), esperado.size() + 1);

    for (const auto& [k, n] : esperado) {
        const std::uint32_t* achado = indice.acha(k);
        ASSERT_NE(achado, nullptr) << k;
        EXPECT_EQ(*achado, n);
        EXPECT_EQ(indice.entrada(k), n);  // found, not added again
    }
    ASSERT_NE(indice.acha(longo), nullptr);
    EXPECT_EQ(*indice.acha(longo), 7u);
    for (const auto& [vista, texto] : guardados) EXPECT_EQ(vista, texto);
    EXPECT_EQ(indice.acha("PR1"), nullptr);  // a prefix of "PR1\x1fN"
    EXPECT_EQ(indice.acha(chaveDe(5) + "X"), nullptr);
    EXPECT_EQ(indice.acha(""), nullptr);
    EXPECT_EQ(indice.chaves(), esperado.size() + 1);

    indice.limpa();
    EXPECT_EQ(indice.chaves(), 0u);
    EXPECT_EQ(indice.acha(chaveDe(3)), nullptr);
    indice.entrada(chaveDe(3)) = 3;
    EXPECT_EQ(*indice.acha(chaveDe(3)), 3u);
}

}  // namespace velt::test
