#pragma once
#include "reference/ui/TelaCargaReferencia.h"

class QButtonGroup;

namespace velt::ui {

// TFoImportaFces "Importação Cadastro de Estabelecimentos": rebuilds the establishment registry
// from lfces002/004/006 of the chosen folder, with the filter of "[ Filtro de Importação ]".
class TFoImportaFces : public TelaCargaReferencia {
    Q_OBJECT
public:
    explicit TFoImportaFces(QWidget* dono);
    // The folder chosen while the program runs, shared by every instance of this window.
    static QString& pastaLembrada();

protected:
    void executa() override;

private:
    QButtonGroup* filtro_;
};

}  // namespace velt::ui
