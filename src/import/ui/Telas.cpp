#include "import/ui/Telas.h"

#include "app/common/Contexto.h"
#include "import/ui/ImportaRemessaScreen.h"

namespace velt::ui {

void registraTelasImportacao(MenuPrincipal& menu) {
    menu.defineAcao("mnuImpEstabelecimento", [&menu] {
        auto* tela = new TForm2(menu.janela());
        tela->show();
    });
}

}  // namespace velt::ui
