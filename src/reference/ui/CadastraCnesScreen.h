#pragma once
#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace velt::ui {

// TForm23 "Cadastra  CNES ": looks up, inserts, changes and deletes single establishments by
// hand. Only the CNES, the bed choice, "Consultar" and "Sair" show at first; the other controls
// appear as each step allows.
class TForm23 : public QWidget {
    Q_OBJECT
public:
    explicit TForm23(QWidget* dono);

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void SpeedButton2Click();  // Consultar
    void SpeedButton1Click();  // Inserir
    void SpeedButton3Click();  // Alterar
    void SpeedButton4Click();  // Excluir

    void mensagem(const QString& texto);
    void mostraCampos(bool visivel);
    void limpaCampos();
    void limpaEscolhaLeito();
    void voltaAoInicio();
    bool cnpjAceito();
    bool leitoUti() const;

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLabel* Label2;
    QLabel* Label3;
    QGroupBox* RadioGroup1;
    QRadioButton* sim_;
    QRadioButton* nao_;
    QButtonGroup* leito_;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton4;
    QPushButton* BitBtn3;
    QTableWidget* DBNEnv;
};

}  // namespace velt::ui
