#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace velt::ui {

// The replacement question of the establishment import: "SIM" sets the program-wide answer to
// SIM, "NÃO" (or Esc) to NÃO; closing it through its frame leaves the answer as it was.
class TDlgRemessa : public QDialog {
    Q_OBJECT
public:
    TDlgRemessa(QWidget* pai, const QString& arquivoVlt);
    void reject() override;  // the frame's close: no answer

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLineEdit* edit1_;
    QPushButton* sim_;
    QPushButton* nao_;
};

}  // namespace velt::ui
