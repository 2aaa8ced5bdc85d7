#pragma once
#include <QMap>
#include <QSet>
#include <QSortFilterProxyModel>

class QTableView;

namespace velt::ui {

// Sorting of a look-up grid by a click on a column title: the first click sorts by the column
// (ascending), the next click on it reverses the order, and a click on a column sorted before
// brings back that column's last direction. The sorted column's title is bold on yellow, the
// others normal on white. Calculated columns (and any listed in `ignoradas`) are not sortable.
// Sorting compares the values of Qt::EditRole (numbers as numbers, texts as texts).
class OrdenaGrade : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // Puts itself between `grade` and `modelo` (the grid then shows this model) and takes the
    // title clicks of the grid.
    static OrdenaGrade* instala(QTableView* grade, QAbstractItemModel* modelo, QSet<int> ignoradas = {});

    OrdenaGrade(QTableView* grade, QSet<int> ignoradas);

    // The action of a title click on column `coluna` (of the source model).
    void OrdenaGradePorColuna(int coluna);

    int colunaAtual() const { return atual_; }  // -1: the natural order
    Qt::SortOrder ordemAtual() const { return ordens_.value(atual_, Qt::AscendingOrder); }

    QVariant headerData(int secao, Qt::Orientation o, int role) const override;

private:
    QSet<int> ignoradas_;
    QMap<int, Qt::SortOrder> ordens_;  // last direction of every column sorted so far
    int atual_ = -1;
};

}  // namespace velt::ui
