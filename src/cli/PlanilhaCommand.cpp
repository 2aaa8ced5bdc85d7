#include <iostream>

#include "cli/Comando.h"
#include "export/PlanilhaDoArquivo.h"

namespace velt::cli {
namespace {

int planilha(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {}, {});
    if (op.posicionais().size() != 1) throw UsoIncorreto("informe um arquivo .VLT");
    auto r = GeraPlanilhaDoArquivo(op.posicionais().front(), ctx.driver);
    if (!r.gerada) return 1;
    std::cout << r.planilha.string() << std::endl;
    return 0;
}

const bool registrado = registra({"planilha",
                                  "planilha ARQUIVO.VLT                 gera a planilha (.xlsx) de um arquivo de transmissão",
                                  false, planilha});

}  // namespace
}  // namespace velt::cli
