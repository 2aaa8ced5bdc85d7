// Establishment import end to end: a generated month of establishments' batches (individual and
// consolidated records mixed) imported into a fresh database with the real reference tables,
// beside the engine's own rate for plain inserts of as many wide rows in one transaction.
// Goals: records per second at least 0.33 times the engine's rows per second, and peak memory
// that does not grow with the number of batches or the size of a batch (compare 50 with 100
// establishments, and 2,000 with 16,000 records per batch).
//
//   bench_importacao [establishments=100] [records per batch=2000]
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataHora.h"
#include "data/Database.h"
#include "fixtures/GeradorRemessa.h"
#include "fixtures/ReferenciaMinima.h"
#include "fixtures/ReferenciaReal.h"
#include "import/Extracao.h"
#include "import/ImportaRemessa.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using namespace velt::test;
namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
long memoriaKb(const char* campo) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char linha[256];
    long kb = -1;
    const std::size_t n = std::strlen(campo);
    while (std::fgets(linha, sizeof linha, f))
        if (std::strncmp(linha, campo, n) == 0 && linha[n] == ':') kb = std::atol(linha + n + 1);
    std::fclose(f);
    return kb;
}

// Starts the process's peak over from what it uses now, so that the peak read afterwards is the
// import's own and not the generation's.
void recomecaPico() {
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// Processor time of the whole process (every thread, user and system).
double segundosCpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

double segundos(Relogio::time_point t0) {
    return std::chrono::duration<double>(Relogio::now() - t0).count();
}

// Counts what the run reports instead of printing it.
class Silencioso : public Driver {
public:
    void mensagem(std::string_view, std::string_view texto, Icone) override {
        if (mensagens++ < 3) std::fprintf(stderr, "  mensagem: %.*s\n", int(texto.size()), texto.data());
    }
    bool pergunta(std::string_view, std::string_view) override { return false; }
    // The moment half of the batch files were done: a rate that falls in the second half would
    // show a cost growing with the number of batches already stored.
    void progresso(std::int64_t posicao, std::int64_t maximo) override {
        if (posicao >= maximo / 2 && metade == Relogio::time_point{}) metade = Relogio::now();
    }
    long mensagens = 0;
    Relogio::time_point metade{};
};

// The engine's own rate: n rows of 35 text columns, one transaction, one prepared statement.
double insercoesPuras(long n) {
    TempDir dir;
    auto db = Database::create(embedded(dir / "PURO.FDB"));
    std::string ddl = "create table largura (";
    std::string ins = "insert into largura values (";
    for (int c = 0; c < 35; ++c) {
        ddl += (c ? ", c" : "c") + std::to_string(c) + " varchar(20)";
        ins += (c ? ", :c" : ":c") + std::to_string(c);
    }
    db->execute(ddl + ")");
    auto st = db->prepare(ins + ")");
    const std::string valor = "VALOR DE TEXTO";
    auto t0 = Relogio::now();
    Transaction tx(*db);
    for (long i = 0; i < n; ++i) {
        for (int c = 0; c < 35; ++c) st.bind("c" + std::to_string(c), valor);
        st.execute(tx);
    }
    tx.commit();
    return double(n) / segundos(t0);
}

}  // namespace

int main(int argc, char** argv) {
    const int estabelecimentos = argc > 1 ? std::atoi(argv[1]) : 100;
    const std::size_t registros = argc > 2 ? std::size_t(std::atol(argv[2])) : 2000;
    const std::string cmpt = "201203";

    TempDir trab;
    TestDatabase banco;
    std::printf("carregando tabelas de referência reais...\n");
    long ref = CarregaReferenciaReal(banco.db());
    CarregaReferenciaRemessa(banco.db(), false);
    GravaGestorTeste(banco.db(), trab / "trab");
    auto cnes = CadastraEstabelecimentos(banco.db(), estabelecimentos);
    std::printf("  %ld linhas de referência\n", ref);

    std::printf("gerando %d remessas de %zu registros...\n", estabelecimentos, registros);
    std::vector<fs::path> zips;
    const std::time_t geracao = DataLocal(2012, 4, 2, 8, 30, 0);
    for (const auto& c : cnes) {
        GeradorRemessa g = RemessaSintetica(c, cmpt, registros);
        fs::path vlt = g.escreve(trab / "gerados");
        zips.push_back(trab / "gerados" / (g.remessa() + ".ZIP"));
        ZipaComLibzip(zips.back(), {{g.nomeArquivo(), {}, vlt}}, kSenhaRemessa, geracao);
        fs::remove(vlt);
    }
    recomecaPico();
    const long memoriaAntes = memoriaKb("VmRSS");

    defineRelogio([] { return DataHora{2012, 4, 15, 10, 0, 0, 0}; });
    Silencioso driver;
    OpcoesImportacao op;
    op.textoCompetencia = "03/2012";
    op.competencia = cmpt;
    op.arquivos = zips;
    std::printf("importando...\n");
    std::fflush(stdout);
    const double cpu0 = segundosCpu();
    auto t0 = Relogio::now();
    ResultadoImportacao r = ImportaRemessas(banco.db(), driver, op);
    const double tempo = segundos(t0);
    const double cpu = segundosCpu() - cpu0;
    const long memoriaPico = memoriaKb("VmHWM");
    defineRelogio({});

    const long total = long(estabelecimentos) * long(registros);
    const double taxa = double(total) / tempo;
    std::printf("importação: %d importadas, %d com erros, %ld mensagens; %ld registros em %.2f s\n",
                r.contadores.importados, r.contadores.comErros, driver.mensagens, total, tempo);
    std::printf("  linhas armazenadas: %s internações, %s consolidados, %s pacientes\n",
                banco.valor("select count(*) from tb_internacao").c_str(),
                banco.valor("select count(*) from tb_a_consolidado").c_str(),
                banco.valor("select count(*) from tb_paciente").c_str());

    const double primeira = std::chrono::duration<double>(driver.metade - t0).count();
    std::printf("  processador: %.2f s em %.2f s (%.2f núcleos em média)\n", cpu, tempo, cpu / tempo);
    std::printf("  primeira metade dos arquivos: %.0f registros/s; segunda metade: %.0f registros/s\n",
                double(total / 2) / primeira, double(total - total / 2) / (tempo - primeira));

    // The engine's rate swings with the disk of the moment: the median of three fresh databases.
    std::vector<double> bases;
    for (int i = 0; i < 3; ++i) bases.push_back(insercoesPuras(total));
    std::sort(bases.begin(), bases.end());
    const double base = bases[1];
    std::printf("\n%-48s %12.0f registros/s\n", "importação de ponta a ponta:", taxa);
    std::printf("%-48s %12.0f linhas/s (mediana de %.0f, %.0f, %.0f)\n",
                "inserções puras (35 colunas texto, 1 transação):", base, bases[0], bases[1], bases[2]);
    std::printf("%-48s %12.2f (meta >= 0.33)\n", "razão:", taxa / base);
    std::printf("%-48s %12ld kB em uso antes da importação, pico de %ld kB durante ela (+%ld kB)\n",
                "memória:", memoriaAntes, memoriaPico, memoriaPico - memoriaAntes);
    return r.concluida ? 0 : 1;
}
