#include "app/common/OrdenaGrade.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QTableView>

namespace velt::ui {

OrdenaGrade* OrdenaGrade::instala(QTableView* grade, QAbstractItemModel* modelo, QSet<int> ignoradas) {
    auto* o = new OrdenaGrade(grade, std::move(ignoradas));
    o->setSourceModel(modelo);
    grade->setSortingEnabled(false);  // clicks are ours: the header must not sort on its own
    grade->setModel(o);
    grade->horizontalHeader()->setSectionsClickable(true);
    grade->horizontalHeader()->setSortIndicatorShown(false);
    connect(grade->horizontalHeader(), &QHeaderView::sectionClicked, o,
            [o](int secao) { o->OrdenaGradePorColuna(secao); });
    return o;
}

OrdenaGrade::OrdenaGrade(QTableView* grade, QSet<int> ignoradas)
    : QSortFilterProxyModel(grade), ignoradas_(std::move(ignoradas)) {
    setSortRole(Qt::EditRole);
    setDynamicSortFilter(false);
}

void OrdenaGrade::OrdenaGradePorColuna(int coluna) {
    if (!sourceModel() || coluna < 0 || coluna >= sourceModel()->columnCount() || ignoradas_.contains(coluna))
        return;
    Qt::SortOrder ordem;
    if (!ordens_.contains(coluna))
        ordem = Qt::AscendingOrder;  // never sorted: ascending first
    else if (coluna == atual_)
        ordem = ordens_[coluna] == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        ordem = ordens_[coluna];  // sorted before: its last direction comes back
    ordens_[coluna] = ordem;
    int anterior = atual_;
    atual_ = coluna;
    sort(coluna, ordem);
    if (anterior >= 0 && anterior != coluna) emit headerDataChanged(Qt::Horizontal, anterior, anterior);
    emit headerDataChanged(Qt::Horizontal, coluna, coluna);
}

QVariant OrdenaGrade::headerData(int secao, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal) {
        bool marcada = secao == atual_;
        if (role == Qt::FontRole) {
            QFont f;
            f.setBold(marcada);
            return f;
        }
        if (role == Qt::BackgroundRole) return QBrush(marcada ? Qt::yellow : Qt::white);
    }
    return QSortFilterProxyModel::headerData(secao, o, role);
}

}  // namespace velt::ui
