// Compaction of a generated month of stored records, timed beside Info-ZIP "zip -9 -P" on the same
// transmission file. Goal: the whole compaction (database read, lines, zip, shift, stamp; backup
// excluded) within 2 times the zip alone, memory flat in the number of records.
//
// usage: bench_compactacao [records]   (default 200000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "common/DataHora.h"
#include "data/DataModule.h"
#include "export/Compactacao.h"
#include "fixtures/GeradorArmazenado.h"
#include "support/Processo.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using Relogio = std::chrono::steady_clock;

namespace {

// Peak and current resident memory of this process, in kB.
long memoria(const char* campo) {
    std::ifstream f("/proc/self/status");
    std::string l;
    while (std::getline(f, l))
        if (l.rfind(campo, 0) == 0) return std::atol(l.c_str() + std::string(campo).size());
    return -1;
}

void zeraPico() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

double segundos(Relogio::time_point a, Relogio::time_point b) { return std::chrono::duration<double>(b - a).count(); }

}  // namespace

int main(int argc, char** argv) {
    const std::size_t total = argc > 1 ? std::stoul(argv[1]) : 200000;
    const std::size_t semMov = total / 200, consolidados = total / 4, individuais = total - semMov - consolidados;

    test::TempDir dir, trab;
    auto db = CriaBanco(test::embedded(dir / "VELT02.FDB"));
    defineRelogio([] { return DataHora{2011, 5, 10, 14, 3, 9}; });

    auto t0 = Relogio::now();
    {
        test::GeradorArmazenado g(*db);
        g.gestor("2", "31", "310620", trab.path().string());
        g.mes("201104", individuais, consolidados, semMov);
    }
    auto t1 = Relogio::now();
    std::printf("mês gerado: %zu individualizados, %zu consolidados, %zu sem movimento (%.1f s)\n", individuais,
                consolidados, semMov, segundos(t0, t1));

    test::ScriptedDriver driver;
    zeraPico();
    long rssAntes = memoria("VmRSS:");
    auto c0 = Relogio::now();
    Compactacao c(*db, driver);
    auto r = c.executa("04/2011", false);
    auto c1 = Relogio::now();
    long pico = memoria("VmHWM:");
    if (!r.zipado || !r.carimbado) {
        std::fprintf(stderr, "a compactação não chegou ao fim\n");
        return 1;
    }
    const auto& b = r.backup->espera();
    auto c2 = Relogio::now();

    auto z0 = Relogio::now();
    auto zip = test::executa({"/usr/bin/zip", "-q", "-j", "-9", "-P", "QZPWR7N5TX3K", (trab / "zip-9.zip").string(),
                              r.arquivoTransmissao.string()},
                             trab.path());
    auto z1 = Relogio::now();
    if (zip.status != 0) {
        std::fprintf(stderr, "zip falhou: %s\n", zip.err.c_str());
        return 1;
    }

    const double compactacao = segundos(c0, c1), soZip = segundos(z0, z1);
    std::printf("arquivo de transmissão: %zu linhas, %.1f MB; arquivo compactado %.1f MB\n",
                r.individualizados + r.consolidados + r.semMovimento,
                double(std::filesystem::file_size(r.arquivoTransmissao)) / 1e6,
                double(std::filesystem::file_size(r.arquivoZip)) / 1e6);
    std::printf("compactação inteira (sem backup): %.2f s\n", compactacao);
    std::printf("zip -9 -P sozinho, mesmo arquivo:  %.2f s\n", soZip);
    std::printf("razão: %.2f (meta: até 2.00)\n", compactacao / soZip);
    std::printf("memória: residente antes %ld kB, pico durante a compactação %ld kB (+%ld kB)\n", rssAntes, pico,
                pico - rssAntes);
    std::printf("backup ao fim: %s, %.2f s depois da compactação\n", b.sucesso ? "concluído" : b.erro.c_str(),
                segundos(c1, c2));
    return 0;
}
