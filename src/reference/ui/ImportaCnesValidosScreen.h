#pragma once
#include <QWidget>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace velt::ui {

// TFrmImportacaoCNESValidos "Importação dos CNES Válidos": reloads TB_CNES for the typed
// competência from CNESVAL.txt of the chosen folder.
class TFrmImportacaoCNESValidos : public QWidget {
    Q_OBJECT
public:
    explicit TFrmImportacaoCNESValidos(QWidget* dono);
    static QString& pastaLembrada();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void SpeedButton3Click();
    void BitBtn5Click();

    QLineEdit* MaskEdit3;
    QLineEdit* ed_Arquivo;
    QProgressBar* Progresso;
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
};

}  // namespace velt::ui
