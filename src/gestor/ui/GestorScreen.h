#pragma once
#include <QWidget>

#include "common/Validacao.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace velt {
class Database;
}

namespace velt::ui {

// TForm7 "Gestor": the manager's single record. While it is open the main window is disabled.
// Widgets: Edit1 "Nome", Edit2 "UF" with SpeedButton1 (state picker), Label3 and Edit3
// "Código IBGE do Município" with SpeedButton2 (municipality picker), CheckBox1 "É gestor
// Estadual", Edit4 "Diretório de Trabalho" (read-only) with BitBtn3 "Localizar", BitBtn1
// "Atualizar", BitBtn2 "Sair".
class TForm7 : public QWidget {
    Q_OBJECT
public:
    // Creates the screen over the record, disables `principal` and shows the screen beside it.
    static TForm7* abre(Database& db, QWidget* principal);

    TForm7(Database& db, QWidget* principal);

private:
    void FormShow();
    void CheckBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn3Click();
    void BitBtn1Click();

    Database& db_;
    TabelaUF tabelaUF_;
    QLineEdit* nome_;
    QLineEdit* uf_;
    QLabel* rotuloMunicipio_;
    QLineEdit* municipio_;
    QToolButton* botaoUF_;
    QToolButton* botaoMunicipio_;
    QCheckBox* estadual_;
    QLineEdit* diretorio_;
};

}  // namespace velt::ui
