#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "import/ImportaFixture.h"

namespace velt::test {

namespace fs = std::filesystem;

namespace {

const std::time_t kGeracao = DataLocal(2012, 4, 2, 8, 30, 0);

// velt02-cli started in a folder (where velt.ini is), standard output and error to files.
pid_t iniciaCli(const fs::path& pasta, const std::vector<std::string>& args) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(pasta.c_str()) != 0) _exit(126);
        if (!freopen((pasta / "saida.txt").c_str(), "w", stdout) ||
            !freopen((pasta / "erros.txt").c_str(), "w", stderr))
            _exit(126);
        std::vector<char*> argv;
        std::string cli = VELT_CLI_PATH;
        argv.push_back(cli.data());
        std::vector<std::string> copia = args;
        for (auto& a : copia) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(cli.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

int espera(pid_t pid) {
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -WTERMSIG(st);
}

std::string pdfTexto(const fs::path& pdf) {
    const fs::path txt = pdf.string() + ".txt";
    std::string cmd = "pdftotext -layout '" + pdf.string() + "' '" + txt.string() + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    return leArquivo(txt);
}

}  // namespace

class ImportaCli : public ImportaTeste {
protected:
    // The command line runs in a folder of its own with velt.ini naming this database; the test
    // lets go of the database while it runs.
    int roda(const std::vector<std::string>& args) {
        fs::create_directories(pasta());
        banco_.escreveVeltIni(pasta());
        db().detach();
        return espera(iniciaCli(pasta(), args));
    }
    fs::path pasta() const { return trab_.path() / "cli"; }
    std::string saida() const { return leArquivo(pasta() / "saida.txt"); }
    std::string erros() const { return leArquivo(pasta() / "erros.txt"); }
};

TEST_F(ImportaCli, ImportaResumeNaSaidaEGravaProtocoloPdf) {
    defineRelogio({});  // the command line runs on the real clock
    auto g = remessaCorreta();
    auto zip = zipa(g, kGeracao);
    ASSERT_EQ(roda({"importar", "--competencia", "03/2012", zip.string()}), 0) << erros();
    EXPECT_EQ(saida(),
              "Importação concluída...\n"
              "   1 arquivo(s) selecionado(s)\n"
              "   1 arquivo(s) criticado(s)\n"
              "   1 arquivo(s) correto(s)\n"
              "   0 arquivo(s) com erros\n"
              "   1 arquivo(s) importado(s)\n"
              "   0 arquivo(s) sem movimento\n"
              "   0 arquivo(s) de agravo (*.agr) gerado(s)\n"
              "   0 arquivo(s) de erros (*.err) gerado(s)\n");
    EXPECT_EQ(conta("tb_internacao"), 3);

    // The protocol: named PT + batch + stamp under Protocolos, announced, holding every figure.
    std::vector<fs::path> pdfs;
    for (const auto& e : fs::directory_iterator(dirtrab() / "Protocolos")) pdfs.push_back(e.path());
    ASSERT_EQ(pdfs.size(), 1u);
    const std::string nome = pdfs[0].filename().string();
    EXPECT_EQ(nome.substr(0, 16), "PT" + g.remessa() + "_");
    EXPECT_EQ(nome.size(), std::string("PT2000016201203_04152012_143005.pdf").size());
    EXPECT_NE(erros().find("O relatório foi salvo na pasta " + pdfs[0].string()), std::string::npos)
        << erros();
    // pdftotext gives runs of blanks back as one: compare with blanks squeezed.
    auto espremido = [](std::string s) {
        std::string r;
        for (char c : s)
            if (!(c == ' ' && !r.empty() && r.back() == ' ')) r += c;
        return r;
    };
    const std::string texto = espremido(pdfTexto(pdfs[0]));
    for (const char* t : {"VELT - Veltaria -",
                          "Protocolo de Atendimentos Importados",
                          "CNES:",
                          "2000016",
                          "Prestador:",
                          kRazaoGerador,
                          "Gestor:",
                          "SECRETARIA MUNICIPAL DE SAUDE DE SAO PAULO  -  UF: 35  -  Cod Município: 355030",
                          "Arquivo:",
                          "2000016201203",
                          "Competência:",
                          "03/2012",
                          "Data/Hora:",
                          "Total de Registros Lidos no Arquivo :",
                          "Total de Internações Importadas :",
                          "Total de Atendimentos Ambulatoriais Individualizados Importados :",
                          "Total de Atendimentos Ambulatoriais Consolidados Importados :",
                          "Total de Atendimentos Inseridos:",
                          "Total Importado:",
                          "1.0.5.0",
                          "Assinatura:_________________________________",
                          "Data: ___/___/______"})
        EXPECT_NE(texto.find(espremido(t)), std::string::npos) << t << "\n" << texto;
    auto valorDe = [&](const std::string& legenda) {
        auto p = texto.find(legenda);
        if (p == std::string::npos) return std::string();
        p += legenda.size();
        while (p < texto.size() && texto[p] == ' ') ++p;
        auto f = texto.find_first_of(" \n", p);
        return texto.substr(p, f - p);
    };
    EXPECT_EQ(valorDe("Total Importado:"), "5");
    EXPECT_EQ(valorDe("Total de Registros Lidos no Arquivo :"), "5");
    EXPECT_EQ(valorDe("Total de Atendimentos Ambulatoriais Individualizados Importados :"), "1");
    EXPECT_EQ(valorDe("Total de Internações Importadas :"), "2");
    EXPECT_EQ(valorDe("Total de Atendimentos Ambulatoriais Consolidados Importados :"), "15");
    EXPECT_EQ(valorDe("Total de Atendimentos Inseridos:"), "18");
}

TEST_F(ImportaCli, SubstituirRespondeSimSemEleNao) {
    defineRelogio({});
    auto g = remessaCorreta();
    ASSERT_EQ(roda({"importar", "--competencia", "03/2012", zipa(g, kGeracao).string()}), 0) << erros();
    GeradorRemessa nova(kCnesGerador, kCmpt);
    nova.registro(InternacaoValida(kCmpt));
    auto zipNova = zipa(nova, kGeracao + 3600, "_nova");

    ASSERT_EQ(roda({"importar", "--competencia", "03/2012", zipNova.string()}), 0) << erros();
    EXPECT_NE(saida().find("   0 arquivo(s) criticado(s)"), std::string::npos) << saida();
    EXPECT_EQ(conta("tb_internacao"), 3);

    auto zipNova2 = zipa(nova, kGeracao + 7200, "_nova2");
    ASSERT_EQ(roda({"importar", "--competencia", "03/2012", "--substituir", zipNova2.string()}), 0)
        << erros();
    EXPECT_NE(saida().find("   1 arquivo(s) importado(s)"), std::string::npos) << saida();
    EXPECT_EQ(conta("tb_internacao"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '3'"), 1);
}

TEST_F(ImportaCli, UsoIncorretoECompetenciaRecusada) {
    EXPECT_EQ(roda({"importar", "x.ZIP"}), 2);
    EXPECT_EQ(roda({"importar", "--competencia", "03/2012"}), 2);
    EXPECT_EQ(roda({"importar", "--competencia", "00/2012", "x.ZIP"}), 1);
    EXPECT_NE(erros().find("Competência Inválida"), std::string::npos);
}

// A large run killed at random moments, then run to its end, leaves the same database as a run
// that was never stopped: each batch is wholly imported or untouched at every moment.
TEST_F(ImportaCli, ExecucaoInterrompidaEConcluidaIgualAUmaLimpa) {
    defineRelogio({});
    const int kEstabelecimentos = 24;
    const std::size_t kRegistros = 400;
    auto cnes = CadastraEstabelecimentos(db(), kEstabelecimentos);
    std::vector<std::string> args = {"importar", "--competencia", "03/2012"};
    for (const auto& c : cnes)
        args.push_back(zipa(RemessaSintetica(c, kCmpt, kRegistros), kGeracao).string());

    // The clean import, into a database of its own, timed to choose the moments of the kills.
    TestDatabase limpo;
    PreparaBancoImportacao(limpo.db(), trab_.path() / "trabLimpo");
    CadastraEstabelecimentos(limpo.db(), kEstabelecimentos);
    const fs::path pastaLimpa = trab_.path() / "cliLimpo";
    fs::create_directories(pastaLimpa);
    limpo.escreveVeltIni(pastaLimpa);
    limpo.db().detach();
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(espera(iniciaCli(pastaLimpa, args)), 0) << leArquivo(pastaLimpa / "erros.txt");
    const auto duracao =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();

    const unsigned semente = std::random_device{}();
    std::mt19937 rng(semente);
    SCOPED_TRACE("semente " + std::to_string(semente) + ", import limpo em " + std::to_string(duracao) +
                 " ms");
    fs::create_directories(pasta());
    banco_.escreveVeltIni(pasta());
    db().detach();
    for (int i = 0; i < 4; ++i) {
        std::uniform_int_distribution<long> quando(duracao / 10, duracao * 9 / 10);
        pid_t pid = iniciaCli(pasta(), args);
        std::this_thread::sleep_for(std::chrono::milliseconds(quando(rng)));
        kill(pid, SIGKILL);
        espera(pid);
    }
    ASSERT_EQ(espera(iniciaCli(pasta(), args)), 0) << erros();

    // Both databases hold the same rows; numbers and links included.
    const std::vector<std::string> consultas = {
        "select count(*) || '/' || coalesce(sum(nu_seq_id_internacao * 7 + nu_seq_id_paciente), 0) from "
        "tb_internacao",
        "select count(*) || '/' || coalesce(sum(nu_seq_id_paciente), 0) from tb_paciente",
        "select count(*) || '/' || coalesce(sum(cast(nu_quantidade as integer)), 0) from tb_a_consolidado",
        "select count(*) || '/' || count(distinct nu_remessa) from tb_estagio_remessa where nu_status = '1'",
        "select count(*) from tb_estagio_remessa where nu_status <> '1'",
        "select count(*) || '/' || min(nu_status) || max(nu_status) from tb_estagio_remessa_hosp",
        "select cast(list(campo || '=' || valor, ',') as varchar(100)) from (select * from tb_controle order "
        "by campo)",
        "select count(*) || '/' || sum(cast(qt_tot_at as integer)) || '/' || sum(cast(qt_reg_inseridos as "
        "integer)) "
        "from tb_remessa_estatistica",
        "select count(*) from tb_internacao i join tb_paciente p on p.nu_seq_id_paciente = "
        "i.nu_seq_id_paciente and "
        "p.nu_prontuario = i.nu_prontuario",
    };
    for (const auto& q : consultas) EXPECT_EQ(banco_.valor(q), limpo.valor(q)) << q;
    EXPECT_EQ(banco_.valor("select count(*) from tb_estagio_remessa"), std::to_string(kEstabelecimentos));
    EXPECT_EQ(banco_.valor("select count(*) from tb_internacao"),
              std::to_string(kEstabelecimentos * (kRegistros - kRegistros / 20)));
}

}  // namespace velt::test
