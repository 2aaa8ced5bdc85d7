#include <filesystem>
#include <iostream>

#include "cli/Comando.h"
#include "common/Cp1252.h"
#include "data/DataModule.h"
#include "gestor/Gestor.h"

namespace velt::cli {
namespace {

void imprime(const Gestor& g) {
    std::cout << "Nome: " << cp1252::toUtf8(g.identificacao) << "\n"
              << "UF: " << cp1252::toUtf8(g.uf) << "\n"
              << "Código IBGE do Município: " << cp1252::toUtf8(g.codmunic) << "\n"
              << "É gestor Estadual: " << (g.ehEstadual() ? "Sim" : "Não") << "\n"
              << "Diretório de Trabalho: " << cp1252::toUtf8(g.dirtrab) << std::endl;
}

// Without options: shows the record and answers, like the menu's guard, whether it is complete.
// With options: the same checks and messages as the manager screen's "Atualizar".
int gestor(Contexto& ctx, const std::vector<std::string>& args) {
    Opcoes op(args, {"--nome", "--uf", "--municipio", "--diretorio"}, {"--estadual"});
    if (!op.posicionais().empty()) throw UsoIncorreto("argumento inesperado: " + op.posicionais().front());
    Database& db = ctx.dm().db();
    if (op.vazio()) {
        if (auto g = LeGestor(db)) imprime(*g);
        return VerificaGestor(db, ctx.driver) ? 0 : 1;
    }
    Gestor dados;
    dados.identificacao = cp1252::fromUtf8(op.obrigatorio("--nome"));
    dados.uf = cp1252::fromUtf8(op.obrigatorio("--uf"));
    dados.codmunic = cp1252::fromUtf8(op.valor("--municipio").value_or(""));
    dados.estadual = op.chave("--estadual") ? "1" : "2";
    std::string diretorio = op.obrigatorio("--diretorio");
    // The folder picker always gives a full path; a relative one would depend on where the
    // program happens to start.
    if (!diretorio.empty()) diretorio = std::filesystem::absolute(diretorio).lexically_normal().string();
    if (diretorio.size() > 1 && diretorio.back() == '/') diretorio.pop_back();
    dados.dirtrab = cp1252::fromUtf8(diretorio);
    auto gravado = AtualizaGestor(db, dados, ctx.driver);
    if (!gravado) return 1;
    imprime(*gravado);
    return 0;
}

const bool registrado =
    registra({"gestor",
              "gestor [--nome TEXTO --uf NN [--municipio NNNNNN] [--estadual] --diretorio PASTA]  "
              "mostra ou grava os dados do gestor",
              true, gestor});

}  // namespace
}  // namespace velt::cli
