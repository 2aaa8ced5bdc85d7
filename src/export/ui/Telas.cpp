#include "export/ui/Telas.h"

#include "app/common/Contexto.h"
#include "export/ui/CompactacaoScreen.h"
#include "export/ui/GerarExcelScreen.h"
#include "gestor/ui/JanelaDependente.h"

namespace velt::ui {

void registraTelasExportacao(MenuPrincipal& menu) {
    // The main window stays disabled while the compaction screen is open.
    menu.defineAcao("mnuCompactacao", [&menu] { mostraDesabilitandoDono(menu.janela(), new TForm3(menu.janela())); });
    menu.defineAcao("mnuRelExcel", [&menu] {
        auto* tela = new TFrmGerarExcel(menu.janela());
        tela->setAttribute(Qt::WA_DeleteOnClose);
        tela->open();
    });
}

}  // namespace velt::ui
