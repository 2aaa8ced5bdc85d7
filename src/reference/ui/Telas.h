#pragma once

namespace velt::ui {

class MenuPrincipal;

// Reference-table reloads: procedures, CID-10, operators, discharge reasons, municipalities.
void registraTelasReferencia(MenuPrincipal& menu);
// Establishment registry, valid and adhering establishment lists, manual establishment entry.
void registraTelasCadastro(MenuPrincipal& menu);

}  // namespace velt::ui
