#pragma once
#include "reference/ui/TelaCargaReferencia.h"

namespace velt::ui {

// TFoImportaProcedimento "Importação Procedimentos": reloads the procedure tables from the five
// MERIDAL files of the chosen folder.
class TFoImportaProcedimento : public TelaCargaReferencia {
    Q_OBJECT
public:
    explicit TFoImportaProcedimento(QWidget* dono);
    // The folder chosen while the program runs, shared by every instance of this window.
    static QString& pastaLembrada();

protected:
    void executa() override;
};

}  // namespace velt::ui
