// velt02-cli carregar procedimentos|cid|operadoras|alta --pasta PASTA, carregar municipios --arquivo ARQUIVO:
// the reference reloads of the import menu, same engines and messages as the screens.
#include <filesystem>

#include "cli/Carregar.h"
#include "data/DataModule.h"
#include "reference/ImportaArquivoUnico.h"
#include "reference/ImportaMunicipio.h"
#include "reference/ImportaProcedimento.h"

namespace velt::cli {
namespace {

std::string opcaoUnica(const std::vector<std::string>& args, const std::string& nome) {
    Opcoes op(args, {nome}, {});
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    return op.obrigatorio(nome);
}

int procedimentos(Contexto& ctx, const std::vector<std::string>& args) {
    auto pasta = opcaoUnica(args, "--pasta");
    ImportaProcedimento imp(ctx.dm().db(), ctx.driver);
    auto r = imp.executa(pasta);
    return r.situacao == ResultadoImportaProcedimento::Situacao::Concluida ? 0 : 1;
}

ExecutaCarga arquivoUnico(const MembroArquivoUnico& (*membro)()) {
    return [membro](Contexto& ctx, const std::vector<std::string>& args) {
        auto pasta = opcaoUnica(args, "--pasta");
        ImportaArquivoUnico imp(ctx.dm().db(), ctx.driver, membro());
        auto r = imp.executa(pasta);
        return r.situacao == ResultadoArquivoUnico::Situacao::Concluida ? 0 : 1;
    };
}

int municipios(Contexto& ctx, const std::vector<std::string>& args) {
    std::filesystem::path arquivo = opcaoUnica(args, "--arquivo");
    ImportaMunicipio imp(ctx.dm().db(), ctx.driver);
    return imp.executa(arquivo).concluida ? 0 : 1;
}

const bool registrados =
    registraCarga("procedimentos", "procedimentos --pasta PASTA   tabela de procedimentos (arquivos MERIDAL)",
                  procedimentos) &&
    registraCarga("cid", "cid --pasta PASTA             CID-10 (tb_cid.txt)", arquivoUnico(membroCid)) &&
    registraCarga("operadoras", "operadoras --pasta PASTA      operadoras (operadoras.txt)",
                  arquivoUnico(membroOperadora)) &&
    registraCarga("alta", "alta --pasta PASTA            motivos de alta (alta.txt)", arquivoUnico(membroAlta)) &&
    registraCarga("municipios", "municipios --arquivo ARQUIVO  municípios (código;nome;UF, com cabeçalho)",
                  municipios);

}  // namespace
}  // namespace velt::cli
