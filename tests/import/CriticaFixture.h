#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Cp1252.h"
#include "common/DataHora.h"
#include "fixtures/GeradorRemessa.h"
#include "import/CacheReferencia.h"
#include "import/CriticaRemessa.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt::test {

// One database with the generator's reference rows for a whole suite; each test gets its own run
// directory and a clock fixed on the 15th of the month after the run competência.
class CriticaTeste : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        banco_ = std::make_unique<TestDatabase>();
        CarregaReferenciaRemessa(banco_->db());
        cache_ = std::make_unique<CacheReferencia>(banco_->db());
    }
    static void TearDownTestSuite() {
        cache_.reset();
        banco_.reset();
    }
    void TearDown() override { defineRelogio({}); }

    static Database& db() { return banco_->db(); }
    static TestDatabase& banco() { return *banco_; }
    static const CacheReferencia& cache() { return *cache_; }

    // Today: the 15th of the month after the competência YYYYMM, unless a test fixed another day.
    void relogioApos(const std::string& competencia) {
        if (hojeFixo_) {
            const DataHora h = *hojeFixo_;
            defineRelogio([=] { return h; });
            return;
        }
        int ano = std::stoi(competencia.substr(0, 4)), mes = std::stoi(competencia.substr(4, 2)) + 1;
        if (mes == 13) mes = 1, ++ano;
        defineRelogio([=] { return DataHora{ano, mes, 15, 10, 0, 0, 0}; });
    }

    ParametrosCritica parametros(const GeradorRemessa& g, const std::string& competencia) const {
        return ParametrosCritica{competencia, dir_.path(), g.remessa(), DataHora{2012, 4, 2, 8, 30, 0, 0}};
    }

    // Writes the batch and reads and checks it (without staging) for the run competência.
    ResultadoCritica roda(const GeradorRemessa& g, const std::string& competencia) {
        relogioApos(competencia);
        const auto arquivo = g.escreve(dir_.path());
        CriticaRemessa critica(db(), cache(), driver_);
        return critica.critica(arquivo, parametros(g, competencia));
    }

    // Reads, checks and stages inside one transaction, committed.
    ResultadoCritica rodaComEstagio(const GeradorRemessa& g, const std::string& competencia) {
        relogioApos(competencia);
        const auto arquivo = g.escreve(dir_.path());
        db().execute("delete from tb_movimento");
        CriticaRemessa critica(db(), cache(), driver_);
        Transaction tx(db());
        auto r = critica.critica(arquivo, parametros(g, competencia), tx);
        tx.commit();
        return r;
    }

    // The lines of a file written by the checks, UTF-8, without their CR LF.
    static std::vector<std::string> linhas(const std::filesystem::path& arquivo) {
        const std::string bruto = leArquivo(arquivo);
        std::vector<std::string> v;
        std::size_t i = 0;
        while (i < bruto.size()) {
            auto fim = bruto.find("\r\n", i);
            if (fim == std::string::npos) fim = bruto.size();
            v.push_back(cp1252::toUtf8(bruto.substr(i, fim - i)));
            i = fim + 2;
        }
        return v;
    }

    // The messages one record gets, without their line number and without the heading.
    std::vector<std::string> mensagens(const RegistroGerado& reg, const std::string& competencia,
                                       const std::string& cnes = kCnesGerador) {
        GeradorRemessa g(cnes, competencia);
        g.registro(reg);
        const auto r = roda(g, competencia);
        std::vector<std::string> v;
        if (!r.gravouErros()) return v;
        const auto todas = linhas(r.arquivoErros);
        for (std::size_t i = 0; i < todas.size(); ++i) {
            if (i == 0) continue;  // the record's heading
            v.push_back(todas[i].substr(10));
        }
        EXPECT_EQ(r.erro, !v.empty());
        return v;
    }

    TempDir dir_;
    ScriptedDriver driver_;
    std::optional<DataHora> hojeFixo_;
    static inline std::unique_ptr<TestDatabase> banco_;
    static inline std::unique_ptr<CacheReferencia> cache_;
};

}  // namespace velt::test
