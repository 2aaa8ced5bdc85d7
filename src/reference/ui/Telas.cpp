#include "reference/ui/Telas.h"

#include "app/common/Contexto.h"
#include "reference/ui/ImportaArquivoUnicoScreen.h"
#include "reference/ui/ImportaMunicipioAcao.h"
#include "reference/ui/ImportaProcedimentoScreen.h"

namespace velt::ui {

namespace {
// A fresh non-modal window each time its entry is chosen.
template <class Tela>
void abre(MenuPrincipal& menu) {
    auto* tela = new Tela(menu.janela());
    tela->show();
}
}  // namespace

void registraTelasReferencia(MenuPrincipal& menu) {
    menu.defineAcao("mnuImpProcedimentos", [&menu] { abre<TFoImportaProcedimento>(menu); });
    menu.defineAcao("mnuImpCid", [&menu] { abre<TForm33>(menu); });
    menu.defineAcao("mnuImpOperadoras", [&menu] { abre<TFoImportaOperadora>(menu); });
    menu.defineAcao("mnuImpAlta", [&menu] { abre<TFoImportaAlta>(menu); });
    menu.defineAcao("mnuImpMunicipios", [&menu] { importaMunicipios(menu.janela()); });
}

}  // namespace velt::ui
