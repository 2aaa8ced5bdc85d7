#include "app/common/Contexto.h"
#include "reference/ui/CadastraCnesScreen.h"
#include "reference/ui/ImportaCnesAdesaoScreen.h"
#include "reference/ui/ImportaCnesValidosScreen.h"
#include "reference/ui/ImportaFcesScreen.h"
#include "reference/ui/Telas.h"

namespace velt::ui {

namespace {
// A fresh non-modal window each time its entry is chosen.
template <class Tela>
void abreJanela(MenuPrincipal& menu) {
    auto* tela = new Tela(menu.janela());
    tela->show();
}

// The adherence import opens modally over the main window, with its colours.
void abreAdesao(MenuPrincipal& menu) {
    QWidget* principal = menu.janela();
    TfrmCnesAdesao tela(principal);
    tela.aplicaCores(menu.corFormulario(), menu.corPainel());
    if (principal) {
        const QRect g = principal->geometry();
        tela.setGeometry(g.left() + 6, g.top() + 52, g.width(), g.height() - 20);
    }
    tela.exec();
}
}  // namespace

void registraTelasCadastro(MenuPrincipal& menu) {
    menu.defineAcao("mnuImpCnesLocal", [&menu] { abreJanela<TFoImportaFces>(menu); });
    menu.defineAcao("mnuImpCnesValidos", [&menu] { abreJanela<TFrmImportacaoCNESValidos>(menu); });
    menu.defineAcao("mnuImpCnesAdesao", [&menu] { abreAdesao(menu); });
    menu.defineAcao("mnuManInsereCnes", [&menu] { abreJanela<TForm23>(menu); });
}

}  // namespace velt::ui
