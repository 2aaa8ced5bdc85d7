#include "reference/ui/CadastraCnesScreen.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <exception>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "data/Database.h"
#include "reference/CadastraCnes.h"

namespace velt::ui {

TForm23::TForm23(QWidget* dono) : QWidget(dono, Qt::Window) {
    setObjectName("Form23");
    setWindowTitle("Cadastra  CNES ");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* Label1 = new QLabel("CNES", this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setMaxLength(7);
    Label2 = new QLabel("CNPJ", this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    Edit2->setMaxLength(14);
    Label3 = new QLabel("Razão Social", this);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName("Edit3");
    Edit3->setMaxLength(60);

    RadioGroup1 = new QGroupBox("Possui Leitos de UTI", this);
    RadioGroup1->setObjectName("RadioGroup1");
    sim_ = new QRadioButton(" Sim", RadioGroup1);
    nao_ = new QRadioButton(" Não", RadioGroup1);
    auto* r = new QHBoxLayout(RadioGroup1);
    r->addWidget(sim_);
    r->addWidget(nao_);
    leito_ = new QButtonGroup(this);
    leito_->addButton(sim_);
    leito_->addButton(nao_);

    SpeedButton2 = new QPushButton("Consultar", this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton1 = new QPushButton("Inserir", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton3 = new QPushButton("Alterar", this);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton4 = new QPushButton("Excluir", this);
    SpeedButton4->setObjectName("SpeedButton4");
    BitBtn3 = new QPushButton("Sair", this);
    BitBtn3->setObjectName("BitBtn3");

    DBNEnv = new QTableWidget(0, 2, this);
    DBNEnv->setObjectName("DBNEnv");
    DBNEnv->setHorizontalHeaderLabels({"CNES", "RAZAO_SOCIAL"});
    DBNEnv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBNEnv->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBNEnv->horizontalHeader()->setStretchLastSection(true);
    DBNEnv->verticalHeader()->hide();

    auto* g = new QGridLayout(this);
    g->addWidget(Label1, 0, 0);
    g->addWidget(Edit1, 0, 1);
    g->addWidget(Label2, 1, 0);
    g->addWidget(Edit2, 1, 1);
    g->addWidget(Label3, 2, 0);
    g->addWidget(Edit3, 2, 1);
    g->addWidget(RadioGroup1, 3, 0, 1, 2);
    auto* botoes = new QHBoxLayout;
    for (auto* b : {SpeedButton2, SpeedButton1, SpeedButton3, SpeedButton4, BitBtn3}) botoes->addWidget(b);
    g->addLayout(botoes, 4, 0, 1, 2);
    g->addWidget(DBNEnv, 5, 0, 1, 2);
    resize(560, 420);

    mostraCampos(false);
    SpeedButton1->hide();
    SpeedButton3->hide();
    SpeedButton4->hide();
    DBNEnv->hide();

    connect(SpeedButton2, &QPushButton::clicked, this, &TForm23::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm23::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm23::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm23::SpeedButton4Click);
    connect(BitBtn3, &QPushButton::clicked, this, &QWidget::close);
}

void TForm23::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    Edit1->setFocus();
}

void TForm23::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) Edit1->setFocus();
}

void TForm23::mensagem(const QString& texto) {
    mostraCaixa(this, Caixa{"", texto, Driver::Icone::Nenhum, false});
}

void TForm23::mostraCampos(bool visivel) {
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Edit2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Edit3)})
        w->setVisible(visivel);
}

void TForm23::limpaCampos() {
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
}

// After a change or a deletion: the fields emptied and hidden, the action buttons hidden.
void TForm23::voltaAoInicio() {
    limpaCampos();
    limpaEscolhaLeito();
    mostraCampos(false);
    SpeedButton4->hide();
    SpeedButton1->hide();
    SpeedButton3->hide();
    DBNEnv->hide();
}

void TForm23::limpaEscolhaLeito() {
    // An exclusive group cannot be left without a choice; lift that for the moment of clearing.
    leito_->setExclusive(false);
    sim_->setChecked(false);
    nao_->setChecked(false);
    leito_->setExclusive(true);
}

bool TForm23::leitoUti() const {
    return sim_->isChecked();
}

