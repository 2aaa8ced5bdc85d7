#include "app/Telas.h"

#include "app/common/Contexto.h"
#include "export/ui/Telas.h"
#include "gestor/ui/Telas.h"
#include "import/ui/Telas.h"
#include "maintenance/ui/Telas.h"
#include "reference/ui/Telas.h"

namespace velt::ui {

void registraTelas(MenuPrincipal& menu) {
    // Each subsystem adds its registration call here as its screens are built.
    (void)menu;
    registraTelasGestor(menu);
    registraTelasImportacao(menu);
    registraTelasExportacao(menu);
    registraTelasManutencao(menu);
    registraTelasReferencia(menu);
    registraTelasCadastro(menu);
}

}  // namespace velt::ui
