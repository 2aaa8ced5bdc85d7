#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace velt::ui {

// "Gerar Excel a partir do Arquivo .VLT": the workbook of an existing transmission file, saved
// beside it.
class TFrmGerarExcel : public QDialog {
    Q_OBJECT
public:
    explicit TFrmGerarExcel(QWidget* pai);

    QLineEdit* FeRestaurar;
    QPushButton* BtnProcura;
    QPushButton* Button1;
    QPushButton* BitBtn2;

    void Button1Click();
};

}  // namespace velt::ui
