#pragma once
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataHora.h"
#include "fixtures/GeradorRemessa.h"
#include "fixtures/ReferenciaMinima.h"
#include "import/Extracao.h"
#include "import/ImportaRemessa.h"
#include "import/Protocolo.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt::test {

// Keeps what the run hands to the protocol: the PDF drawing itself is checked through the
// command line and the screens.
class ProtocolosGuardados : public EmissorProtocolo {
public:
    void salvaPdf(const DadosProtocolo& d, const std::filesystem::path& arquivo) override {
        dados.push_back(d);
        arquivos.push_back(arquivo);
        escreveArquivo(arquivo, "%PDF-1.4\n");
    }
    std::vector<DadosProtocolo> dados;
    std::vector<std::filesystem::path> arquivos;
};

// A fresh database with the manager and the reference rows; a work directory; a clock that
// starts on 15/04/2012 14:30:05 and moves one second at each reading, so protocols of one run
// get distinct names. The run competência is 03/2012.
class ImportaTeste : public ::testing::Test {
protected:
    static constexpr const char* kCmpt = "201203";
    static constexpr const char* kTexto = "03/2012";

    void SetUp() override {
        PreparaBancoImportacao(db(), dirtrab());
        DefineRespostaSubstituicaoRemessa(false);
        auto segundos = std::make_shared<int>(0);
        defineRelogio([segundos] {
            std::time_t t = DataLocal(2012, 4, 15, 14, 30, 5) + (*segundos)++;
            std::tm tm{};
            localtime_r(&t, &tm);
            return DataHora{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                            tm.tm_min,         tm.tm_sec,     0};
        });
    }
    void TearDown() override {
        defineRelogio({});
        DefineRespostaSubstituicaoRemessa(false);
    }

    Database& db() { return banco_.db(); }
    std::filesystem::path dirtrab() const { return trab_.path() / "trab"; }
    std::filesystem::path dirRun() const { return dirtrab() / "VELT02" / kCmpt; }
    std::filesystem::path origem() const { return trab_.path() / "origem"; }

    // An archive <CNES><YYYYMM>.ZIP holding the batch, its entry dated `geracao`.
    std::filesystem::path zipa(const GeradorRemessa& g, std::time_t geracao, const std::string& sufixo = "") {
        std::filesystem::create_directories(origem());
        auto zip = origem() / (g.remessa() + sufixo + ".ZIP");
        ZipaComLibzip(zip, {{g.nomeArquivo(), g.conteudo(), {}}}, kSenhaRemessa, geracao);
        return zip;
    }

    ResultadoImportacao importa(const std::vector<std::filesystem::path>& zips) {
        OpcoesImportacao op;
        op.textoCompetencia = kTexto;
        op.competencia = kCmpt;
        op.arquivos = zips;
        op.protocolo = &protocolos_;
        return ImportaRemessas(db(), driver_, op);
    }

    std::string valor(const std::string& sql) { return banco_.valor(sql); }
    long long conta(const std::string& tabela, const std::string& where = "") {
        return banco_.conta(tabela, where);
    }
    bool disse(const std::string& texto) const {
        for (const auto& t : driver_.textos())
            if (t == texto) return true;
        return false;
    }

    // A correct batch of the generator's establishment: two hospitalisations of two patients,
    // one ambulatory attendance of the first patient, two consolidated counts (10 and 5).
    GeradorRemessa remessaCorreta() const {
        GeradorRemessa g(kCnesGerador, kCmpt);
        g.registro(InternacaoValida(kCmpt))
            .registro(InternacaoValida(kCmpt)
                          .com(CampoRemessa::NomePaciente, "JOAO PEREIRA")
                          .com(CampoRemessa::Sexo, "M")
                          .com(CampoRemessa::Prontuario, "PR0002")
                          .com(CampoRemessa::CNS, "")
                          .com(CampoRemessa::DataInternacao, "10032012")
                          .com(CampoRemessa::DataSaida, "12032012"))
            .registro(AmbulatorialValido(kCmpt))
            .registro(ConsolidadoValido(kCmpt))
            .registro(ConsolidadoValido(kCmpt)
                          .com(CampoRemessa::FonteRemuneracao, "3")
                          .com(CampoRemessa::Quantidade, "000005"))
            .ultimaLinha("\x1a");
        return g;
    }

    TempDir trab_;
    TestDatabase banco_;
    ScriptedDriver driver_;
    ProtocolosGuardados protocolos_;
};

}  // namespace velt::test
