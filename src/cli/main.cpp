// velt02-cli: the engines of VELT02 from the command line, for scripts and batch work.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/Comando.h"
#include "data/DataModule.h"

using namespace velt;

namespace {

void ajuda() {
    std::cout << "velt02-cli: comandos do VELT02 pela linha de comando (lê velt.ini da pasta corrente)\n\n"
                 "uso: velt02-cli COMANDO [opções]\n\n";
    for (const auto& [nome, c] : cli::comandos()) std::cout << "  " << c.uso << "\n";
    std::cout << "\nsaída: 0 comando executado até o fim, 1 interrompido por erro, 2 uso incorreto\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "ajuda") {
        ajuda();
        return args.empty() ? 2 : 0;
    }
    auto it = cli::comandos().find(args[0]);
    if (it == cli::comandos().end()) {
        std::cerr << "comando desconhecido: " << args[0] << " (velt02-cli --help)" << std::endl;
        return 2;
    }
    cli::CliDriver driver;
    std::unique_ptr<TDM> dm;
    cli::Contexto ctx{driver, [&]() -> TDM& {
                          if (!dm) {
                              dm = std::make_unique<TDM>(std::filesystem::current_path());
                              if (!dm->DataModuleCreate(driver) && !dm->conectado()) throw std::runtime_error("");
                          }
                          return *dm;
                      }};
    try {
        if (it->second.precisaBanco) ctx.dm();
        std::vector<std::string> resto(args.begin() + 1, args.end());
        return it->second.executa(ctx, resto);
    } catch (const cli::UsoIncorreto& e) {
        std::cerr << e.what() << "\nuso: velt02-cli " << it->second.uso << std::endl;
        return 2;
    } catch (const std::exception& e) {
        if (*e.what()) std::cerr << e.what() << std::endl;
        return 1;
    }
}
