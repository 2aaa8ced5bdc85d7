#include "reference/ui/ImportaCnesValidosScreen.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <exception>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "reference/ImportaCnesValidos.h"
#include "reference/ui/DialogosReferencia.h"

namespace velt::ui {
namespace {

class DriverCnesValidos : public QtDriver {
public:
    DriverCnesValidos(QWidget* pai, QProgressBar* barra) : QtDriver(pai), barra_(barra) {}
    void progresso(std::int64_t posicao, std::int64_t maximo) override {
        // A maximum of 0 leaves the bar empty (a Qt bar without range would show a busy indicator).
        barra_->setRange(0, maximo > 0 ? int(maximo) : 1);
        barra_->setValue(maximo > 0 ? int(posicao) : 0);
    }

private:
    QProgressBar* barra_;
};

}  // namespace

QString& TFrmImportacaoCNESValidos::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TFrmImportacaoCNESValidos::TFrmImportacaoCNESValidos(QWidget* dono)
    : QWidget(dono,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("FrmImportacaoCNESValidos");
    setWindowTitle("Importação dos CNES Válidos");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* rotuloCompetencia = new QLabel("Competência:", this);
    MaskEdit3 = new QLineEdit(this);
    MaskEdit3->setObjectName("MaskEdit3");
    MaskEdit3->setInputMask("99/9999;_");
    MaskEdit3->setMaximumWidth(90);
    auto* rotuloPasta = new QLabel("Diretório (Pasta onde se encontra o arquivo CNESVAL.txt)", this);
    ed_Arquivo = new QLineEdit(pastaLembrada(), this);
    ed_Arquivo->setObjectName("ed_Arquivo");
    auto* SpeedButton3 = new QToolButton(this);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton3->setText("...");
    SpeedButton3->setAutoRaise(true);
    Progresso = new QProgressBar(this);
    Progresso->setObjectName("Progresso");
    Progresso->setRange(0, 1);
    Progresso->setValue(0);
    Progresso->setTextVisible(false);
    BitBtn5 = new QPushButton("Importar", this);
    BitBtn5->setObjectName("BitBtn5");
    BitBtn6 = new QPushButton("Sair", this);
    BitBtn6->setObjectName("BitBtn6");

    auto* g = new QGridLayout(this);
    g->addWidget(rotuloCompetencia, 0, 0);
    g->addWidget(MaskEdit3, 0, 1, Qt::AlignLeft);
    g->addWidget(rotuloPasta, 1, 0, 1, 3);
    g->addWidget(ed_Arquivo, 2, 0, 1, 2);
    g->addWidget(SpeedButton3, 2, 2);
    g->addWidget(Progresso, 3, 0, 1, 3);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BitBtn5);
    botoes->addWidget(BitBtn6);
    g->addLayout(botoes, 4, 0, 1, 3);
    setFixedSize(sizeHint().expandedTo(QSize(440, 0)));

    connect(SpeedButton3, &QToolButton::clicked, this, &TFrmImportacaoCNESValidos::SpeedButton3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFrmImportacaoCNESValidos::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &QWidget::close);
}

void TFrmImportacaoCNESValidos::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    MaskEdit3->setFocus();
}

void TFrmImportacaoCNESValidos::SpeedButton3Click() {
    QString escolhida = escolhePasta(this, "Pasta para ler o Arquivo");
    if (escolhida.isEmpty()) return;
    pastaLembrada() = escolhida;
    ed_Arquivo->setText(escolhida);
}

void TFrmImportacaoCNESValidos::BitBtn5Click() {
    BitBtn5->setEnabled(false);
    BitBtn6->setEnabled(false);
    try {
        DriverCnesValidos driver(this, Progresso);
        ImportaCnesValidos imp(banco(), driver);
        auto r = imp.executa(pastaLembrada().toStdString(), MaskEdit3->text().toStdString());
        using Situacao = ResultadoCnesValidos::Situacao;
        if (r.situacao == Situacao::CompetenciaInvalida || r.situacao == Situacao::ArquivoAusente) {
            MaskEdit3->clear();
            MaskEdit3->setFocus();
        }
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), velt::Driver::Icone::Erro, false});
    }
    BitBtn5->setEnabled(true);
    BitBtn6->setEnabled(true);
}

}  // namespace velt::ui