bool TForm23::cnpjAceito() {
    if (CadastraCnes::cnpjValido(paraCp1252(Edit2->text()))) return true;
    mensagem("CNPJ invalido");
    Edit2->clear();
    Edit2->setFocus();
    return false;
}

void TForm23::SpeedButton2Click() {
    try {
        CadastraCnes cad(banco());
        if (Edit1->text().isEmpty()) {
            auto linhas = cad.lista();
            if (linhas.empty()) {
                mensagem("Não existem estabelecimentos cadastrados - importe o CNES");
                return;
            }
            DBNEnv->setRowCount(int(linhas.size()));
            for (int i = 0; i < int(linhas.size()); ++i) {
                DBNEnv->setItem(i, 0, new QTableWidgetItem(deCp1252(linhas[i].cnes)));
                DBNEnv->setItem(i, 1, new QTableWidgetItem(deCp1252(linhas[i].razaoSocial)));
            }
            DBNEnv->show();
            SpeedButton1->hide();
            SpeedButton3->hide();
            SpeedButton4->hide();
            return;
        }
        DBNEnv->hide();
        const std::string cnes = paraCp1252(Edit1->text());
        if (!CadastraCnes::cnesValido(cnes)) {
            mensagem("CNES INVALIDO");
            Edit1->clear();
            Edit1->setFocus();
            return;
        }
        if (auto e = cad.consulta(cnes)) {
            Edit2->setText(deCp1252(e->cnpj));
            Edit3->setText(deCp1252(e->razaoSocial));
            (e->stLeito == "1" ? sim_ : nao_)->setChecked(true);
            mostraCampos(true);
            SpeedButton3->show();
            SpeedButton4->show();
        } else {
            mensagem("Este CNES não está cadastrado");
            Edit2->clear();
            Edit3->clear();
            mostraCampos(true);
            Edit2->setFocus();
            SpeedButton1->show();
            SpeedButton2->hide();
            SpeedButton3->hide();
            SpeedButton4->hide();
            DBNEnv->hide();
        }
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
}

void TForm23::SpeedButton1Click() {
    if (!cnpjAceito()) return;
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty() || Edit3->text().isEmpty()) {
        mensagem("Todos os campos devem ser informados");
        return;
    }
    try {
        CadastraCnes(banco()).insere(paraCp1252(Edit1->text()), paraCp1252(Edit2->text()),
                                     paraCp1252(Edit3->text()), leitoUti());
    } catch (const std::exception&) {
        mensagem("Erro no insert do CNES");
        SpeedButton1->hide();
        return;
    }
    mensagem("Insert efetuado");
    Edit1->clear();
    Edit1->setFocus();
    mostraCampos(false);
    SpeedButton1->hide();
    SpeedButton3->hide();
    SpeedButton4->hide();
    SpeedButton2->show();
}

void TForm23::SpeedButton3Click() {
    bool cnesOk = CadastraCnes::cnesValido(paraCp1252(Edit1->text()));
    if (!cnesOk) {
        mensagem("CNES INVALIDO");
        Edit1->clear();
        Edit1->setFocus();
    }
    bool cnpjOk = cnpjAceito();
    bool mudou = Edit2->isModified() || Edit3->isModified() || leito_->checkedButton() != nullptr;
    if (!cnesOk || !cnpjOk || Edit2->text().isEmpty() || Edit3->text().isEmpty() || !mudou) {
        mensagem("Alteração não efetuada");
        Edit1->setFocus();
        return;
    }
    try {
        CadastraCnes(banco()).altera(paraCp1252(Edit1->text()), paraCp1252(Edit2->text()),
                                     paraCp1252(Edit3->text()), leitoUti());
    } catch (const std::exception&) {
        mensagem("Erro na alteração do CNES");
        SpeedButton3->hide();
        return;
    }
    mensagem("Alteração efetuada");
    voltaAoInicio();
    SpeedButton2->show();
}

void TForm23::SpeedButton4Click() {
    SpeedButton3->hide();
    if (Edit1->text().isEmpty()) {
        mensagem("CNES tem que estar preenchido");
        return;
    }
    try {
        CadastraCnes(banco()).exclui(paraCp1252(Edit1->text()));
    } catch (const std::exception&) {
        mensagem("Erro no delete do CNES");
        SpeedButton4->hide();
        return;
    }
    mensagem("Delete efetuado");
    voltaAoInicio();
}

}  // namespace velt::ui
