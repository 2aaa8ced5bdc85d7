#pragma once

namespace velt::ui {

class MenuPrincipal;

// "&Compactação" (and its tool-bar button) and "Gerar Arquivo Excel a partir do .VLT".
void registraTelasExportacao(MenuPrincipal& menu);

}  // namespace velt::ui
