#include <iostream>
#include <map>

#include "cli/Carregar.h"

namespace velt::cli {
namespace {

struct Carga {
    std::string uso;
    ExecutaCarga executa;
};

// Function-local so kinds registered from other files' static initialisers find it built.
std::map<std::string, Carga>& cargas() {
    static std::map<std::string, Carga> c;
    return c;
}

std::string tipos() {
    std::string t;
    for (const auto& [nome, c] : cargas()) t += (t.empty() ? "" : "|") + nome;
    return t;
}

int carregar(Contexto& ctx, const std::vector<std::string>& args) {
    if (args.empty()) throw UsoIncorreto("falta o tipo de tabela: " + tipos());
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << "uso: velt02-cli carregar TIPO [opções]\n";
        for (const auto& [nome, c] : cargas()) std::cout << "  carregar " << c.uso << "\n";
        return 0;
    }
    auto it = cargas().find(args[0]);
    if (it == cargas().end()) throw UsoIncorreto("tipo de tabela desconhecido: " + args[0] + " (" + tipos() + ")");
    ctx.dm();
    return it->second.executa(ctx, std::vector<std::string>(args.begin() + 1, args.end()));
}

const bool registrado =
    registra({"carregar", "carregar TIPO [opções]      recarrega uma tabela de referência (carregar --help)",
              false, carregar});

}  // namespace

bool registraCarga(std::string tipo, std::string uso, ExecutaCarga executa) {
    cargas()[tipo] = Carga{std::move(uso), std::move(executa)};
    return true;
}

}  // namespace velt::cli
