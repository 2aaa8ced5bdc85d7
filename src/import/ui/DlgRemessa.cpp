#include "import/ui/DlgRemessa.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "import/ImportaRemessa.h"

namespace velt::ui {

TDlgRemessa::TDlgRemessa(QWidget* pai, const QString& arquivoVlt) : QDialog(pai) {
    setObjectName("DlgRemessa");
    setWindowTitle("VELT02");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* quadro = new QFrame(this);
    quadro->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* q = new QVBoxLayout(quadro);
    for (const char* t :
         {"Esta remessa já se encontra carregada", "na base de dados", "Deseja substituí-la ?"}) {
        auto* l = new QLabel(QString::fromUtf8(t), quadro);
        l->setAlignment(Qt::AlignCenter);
        q->addWidget(l);
    }
    edit1_ = new QLineEdit(quadro);
    edit1_->setObjectName("Edit1");
    edit1_->setText(QString(7, ' ') + arquivoVlt + QString(4, ' '));
    q->addWidget(edit1_);

    auto* nota = new QLabel(QString::fromUtf8("A Substituição só será efetuada se não houverem erros"), this);
    sim_ = new QPushButton("SIM", this);
    sim_->setObjectName("OKBtn");
    sim_->setDefault(true);
    sim_->setAutoDefault(true);
    nao_ = new QPushButton(QString::fromUtf8("NÃO"), this);
    nao_->setObjectName("CancelBtn");
    nao_->setAutoDefault(false);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(sim_);
    botoes->addWidget(nao_);
    auto* v = new QVBoxLayout(this);
    v->addWidget(quadro);
    v->addWidget(nota);
    v->addLayout(botoes);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(sim_, &QPushButton::clicked, this, [this] {
        DefineRespostaSubstituicaoRemessa(true);
        done(QDialog::Accepted);
    });
    connect(nao_, &QPushButton::clicked, this, [this] {
        DefineRespostaSubstituicaoRemessa(false);
        done(QDialog::Rejected);
    });
    sim_->setFocus();
}

void TDlgRemessa::reject() {
    done(QDialog::Rejected);
}

void TDlgRemessa::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        nao_->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace velt::ui
