#include "reference/ui/TelaCargaReferencia.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <exception>
#include <filesystem>

#include "app/common/Texto.h"
#include "reference/ui/DialogosReferencia.h"

namespace velt::ui {

TelaCargaReferencia::TelaCargaReferencia(QWidget* dono, const QString& objeto, const QString& titulo,
                                         const QString& rotulo, QString& pastaLembrada)
    : QWidget(dono, Qt::Window), pasta_(pastaLembrada) {
    setObjectName(objeto);
    setWindowTitle(titulo);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* Label6 = new QLabel(rotulo, this);
    Label6->setObjectName("Label6");
    ed_Arquivo = new QLineEdit(this);
    ed_Arquivo->setObjectName("ed_Arquivo");
    ed_Arquivo->setReadOnly(true);
    auto* SpeedButton3 = new QToolButton(this);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton3->setText("...");
    SpeedButton3->setAutoRaise(true);
    Msg_memo = new QPlainTextEdit(this);
    Msg_memo->setObjectName("Msg_memo");
    Msg_memo->setReadOnly(true);
    Progresso = new QProgressBar(this);
    Progresso->setObjectName("Progresso");
    Progresso->setRange(0, 100);
    Progresso->setValue(0);
    Progresso->setTextVisible(false);
    BtnImportar = new QPushButton("Importar", this);
    BtnImportar->setObjectName("BtnImportar");
    BtnFechar = new QPushButton("Sair", this);
    BtnFechar->setObjectName("BtnFechar");

    auto* g = new QGridLayout(this);
    g->addWidget(Label6, 0, 0, 1, 3);
    g->addWidget(ed_Arquivo, 1, 0, 1, 2);
    g->addWidget(SpeedButton3, 1, 2);
    g->addWidget(Msg_memo, 2, 0, 1, 3);
    g->addWidget(Progresso, 3, 0, 1, 3);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BtnImportar);
    botoes->addWidget(BtnFechar);
    g->addLayout(botoes, 4, 0, 1, 3);
    resize(480, 360);

    connect(SpeedButton3, &QToolButton::clicked, this, &TelaCargaReferencia::SpeedButton3Click);
    connect(BtnImportar, &QPushButton::clicked, this, &TelaCargaReferencia::BtnImportarClick);
    connect(BtnFechar, &QPushButton::clicked, this, &QWidget::close);
}

void TelaCargaReferencia::SpeedButton3Click() {
    QString escolhida = escolhePasta(this, "Pasta para ler os Arquivos");
    pasta_ = escolhida;
    if (!escolhida.isEmpty()) ed_Arquivo->setText(escolhida);
}

void TelaCargaReferencia::BtnImportarClick() {
    BtnImportar->setEnabled(false);
    BtnFechar->setEnabled(false);
    try {
        executa();
    } catch (const std::exception& e) {
        // An unexpected failure ends the run with its own text; the window can still be closed.
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), velt::Driver::Icone::Erro, false});
        BtnFechar->setEnabled(true);
    }
}

std::filesystem::path TelaCargaReferencia::pasta() const { return std::filesystem::path(pasta_.toStdString()); }

void TelaCargaReferencia::mostraMemo(const std::vector<std::string>& linhas) {
    QStringList l;
    for (const auto& s : linhas) l << deUtf8(s);
    Msg_memo->setPlainText(l.join('\n'));
}

void TelaCargaReferencia::DriverTela::progresso(std::int64_t posicao, std::int64_t maximo) {
    // A maximum of 0 empties the bar (a Qt bar with no range would show a busy indicator).
    barra_->setRange(0, maximo > 0 ? int(maximo) : 1);
    barra_->setValue(maximo > 0 ? int(posicao) : 0);
}

}  // namespace velt::ui
