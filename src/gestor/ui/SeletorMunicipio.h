#pragma once
#include <QWidget>
#include <vector>

#include "gestor/Municipios.h"

class QLineEdit;
class QTableView;

namespace velt::ui {

class ModeloMunicipios;

// TForm10 "Tabela de Municípios": every municipality ordered by name; typing in the search edit
// (upper case) moves to the nearest name. "Copiar" (or a double click) hands the current row's
// IBGE code to the manager screen. Widgets: Label1, Edit1, DBGrid1, BitBtn1 "Copiar", BitBtn2 "Sair".
class TForm10 : public QWidget {
    Q_OBJECT
public:
    TForm10(std::vector<Municipio> municipios, QWidget* dono);

signals:
    void copiado(const QString& codigoMunicipio);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Edit1Change(const QString& texto);
    void BitBtn1Click();
    std::vector<Municipio> municipios_;
    QLineEdit* busca_;
    QTableView* grade_;
};

}  // namespace velt::ui
