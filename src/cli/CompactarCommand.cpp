#include <iostream>

#include "cli/Comando.h"
#include "data/DataModule.h"
#include "export/Compactacao.h"
#include "gestor/Gestor.h"

namespace velt::cli {
namespace {

int compactar(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--competencia"}, {"--planilha", "--sobrepor"});
    const std::string competencia = op.obrigatorio("--competencia");
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    Database& db = ctx.dm().db();
    if (!VerificaGestor(db, ctx.driver)) return 1;
    // The two overwrite questions (transmission file, archive) get the same answer.
    ctx.driver.respostaPadrao(op.chave("--sobrepor"));

    Compactacao c(db, ctx.driver);
    ResultadoCompactacao r = c.executa(competencia, op.chave("--planilha"));
    using Fim = ResultadoCompactacao::Fim;
    bool ok = r.fim == Fim::Concluida || r.fim == Fim::ZipMantido;
    if (r.zipado) std::cout << r.arquivoTransmissao.string() << "\n" << r.arquivoZip.string() << "\n";
    if (r.planilhaSalva) std::cout << r.planilha.string() << "\n";
    if (r.backup) {
        const ResultadoBackup& b = r.backup->espera();
        if (b.sucesso) {
            std::cout << b.arquivo << "\n";
        } else {
            ctx.driver.erro("Falha no Backup da base (" + b.arquivo + "): " + b.erro);
            ok = false;
        }
    }
    std::cout.flush();
    return ok && ctx.driver.erros() == 0 ? 0 : 1;
}

const bool registrado = registra(
    {"compactar",
     "compactar --competencia MM/AAAA [--planilha] [--sobrepor]   gera, compacta e carimba o arquivo de transmissão",
     true, compactar});

}  // namespace
}  // namespace velt::cli
