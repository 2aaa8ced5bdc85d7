#include "reference/ui/ImportaProcedimentoScreen.h"

#include <QPushButton>

#include "app/common/Contexto.h"
#include "reference/ImportaProcedimento.h"

namespace velt::ui {

QString& TFoImportaProcedimento::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TFoImportaProcedimento::TFoImportaProcedimento(QWidget* dono)
    : TelaCargaReferencia(dono, "FoImportaProcedimento", "Importação Procedimentos",
                          "Diretório (Pasta dos arquivos MERIDAL)", pastaLembrada()) {}

void TFoImportaProcedimento::executa() {
    DriverTela driver(this, Progresso);
    ImportaProcedimento imp(banco(), driver);
    imp.aoMudarMemo = [this](const std::vector<std::string>& l) { mostraMemo(l); };
    auto r = imp.executa(pasta());
    // A failing delete leaves both buttons off; "Importar" comes back only with a new window.
    if (r.situacao != ResultadoImportaProcedimento::Situacao::FalhaNaLimpeza) BtnFechar->setEnabled(true);
}

}  // namespace velt::ui
