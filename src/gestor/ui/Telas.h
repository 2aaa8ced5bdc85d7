#pragma once

namespace velt::ui {

class MenuPrincipal;

// Hooks "&Gestor" to the manager screen and installs the manager check of the guarded commands.
void registraTelasGestor(MenuPrincipal& menu);

}  // namespace velt::ui
