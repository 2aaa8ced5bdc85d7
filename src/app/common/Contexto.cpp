#include "app/common/Contexto.h"

#include "data/DataModule.h"

namespace velt::ui {
namespace {
TDM* dmAtual = nullptr;
std::function<bool(QWidget*)>& guardaAtual() {
    static std::function<bool(QWidget*)> g;
    return g;
}
}  // namespace

void defineDataModule(TDM* dm) { dmAtual = dm; }

TDM& dataModule() {
    if (!dmAtual) throw DatabaseError("Sem conexão com o banco de dados (velt.ini)");
    return *dmAtual;
}

Database& banco() { return dataModule().db(); }

void defineGuarda(std::function<bool(QWidget*)> guarda) { guardaAtual() = std::move(guarda); }

bool passaGuarda(QWidget* pai) { return !guardaAtual() || guardaAtual()(pai); }

}  // namespace velt::ui
