#include "import/ui/OKBottomDlg.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/Texto.h"

namespace velt::ui {

TOKBottomDlg::TOKBottomDlg(QWidget* pai, const ContadoresImportacao& contadores) : QDialog(pai) {
    setObjectName("OKBottomDlg");
    setWindowTitle("VELT02");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    const auto linhas = LinhasResumo(contadores);
    // Fixed-pitch so the right-aligned counts stand in one column.
    const QFont fixa = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* v = new QVBoxLayout(this);
    // Label9 (notification files) stands above Label8 (error files).
    for (int i : {0, 1, 2, 3, 4, 5, 6, 8, 7}) {
        auto* l = new QLabel(deUtf8(linhas[std::size_t(i)]), this);
        l->setObjectName(QString("Label%1").arg(i + 1));
        if (i > 0) l->setFont(fixa);
        v->addWidget(l);
    }
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addWidget(ok);
    h->addStretch();
    v->addLayout(h);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace velt::ui
