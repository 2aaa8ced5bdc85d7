// velt02-cli carregar estabelecimentos --pasta PASTA [--obrigatorios],
// carregar cnes-validos --pasta PASTA --competencia MM/AAAA, carregar cnes-adesao --arquivo ARQUIVO:
// the establishment lists of the import menu, same engines and messages as the screens.
#include <filesystem>

#include "cli/Carregar.h"
#include "data/DataModule.h"
#include "reference/ImportaCnesAdesao.h"
#include "reference/ImportaCnesValidos.h"
#include "reference/ImportaFces.h"

namespace velt::cli {
namespace {

void semPosicionais(const Opcoes& op) {
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
}

int estabelecimentos(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--pasta"}, {"--obrigatorios"});
    semPosicionais(op);
    std::filesystem::path pasta = op.obrigatorio("--pasta");
    ImportaFces imp(ctx.dm().db(), ctx.driver);
    auto r = imp.executa(
        pasta, op.chave("--obrigatorios") ? FiltroFces::ApresentacaoObrigatoria : FiltroFces::Todos);
    return r.situacao == ResultadoImportaFces::Situacao::Concluida ? 0 : 1;
}

int cnesValidos(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--pasta", "--competencia"}, {});
    semPosicionais(op);
    std::filesystem::path pasta = op.obrigatorio("--pasta");
    std::string competencia = op.obrigatorio("--competencia");
    ImportaCnesValidos imp(ctx.dm().db(), ctx.driver);
    return imp.executa(pasta, competencia).situacao == ResultadoCnesValidos::Situacao::Concluida ? 0 : 1;
}

int cnesAdesao(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--arquivo"}, {});
    semPosicionais(op);
    std::filesystem::path arquivo = op.obrigatorio("--arquivo");
    ImportaCnesAdesao imp(ctx.dm().db(), ctx.driver);
    return imp.executa(arquivo).concluida ? 0 : 1;
}

const bool registrados =
    registraCarga(
        "estabelecimentos",
        "estabelecimentos --pasta PASTA [--obrigatorios]  cadastro de estabelecimentos (lfces002/004/006)",
        estabelecimentos) &&
    registraCarga("cnes-validos",
                  "cnes-validos --pasta PASTA --competencia MM/AAAA  CNES válidos (CNESVAL.txt)",
                  cnesValidos) &&
    registraCarga("cnes-adesao", "cnes-adesao --arquivo ARQUIVO  adesão de CNES (TERMOSADESAOCNES.txt)",
                  cnesAdesao);

}  // namespace
}  // namespace velt::cli
