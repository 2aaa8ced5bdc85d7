#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/Comando.h"
#include "data/DataModule.h"
#include "import/ImportaRemessa.h"
#include "import/ui/ProtocoloRelatorio.h"

namespace velt::cli {
namespace {

// The protocol's PDF needs Qt's fonts and painter; the command line has no windows, so the
// offscreen platform serves wherever it runs.
void garanteAplicacaoGrafica() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "velt02-cli";
    static char* argv[] = {nome, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

int importar(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--competencia"}, {"--substituir"});
    const std::string texto = op.obrigatorio("--competencia");
    if (op.posicionais().empty()) throw UsoIncorreto("informe ao menos um arquivo .ZIP");

    std::string competencia = CompetenciaLocalizar(texto);
    if (competencia.empty()) {
        ctx.driver.erro("Competência Inválida");
        return 1;
    }
    garanteAplicacaoGrafica();
    ui::EmissorProtocoloQt emissor(nullptr, false);

    OpcoesImportacao o;
    o.textoCompetencia = texto;
    o.competencia = competencia;
    for (const auto& a : op.posicionais()) o.arquivos.push_back(std::filesystem::absolute(a));
    const bool substituir = op.chave("--substituir");
    o.perguntaSubstituicao = [substituir](const std::string& arquivo) {
        std::cerr << "Esta remessa já se encontra carregada na base de dados: " << arquivo
                  << " - substituir: " << (substituir ? "SIM" : "NÃO") << std::endl;
        DefineRespostaSubstituicaoRemessa(substituir);
    };
    o.protocolo = &emissor;

    ResultadoImportacao r = ImportaRemessas(ctx.dm().db(), ctx.driver, o);
    if (!r.concluida) return 1;
    // In the dialog's order: the notification files (Label9) stand above the error files (Label8).
    const auto linhas = LinhasResumo(r.contadores);
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 6, 8, 7}) std::cout << linhas[i] << "\n";
    std::cout.flush();
    return 0;
}

const bool registrado = registra(
    {"importar",
     "importar --competencia MM/AAAA [--substituir] ARQUIVO.ZIP...   importa remessas de estabelecimentos",
     true, importar});

}  // namespace
}  // namespace velt::cli
