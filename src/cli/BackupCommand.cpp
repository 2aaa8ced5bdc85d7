#include <filesystem>
#include <iostream>

#include "cli/Comando.h"
#include "data/VeltIni.h"
#include "maintenance/BackupRestore.h"

namespace velt::cli {
namespace {

// The service's progress lines, as the screens' log shows them.
void linhaDoLog(std::string_view linha) { std::cout << linha << "\n"; }

// Both work on the database file itself, so they need only the credentials of velt.ini and no
// connection of their own.
int backup(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--pasta"}, {});
    const std::string pasta = op.obrigatorio("--pasta");
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    ConnectionParams conexao = LeVeltIni(std::filesystem::current_path());
    auto r = BackupBanco(conexao, ctx.driver, conexao.local, pasta, linhaDoLog);
    std::cout.flush();
    return r.sucesso ? 0 : 1;
}

int restaurar(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--backup", "--banco"}, {});
    const std::string arquivo = op.obrigatorio("--backup");
    const std::string banco = op.obrigatorio("--banco");
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    ConnectionParams conexao = LeVeltIni(std::filesystem::current_path());
    auto r = RestauraBanco(conexao, ctx.driver, arquivo, banco, linhaDoLog);
    std::cout.flush();
    return r.sucesso ? 0 : 1;
}

const bool r1 = registra({"backup", "backup --pasta PASTA                  copia o banco de velt.ini para PASTA/Backup.gbk",
                          false, backup});
const bool r2 = registra({"restaurar",
                          "restaurar --backup ARQUIVO --banco ARQUIVO   cria ou substitui um banco a partir de um backup",
                          false, restaurar});

}  // namespace
}  // namespace velt::cli
