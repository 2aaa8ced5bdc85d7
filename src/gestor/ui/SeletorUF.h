#pragma once
#include <QWidget>

#include "common/Validacao.h"

class QTableWidget;

namespace velt::ui {

// TForm11 "Tabela de UF's": the states; "Copiar" (or a double click) hands the chosen state's
// IBGE code to the manager screen. Widgets: DBGrid1, BitBtn1 "Copiar", BitBtn2 "Sair".
class TForm11 : public QWidget {
    Q_OBJECT
public:
    TForm11(const TabelaUF& tabela, QWidget* dono);

signals:
    void copiado(const QString& codigoUF);

private:
    void BitBtn1Click();
    QTableWidget* grade_;
};

}  // namespace velt::ui
