// Reading and checking an establishment batch against the national reference tables, beside the
// bare reading of the same file's lines. Goals: 200,000 records/s or more, and reading plus
// checking no more than 10 times the bare read.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "common/Driver.h"
#include "fixtures/GeradorRemessa.h"
#include "fixtures/ReferenciaReal.h"
#include "import/CacheReferencia.h"
#include "import/CriticaRemessa.h"
#include "import/LeitorRemessa.h"
#include "support/TestDatabase.h"

using namespace velt;
using namespace velt::test;
using C = CampoRemessa;

namespace {

class Silencioso : public Driver {
public:
    void mensagem(std::string_view, std::string_view, Icone) override {}
    bool pergunta(std::string_view, std::string_view) override { return false; }
};

double segundos(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

const std::string kCmpt = "202012";

// A mix like a hospital's month: hospitalisations, ambulatory attendances and consolidated counts,
// sources 2, 1 (with operator) and 6, some notifiable diagnoses and about one record in a hundred
// with a fault.
RegistroGerado registro(std::size_t i) {
    RegistroGerado r;
    switch (i % 20) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
            r = InternacaoValida(kCmpt);
            break;
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
        case 16:
            r = AmbulatorialValido(kCmpt);
            break;
        default:
            r = ConsolidadoValido(kCmpt).com(C::Quantidade, std::to_string(1000000 + i % 900000).substr(1));
            return r;
    }
    r.com(C::NomePaciente, "PACIENTE " + std::to_string(i)).com(C::Prontuario, "P" + std::to_string(i));
    // Dates spread over the month, births over decades.
    char data[16];
    const int dia = 1 + static_cast<int>(i % 25);
    std::snprintf(data, sizeof data, "%02d12%04d", 1 + static_cast<int>(i % 28),
                  1940 + static_cast<int>(i % 80));
    r.com(C::DataNascimento, data);
    std::snprintf(data, sizeof data, "%02d122020", dia);
    r.com(C::DataInternacao, data);
    if (r[C::TipoRegistro] == "2")
        std::snprintf(data, sizeof data, "%02d122020", dia + static_cast<int>(i % 4));
    r.com(C::DataSaida, data);
    if (i % 7 == 0)
        r.com(C::FonteRemuneracao, "1")
            .com(C::Operadora, kRegistroAns)
            .com(C::Beneficiario, "B" + std::to_string(i))
            .com(C::Tiss, "G" + std::to_string(i));
    if (i % 11 == 0) r.com(C::FonteRemuneracao, "6").com(C::CnpjOperadora, kCnpjOperadora);
    if (i % 13 == 0 && r[C::TipoRegistro] == "2") r.com(C::DiasUti, "001");
    if (i % 50 == 0 && r[C::TipoRegistro] == "2") r.com(C::DiagPrincipal, "A90");
    if (i % 97 == 0) r.com(C::Sexo, "X").com(C::CEP, "");
    return r;
}

}  // namespace

// Arguments: records (200000), a file to keep the error file in, rounds (3; the best is shown).
int main(int argc, char** argv) {
    const std::size_t n = argc > 1 ? std::stoul(argv[1]) : 200000;
    prepareEmbeddedEngine();
    TestDatabase banco;
    auto t0 = std::chrono::steady_clock::now();
    const long linhasReferencia = CarregaReferenciaReal(banco.db());
    CarregaReferenciaRemessa(banco.db(), false);
    std::printf("reference tables: %ld rows loaded in %.2f s\n", linhasReferencia, segundos(t0));

    t0 = std::chrono::steady_clock::now();
    CacheReferencia cache(banco.db());
    std::printf("reference cache: loaded in %.3f s\n", segundos(t0));

    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registros(n, registro);
    const auto arquivo = g.escreve(banco.dir().path());
    std::printf("batch: %zu records, %.1f MB\n", n, std::filesystem::file_size(arquivo) / 1e6);

    double leitura = 1e9, leituraGetline = 1e9, critica = 1e9;
    std::size_t contadas = 0;
    ResultadoCritica r;
    Silencioso driver;
    CriticaRemessa criticaRemessa(banco.db(), cache, driver);
    const ParametrosCritica p{kCmpt, banco.dir().path(), g.remessa(), DataHora{2021, 1, 2, 8, 0, 0, 0}};
    const int rodadas = argc > 3 ? std::stoi(argv[3]) : 3;
    for (int rodada = 0; rodada < rodadas; ++rodada) {
        t0 = std::chrono::steady_clock::now();
        {
            LeitorLinhas leitor(arquivo);
            std::string_view l;
            contadas = 0;
            while (leitor.proxima(l)) contadas += !l.empty();
        }
        leitura = std::min(leitura, segundos(t0));

        t0 = std::chrono::steady_clock::now();
        {
            std::ifstream in(arquivo, std::ios::binary);
            std::string l;
            std::size_t k = 0;
            while (std::getline(in, l)) k += !l.empty();
            if (k != contadas) std::printf("line counts differ\n");
        }
        leituraGetline = std::min(leituraGetline, segundos(t0));

        t0 = std::chrono::steady_clock::now();
        r = criticaRemessa.critica(arquivo, p);
        critica = std::min(critica, segundos(t0));
    }

    std::printf("bare read of the lines (buffered reader): %zu lines in %.3f s (%.0f lines/s)\n", contadas,
                leitura, contadas / leitura);
    std::printf("bare read of the lines (std::getline):    %.3f s\n", leituraGetline);
    std::printf("read and check: %lld records in %.3f s = %.0f records/s (goal 200000)\n",
                static_cast<long long>(r.registros), critica, r.registros / critica);
    std::printf("read and check / bare read: %.1f x buffered reader, %.1f x std::getline (goal <= 10)\n",
                critica / leitura, critica / leituraGetline);
    std::printf("outcome: errors %s, %lld error lines, %lld notification lines\n", r.erro ? "yes" : "no",
                static_cast<long long>(r.linhasErros), static_cast<long long>(r.linhasAgravo));
    std::fflush(stdout);
    if (argc > 2 && argv[2][0] && r.gravouErros())
        std::filesystem::copy_file(r.arquivoErros, argv[2],
                                   std::filesystem::copy_options::overwrite_existing);
    return 0;
}
