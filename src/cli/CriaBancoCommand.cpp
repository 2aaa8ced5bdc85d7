#include <filesystem>
#include <iostream>

#include "cli/Comando.h"
#include "data/DataModule.h"
#include "data/VeltIni.h"

namespace velt::cli {
namespace {

int criaBanco(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {}, {});
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    ConnectionParams params = LeVeltIni(std::filesystem::current_path());
    // Asked for explicitly, the database's folder is made too (the program's start-up only
    // creates a database in a folder that exists).
    std::filesystem::path pasta = std::filesystem::path(params.local).parent_path();
    if (!params.remoto() && !pasta.empty()) std::filesystem::create_directories(pasta);
    CriaBanco(params);
    std::cerr << "Banco de dados criado: " << params.local << std::endl;
    return 0;
}

const bool registrado = registra({"criar-banco", "criar-banco                 cria o banco de dados que velt.ini indica",
                                  false, criaBanco});

}  // namespace
}  // namespace velt::cli
