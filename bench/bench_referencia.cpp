// Reload of the full real procedure set (the five MERIDAL files of 202012, with a generated
// non-SUS file) and of the real CID-10 file into a fresh database, each beside the time of a plain
// insert of the same number of rows into the same tables in one transaction (prepared statement,
// no file reading). Goal: each reload within 3 times its plain insert.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/DataModule.h"
#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaArquivoUnico.h"
#include "reference/ImportaProcedimento.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

static double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

static double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static std::string numero(long long i, int largura) {
    std::string s = std::to_string(i);
    return std::string(largura > int(s.size()) ? largura - s.size() : 0, '0') + s;
}

struct Linhas {
    long long rlCid = 0, modalidade = 0, registro = 0, procedimento = 0, cid = 0;
};

// The plain insert: the same tables, rows of the same widths, one prepared statement per table.
static double insercaoSimples(Database& db, const Linhas& n, bool procedimentos) {
    auto t0 = Clock::now();
    Transaction tx(db);
    if (procedimentos) {
        auto rl = db.prepare("insert into TB_RL_CID values (:proc,:cod)");
        for (long long i = 0; i < n.rlCid; ++i) rl.bind("proc", numero(i, 10)).bind("cod", "A000").execute(tx);
        auto mod = db.prepare("insert into tb_modalidade values (:proc,:cod)");
        for (long long i = 0; i < n.modalidade; ++i) mod.bind("proc", numero(i, 10)).bind("cod", "01").execute(tx);
        auto reg = db.prepare("insert into tb_registro values (:proc,:cod)");
        for (long long i = 0; i < n.registro; ++i) reg.bind("proc", numero(i, 10)).bind("cod", "02").execute(tx);
        auto proc = db.prepare("insert into tb_procedimento values (:proc,:dscr,:sx,:idmin,:idmax)");
        const std::string dscr(250, 'P');
        for (long long i = 0; i < n.procedimento; ++i)
            proc.bind("proc", numero(i, 10)).bind("dscr", dscr).bind("sx", "I").bind("idmin", "0000").bind("idmax", "9999")
                .execute(tx);
    } else {
        auto cid = db.prepare("insert into tb_CID (CO_CID10,DS_CID,ST_AGRAVO,CO_SEXO) values (:cid,:dscr,:agr,:sx)");
        const std::string dscr(60, 'C');
        for (long long i = 0; i < n.cid; ++i)
            cid.bind("cid", std::string(1, char('A' + i / 1000)) + numero(i % 1000, 3)).bind("dscr", dscr).bind("agr", "0").bind("sx", "I").execute(tx);
    }
    tx.commit();
    return ms(Clock::now() - t0);
}

int main() {
    test::TempDir pasta;
    test::preparaPastaProcedimentos(pasta.path());
    fs::copy_file(test::dadoReferencia("tb_cid.txt"), pasta / "tb_cid.txt");

    constexpr int kRodadas = 3;
    std::vector<double> cargaProc, cargaCid, simplesProc, simplesCid;
    Linhas n;
    for (int r = 0; r < kRodadas; ++r) {
        {
            test::TestDatabase banco;
            test::ScriptedDriver driver;
            auto t0 = Clock::now();
            auto rp = ImportaProcedimento(banco.db(), driver).executa(pasta.path());
            cargaProc.push_back(ms(Clock::now() - t0));
            t0 = Clock::now();
            auto rc = ImportaArquivoUnico(banco.db(), driver, membroCid()).executa(pasta.path());
            cargaCid.push_back(ms(Clock::now() - t0));
            if (rp.situacao != ResultadoImportaProcedimento::Situacao::Concluida ||
                rc.situacao != ResultadoArquivoUnico::Situacao::Concluida || !driver.mensagens.empty()) {
                std::fprintf(stderr, "a carga falhou\n");
                return 1;
            }
            n.rlCid = banco.conta("TB_RL_CID");
            n.modalidade = banco.conta("TB_MODALIDADE");
            n.registro = banco.conta("TB_REGISTRO");
            n.procedimento = banco.conta("TB_PROCEDIMENTO");
            n.cid = banco.conta("TB_CID");
        }
        {
            test::TestDatabase banco;
            simplesProc.push_back(insercaoSimples(banco.db(), n, true));
            simplesCid.push_back(insercaoSimples(banco.db(), n, false));
        }
    }
    const double p = mediana(cargaProc), ps = mediana(simplesProc), c = mediana(cargaCid), cs = mediana(simplesCid);
    std::printf("linhas gravadas: TB_RL_CID %lld, TB_MODALIDADE %lld, TB_REGISTRO %lld, TB_PROCEDIMENTO %lld, TB_CID %lld\n",
                n.rlCid, n.modalidade, n.registro, n.procedimento, n.cid);
    std::printf("procedimentos (5 arquivos): carga %.0f ms   inserção simples das mesmas %lld linhas %.0f ms   razão %.2f (meta <= 3)\n",
                p, n.rlCid + n.modalidade + n.registro + n.procedimento, ps, p / ps);
    std::printf("CID-10 (tb_cid.txt):        carga %.0f ms   inserção simples das mesmas %lld linhas %.0f ms   razão %.2f (meta <= 3)\n",
                c, n.cid, cs, c / cs);
    std::printf("(medianas de %d rodadas, banco novo em cada uma)\n", kRodadas);
    return (p / ps <= 3.0 && c / cs <= 3.0) ? 0 : 1;
}
