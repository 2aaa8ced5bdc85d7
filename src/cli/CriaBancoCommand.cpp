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
    CriaBanco(params);
    std::cerr << "Banco de dados criado: " << params.local << std::endl;
    return 0;
}

const bool registrado = registra({"criar-banco", "criar-banco                 cria o banco de dados que velt.ini indica",
                                  false, criaBanco});

}  // namespace
}  // namespace velt::cli
