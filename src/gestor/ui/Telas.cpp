#include "gestor/ui/Telas.h"

#include <exception>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "gestor/Gestor.h"
#include "gestor/ui/GestorScreen.h"

namespace velt::ui {

void registraTelasGestor(MenuPrincipal& menu) {
    menu.defineAcao("mnuGestor", [&menu] { TForm7::abre(banco(), menu.janela()); });
    defineGuarda([](QWidget* pai) {
        QtDriver driver(pai);
        try {
            return VerificaGestor(banco(), driver);
        } catch (const std::exception& e) {
            // No database, no manager: the command stays closed and the failure is shown.
            mostraCaixa(pai, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
            return false;
        }
    });
}

}  // namespace velt::ui
