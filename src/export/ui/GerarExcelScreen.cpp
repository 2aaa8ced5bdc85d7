#include "export/ui/GerarExcelScreen.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "export/PlanilhaDoArquivo.h"

namespace velt::ui {

TFrmGerarExcel::TFrmGerarExcel(QWidget* pai) : QDialog(pai) {
    setObjectName("FrmGerarExcel");
    setWindowTitle("Gerar Excel a partir do Arquivo .VLT");
    setModal(true);

    auto* label = new QLabel("Selecione o Arquivo .VLT", this);
    label->setObjectName("Label1");
    FeRestaurar = new QLineEdit(this);
    FeRestaurar->setObjectName("FeRestaurar");
    FeRestaurar->setMinimumWidth(360);
    BtnProcura = new QPushButton("...", this);
    BtnProcura->setObjectName("FeRestaurarBotao");
    Button1 = new QPushButton("Gerar Excel", this);
    Button1->setObjectName("Button1");
    BitBtn2 = new QPushButton("Sair", this);
    BitBtn2->setObjectName("BitBtn2");

    auto* arquivo = new QHBoxLayout;
    arquivo->addWidget(FeRestaurar);
    arquivo->addWidget(BtnProcura);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(Button1);
    botoes->addWidget(BitBtn2);
    auto* v = new QVBoxLayout(this);
    v->addWidget(label);
    v->addLayout(arquivo);
    v->addLayout(botoes);

    connect(BtnProcura, &QPushButton::clicked, this, [this] {
        QString f = QFileDialog::getOpenFileName(this, "Selecione o Arquivo .VLT", FeRestaurar->text(),
                                                 "Arquivos VLT (*.VLT *.vlt);;Todos (*)");
        if (!f.isEmpty()) FeRestaurar->setText(f);
    });
    connect(Button1, &QPushButton::clicked, this, &TFrmGerarExcel::Button1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmGerarExcel::Button1Click() {
    QtDriver driver(this);
    Button1->setEnabled(false);
    auto r = GeraPlanilhaDoArquivo(paraUtf8(FeRestaurar->text()), driver);
    Button1->setEnabled(true);
    if (r.faltaArquivo) FeRestaurar->setFocus();
}

}  // namespace velt::ui
