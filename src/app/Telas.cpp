#include "app/Telas.h"

#include "app/common/Contexto.h"

namespace velt::ui {

void registraTelas(MenuPrincipal& menu) {
    // Each subsystem adds its registration call here as its screens are built.
    (void)menu;
}

}  // namespace velt::ui
