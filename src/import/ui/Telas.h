#pragma once

namespace velt::ui {

class MenuPrincipal;

// Hooks the batch import screens into the main menu.
void registraTelasImportacao(MenuPrincipal& menu);

}  // namespace velt::ui
