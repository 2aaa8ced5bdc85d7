#pragma once
#include <QDialog>

#include "import/ImportaRemessa.h"

namespace velt::ui {

// The summary of an establishment import run: nine labels and "OK".
class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    TOKBottomDlg(QWidget* pai, const ContadoresImportacao& contadores);
};

}  // namespace velt::ui
