#include "maintenance/ui/Telas.h"

#include "app/common/Contexto.h"
#include "maintenance/ui/BackupScreens.h"

namespace velt::ui {

void registraTelasManutencao(MenuPrincipal& menu) {
    menu.defineAcao("mnuManBackup", [&menu] { (new TForm18(menu.janela()))->show(); });
    menu.defineAcao("mnuManRestore", [&menu] { (new TFrm_Restore(menu.janela()))->show(); });
}

}  // namespace velt::ui
