#pragma once

namespace velt::ui {

class MenuPrincipal;

// Hooks every subsystem's screens into the main menu; an entry without a screen stays disabled.
void registraTelas(MenuPrincipal& menu);

}  // namespace velt::ui
