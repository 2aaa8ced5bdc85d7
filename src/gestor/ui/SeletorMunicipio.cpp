#include "gestor/ui/SeletorMunicipio.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include "app/common/Texto.h"
#include "gestor/ui/BotoesSeletor.h"

namespace velt::ui {

class ModeloMunicipios : public QAbstractTableModel {
public:
    ModeloMunicipios(const std::vector<Municipio>& m, QObject* pai) : QAbstractTableModel(pai), m_(m) {}
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : int(m_.size()); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& i, int role) const override {
        if (role != Qt::DisplayRole || !i.isValid()) return {};
        const Municipio& x = m_[std::size_t(i.row())];
        return deCp1252(i.column() == 0 ? x.codigo : x.nome);
    }
    QVariant headerData(int s, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(s, o, role);
        return s == 0 ? QString::fromUtf8("Código IBGE") : QString("Nome");
    }

private:
    const std::vector<Municipio>& m_;
};

TForm10::TForm10(std::vector<Municipio> municipios, QWidget* dono)
    : QWidget(dono, Qt::Window), municipios_(std::move(municipios)) {
    setObjectName("Form10");
    setWindowTitle(QString::fromUtf8("Tabela de Municípios"));
    auto* prompt =
        new QLabel(QString::fromUtf8("Digite as primeiras letras do nome que você está procurando"), this);
    prompt->setObjectName("Label1");
    busca_ = new QLineEdit(this);
    busca_->setObjectName("Edit1");
    grade_ = new QTableView(this);
    grade_->setObjectName("DBGrid1");
    grade_->setModel(new ModeloMunicipios(municipios_, this));
    grade_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade_->setSelectionMode(QAbstractItemView::SingleSelection);
    grade_->verticalHeader()->hide();
    grade_->horizontalHeader()->setStretchLastSection(true);
    grade_->setColumnWidth(0, 100);
    connect(grade_, &QTableView::doubleClicked, this, [this] { BitBtn1Click(); });
    // The search edit takes upper case only, as the names are stored.
    connect(busca_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t != t.toUpper()) {
            int cursor = busca_->cursorPosition();
            busca_->setText(t.toUpper());
            busca_->setCursorPosition(cursor);
            return;
        }
        Edit1Change(t);
    });

    auto* botoes = BotoesCopiarSair(this, [this] { BitBtn1Click(); });
    auto* l = new QVBoxLayout(this);
    l->addWidget(prompt);
    l->addWidget(busca_);
    l->addWidget(grade_);
    l->addLayout(botoes);
    resize(520, 560);
}

void TForm10::showEvent(QShowEvent* e) {
    // Opens on the first name, with the search edit empty and focused.
    QWidget::showEvent(e);
    QSignalBlocker b(busca_);
    busca_->clear();
    if (!municipios_.empty()) grade_->selectRow(0);
    busca_->setFocus();
}

void TForm10::Edit1Change(const QString& texto) {
    if (municipios_.empty()) return;
    int linha = int(MunicipioMaisProximo(municipios_, paraCp1252(texto)));
    grade_->selectRow(linha);
    grade_->scrollTo(grade_->model()->index(linha, 0), QAbstractItemView::PositionAtTop);
}

void TForm10::BitBtn1Click() {
    QModelIndex atual = grade_->currentIndex();
    if (atual.isValid()) emit copiado(deCp1252(municipios_[std::size_t(atual.row())].codigo));
    close();
}

}  // namespace velt::ui
