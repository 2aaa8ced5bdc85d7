#pragma once

namespace velt::ui {

class MenuPrincipal;

// "&Backup do Banco" and "&Restore do Banco" (and their tool-bar buttons).
void registraTelasManutencao(MenuPrincipal& menu);

}  // namespace velt::ui
