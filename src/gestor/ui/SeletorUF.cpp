#include "gestor/ui/SeletorUF.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/common/Texto.h"
#include "gestor/ui/BotoesSeletor.h"

namespace velt::ui {

TForm11::TForm11(const TabelaUF& tabela, QWidget* dono) : QWidget(dono, Qt::Window) {
    setObjectName("Form11");
    setWindowTitle("Tabela de UF's");
    grade_ = new QTableWidget(int(tabela.size()), 3, this);
    grade_->setObjectName("DBGrid1");
    grade_->setHorizontalHeaderLabels({"ESTADO", "SIGLA DA UF", QString::fromUtf8("CÓDIGO IBGE")});
    grade_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade_->setSelectionMode(QAbstractItemView::SingleSelection);
    grade_->verticalHeader()->hide();
    for (int i = 0; i < int(tabela.size()); ++i) {
        grade_->setItem(i, 0, new QTableWidgetItem(deCp1252(tabela[std::size_t(i)].Estado)));
        grade_->setItem(i, 1, new QTableWidgetItem(deCp1252(tabela[std::size_t(i)].Sigla)));
        grade_->setItem(i, 2, new QTableWidgetItem(deCp1252(tabela[std::size_t(i)].Codigo)));
    }
    grade_->resizeColumnsToContents();
    if (!tabela.empty()) grade_->selectRow(0);
    connect(grade_, &QTableWidget::cellDoubleClicked, this, [this] { BitBtn1Click(); });

    auto* botoes = BotoesCopiarSair(this, [this] { BitBtn1Click(); });
    auto* l = new QVBoxLayout(this);
    l->addWidget(grade_);
    l->addLayout(botoes);
    resize(460, 520);
}

void TForm11::BitBtn1Click() {
    int linha = grade_->currentRow();
    if (linha >= 0 && grade_->item(linha, 2)) emit copiado(grade_->item(linha, 2)->text());
    close();
}

}  // namespace velt::ui
