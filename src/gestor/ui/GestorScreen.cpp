#include "gestor/ui/GestorScreen.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "gestor/Gestor.h"
#include "gestor/Municipios.h"
#include "gestor/ui/JanelaDependente.h"
#include "gestor/ui/SeletorDiretorio.h"
#include "gestor/ui/SeletorMunicipio.h"
#include "gestor/ui/SeletorUF.h"

namespace velt::ui {

TForm7* TForm7::abre(Database& db, QWidget* principal) {
    auto tela = std::make_unique<TForm7>(db, principal);
    tela->FormShow();  // a failure here leaves the main window as it was
    TForm7* t = tela.release();
    mostraDesabilitandoDono(principal, t);
    t->nome_->setFocus();
    return t;
}

TForm7::TForm7(Database& db, QWidget* principal) : QWidget(principal, Qt::Window), db_(db) {
    setObjectName("Form7");
    setWindowTitle("Gestor");

    auto rotulo = [this](const char* texto, const char* nome) {
        auto* l = new QLabel(QString::fromUtf8(texto), this);
        l->setObjectName(nome);
        return l;
    };
    auto edit = [this](const char* nome, int maximo) {
        auto* e = new QLineEdit(this);
        e->setObjectName(nome);
        if (maximo > 0) e->setMaxLength(maximo);
        return e;
    };
    auto botao = [this](const char* nome, const char* dica) {
        auto* b = new QToolButton(this);
        b->setObjectName(nome);
        b->setText("...");
        b->setToolTip(QString::fromUtf8(dica));
        return b;
    };

    nome_ = edit("Edit1", 60);
    uf_ = edit("Edit2", 2);
    municipio_ = edit("Edit3", 6);
    diretorio_ = edit("Edit4", 0);
    diretorio_->setReadOnly(true);
    rotuloMunicipio_ = rotulo("Código IBGE do Município", "Label3");
    botaoUF_ = botao("SpeedButton1", "Tabela de UF's");
    botaoMunicipio_ = botao("SpeedButton2", "Tabela de Municípios");
    estadual_ = new QCheckBox(QString::fromUtf8("É gestor Estadual"), this);
    estadual_->setObjectName("CheckBox1");
    auto* localizar = new QPushButton("Localizar", this);
    localizar->setObjectName("BitBtn3");
    localizar->setToolTip(QString::fromUtf8("Localizar Diretório de Trabalho"));
    auto* atualizar = new QPushButton("Atualizar", this);
    atualizar->setObjectName("BitBtn1");
    auto* sair = new QPushButton("Sair", this);
    sair->setObjectName("BitBtn2");

    auto* g = new QGridLayout;
    g->addWidget(rotulo("Nome", "Label1"), 0, 0);
    g->addWidget(nome_, 0, 1, 1, 2);
    g->addWidget(rotulo("UF", "Label2"), 1, 0);
    // Short codes: the edit and its picker button side by side.
    auto lado = [](QWidget* a, QWidget* b, int largura) {
        a->setFixedWidth(largura);
        auto* h = new QHBoxLayout;
        h->addWidget(a);
        h->addWidget(b);
        h->addStretch();
        return h;
    };
    g->addLayout(lado(uf_, botaoUF_, 50), 1, 1);
    g->addWidget(rotuloMunicipio_, 2, 0);
    g->addLayout(lado(municipio_, botaoMunicipio_, 90), 2, 1);
    g->addWidget(estadual_, 3, 1, 1, 2);
    g->addWidget(rotulo("Diretório de Trabalho", "Label4"), 4, 0);
    g->addWidget(diretorio_, 4, 1);
    g->addWidget(localizar, 4, 2);
    g->setColumnMinimumWidth(1, 360);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(atualizar);
    botoes->addWidget(sair);
    auto* l = new QVBoxLayout(this);
    l->addLayout(g);
    l->addLayout(botoes);
    l->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

    connect(estadual_, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(botaoUF_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(botaoMunicipio_, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(localizar, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(atualizar, &QPushButton::clicked, this,
            [this] { executaProtegido(this, [this] { BitBtn1Click(); }); });
    connect(sair, &QPushButton::clicked, this, &QWidget::close);
}

void TForm7::FormShow() {
    tabelaUF_ = CarregaTabelaUF(db_);
    auto gestor = LeGestor(db_);
    Gestor g = gestor.value_or(Gestor{});
    nome_->setText(deCp1252(g.identificacao));
    uf_->setText(deCp1252(g.uf));
    municipio_->setText(deCp1252(g.codmunic));
    diretorio_->setText(deCp1252(g.dirtrab));
    estadual_->setChecked(g.ehEstadual());
    CheckBox1Click();
}

void TForm7::CheckBox1Click() {
    bool municipal = !estadual_->isChecked();
    rotuloMunicipio_->setEnabled(municipal);
    municipio_->setEnabled(municipal);
    botaoMunicipio_->setEnabled(municipal);
}

void TForm7::SpeedButton1Click() {
    auto* picker = new TForm11(tabelaUF_, this);
    connect(picker, &TForm11::copiado, uf_, &QLineEdit::setText);
    mostraDesabilitandoDono(this, picker);
}

void TForm7::SpeedButton2Click() {
    executaProtegido(this, [this] {
        auto* picker = new TForm10(ListaMunicipios(db_), this);
        connect(picker, &TForm10::copiado, municipio_, &QLineEdit::setText);
        mostraDesabilitandoDono(this, picker);
    });
}

void TForm7::BitBtn3Click() {
    auto* picker = new TForm12(this, diretorio_->text());
    connect(picker, &TForm12::copiado, diretorio_, &QLineEdit::setText);
    mostraDesabilitandoDono(this, picker);
}

void TForm7::BitBtn1Click() {
    Gestor dados{paraCp1252(nome_->text()), estadual_->isChecked() ? "1" : "2", paraCp1252(uf_->text()),
                 paraCp1252(municipio_->text()), paraCp1252(diretorio_->text())};
    QtDriver driver(this);
    auto gravado = AtualizaGestor(db_, dados, driver);
    if (!gravado) return;  // the check's message has been shown; the typed values stay
    municipio_->setText(deCp1252(gravado->codmunic));
    close();
}

}  // namespace velt::ui
