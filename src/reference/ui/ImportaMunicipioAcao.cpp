#include "reference/ui/ImportaMunicipioAcao.h"

#include <filesystem>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "reference/ImportaMunicipio.h"
#include "reference/ui/DialogosReferencia.h"

namespace velt::ui {

void importaMunicipios(QWidget* pai) {
    QString arquivo = escolheArquivo(pai);
    if (arquivo.isEmpty()) return;
    QtDriver driver(pai);
    try {
        ImportaMunicipio(banco(), driver).executa(std::filesystem::path(arquivo.toStdString()));
    } catch (const std::exception& e) {
        mostraCaixa(pai, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
}

}  // namespace velt::ui
