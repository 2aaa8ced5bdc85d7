#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include "app/common/OrdenaGrade.h"

using velt::ui::OrdenaGrade;

class OrdenaGradeTest : public QObject {
    Q_OBJECT
private slots:
    void cliquesOrdenamInvertemERestauram();
};

namespace {

QStringList coluna(QTableView& grade, int c) {
    QStringList l;
    for (int r = 0; r < grade.model()->rowCount(); ++r) l << grade.model()->index(r, c).data().toString();
    return l;
}

void clicaTitulo(QTableView& grade, int secao) {
    QHeaderView* h = grade.horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(secao) + 5, h->height() / 2));
}

bool marcado(QTableView& grade, int secao) {
    auto* m = grade.model();
    return m->headerData(secao, Qt::Horizontal, Qt::FontRole).value<QFont>().bold() &&
           m->headerData(secao, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color() ==
               QColor(Qt::yellow);
}

bool normal(QTableView& grade, int secao) {
    auto* m = grade.model();
    return !m->headerData(secao, Qt::Horizontal, Qt::FontRole).value<QFont>().bold() &&
           m->headerData(secao, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color() ==
               QColor(Qt::white);
}

}  // namespace

void OrdenaGradeTest::cliquesOrdenamInvertemERestauram() {
    QStandardItemModel fonte(0, 3);
    fonte.setHorizontalHeaderLabels({"CODIGO", "NOME", "TOTAL"});
    struct Linha {
        int codigo;
        const char* nome;
        const char* total;
    } linhas[] = {{10, "CARLOS", "x"}, {9, "ANA", "z"}, {100, "BEATRIZ", "y"}};
    for (const auto& l : linhas) {
        auto* c = new QStandardItem;
        c->setData(l.codigo, Qt::EditRole);  // numbers compare as numbers
        fonte.appendRow({c, new QStandardItem(l.nome), new QStandardItem(l.total)});
    }
    QTableView grade;
    OrdenaGrade* o = OrdenaGrade::instala(&grade, &fonte, {2});  // column 2 is calculated
    grade.resize(500, 300);
    grade.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grade));
    const QStringList natural{"10", "9", "100"};
    QCOMPARE(coluna(grade, 0), natural);

    clicaTitulo(grade, 0);
    QCOMPARE(coluna(grade, 0), QStringList({"9", "10", "100"}));
    QVERIFY(marcado(grade, 0));
    QVERIFY(normal(grade, 1));
    clicaTitulo(grade, 0);
    QCOMPARE(coluna(grade, 0), QStringList({"100", "10", "9"}));
    clicaTitulo(grade, 0);
    QCOMPARE(coluna(grade, 0), QStringList({"9", "10", "100"}));

    // Another column, and back: the first column comes back in its last direction.
    clicaTitulo(grade, 1);
    QCOMPARE(coluna(grade, 1), QStringList({"ANA", "BEATRIZ", "CARLOS"}));
    QVERIFY(marcado(grade, 1));
    QVERIFY(normal(grade, 0));
    clicaTitulo(grade, 1);
    QCOMPARE(coluna(grade, 1), QStringList({"CARLOS", "BEATRIZ", "ANA"}));
    clicaTitulo(grade, 0);
    QCOMPARE(coluna(grade, 0), QStringList({"9", "10", "100"}));
    clicaTitulo(grade, 0);
    QCOMPARE(coluna(grade, 0), QStringList({"100", "10", "9"}));
    clicaTitulo(grade, 1);
    QCOMPARE(coluna(grade, 1), QStringList({"CARLOS", "BEATRIZ", "ANA"}));

    // A calculated column changes nothing.
    clicaTitulo(grade, 2);
    QCOMPARE(coluna(grade, 1), QStringList({"CARLOS", "BEATRIZ", "ANA"}));
    QVERIFY(marcado(grade, 1));
    QVERIFY(normal(grade, 2));
    QCOMPARE(o->colunaAtual(), 1);
    QCOMPARE(o->ordemAtual(), Qt::DescendingOrder);
}

QTEST_MAIN(OrdenaGradeTest)
#include "OrdenaGradeTest.moc"
