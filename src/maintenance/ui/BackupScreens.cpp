#include "maintenance/ui/BackupScreens.h"

#include <QApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "data/Database.h"
#include "maintenance/BackupRestore.h"

namespace velt::ui {

namespace {

// A file-name or folder field with its browse button.
QWidget* campoComBotao(QWidget* pai, QLineEdit*& edit, const QString& nome, bool pasta) {
    auto* w = new QWidget(pai);
    edit = new QLineEdit(w);
    edit->setObjectName(nome);
    edit->setMinimumWidth(360);
    auto* b = new QPushButton("...", w);
    b->setObjectName(nome + "Botao");
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(edit);
    h->addWidget(b);
    QLineEdit* e = edit;
    QObject::connect(b, &QPushButton::clicked, w, [w, e, pasta] {
        QString f = pasta ? QFileDialog::getExistingDirectory(w, QString(), e->text())
                          : QFileDialog::getOpenFileName(w, QString(), e->text());
        if (!f.isEmpty()) e->setText(f);
    });
    return w;
}

QPlainTextEdit* log(QWidget* pai) {
    auto* m = new QPlainTextEdit(pai);
    m->setObjectName("Memo1");
    m->setReadOnly(true);
    m->setMinimumHeight(200);
    return m;
}

void monta(QWidget* tela, QFormLayout* campos, QPlainTextEdit* memo, QPushButton* b1, QPushButton* b2) {
    auto* rotulo = new QLabel("&Log", tela);
    rotulo->setBuddy(memo);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(b1);
    botoes->addWidget(b2);
    auto* v = new QVBoxLayout(tela);
    v->addLayout(campos);
    v->addWidget(rotulo);
    v->addWidget(memo);
    v->addLayout(botoes);
}

// The service's lines reach the log as they come, the window repainting between them.
LinhaServico linhasNo(QPlainTextEdit* memo) {
    return [memo](std::string_view linha) {
        memo->appendPlainText(deCp1252(linha).trimmed());
        QApplication::processEvents();
    };
}

// The credentials of velt.ini, without attaching to a database that may be the one restored.
ConnectionParams credenciais() { return banco().params(); }

}  // namespace

TForm18::TForm18(QWidget* pai) : QWidget(pai, Qt::Window) {
    setObjectName("Form18");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Backup do Banco");
    auto* campos = new QFormLayout;
    campos->addRow("&Banco de dados", campoComBotao(this, FeBanco, "FeBanco", false));
    campos->addRow(QString::fromUtf8("&Caminho de Gravação do Backup "), campoComBotao(this, DeCaminho, "DeCaminho", true));
    Memo1 = log(this);
    BitBtn1 = new QPushButton("&Backup", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("&Sair", this);
    BitBtn2->setObjectName("BitBtn2");
    monta(this, campos, Memo1, BitBtn1, BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm18::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
    try {
        FeBanco->setText(QString::fromStdString(credenciais().local));
    } catch (const std::exception&) {
    }
}

void TForm18::BitBtn1Click() {
    QtDriver driver(this);
    BitBtn1->setEnabled(false);
    try {
        auto r = BackupBanco(banco(), driver, paraUtf8(FeBanco->text()), paraUtf8(DeCaminho->text()), linhasNo(Memo1));
        if (r.faltando == ResultadoManutencao::Campo::Banco) FeBanco->setFocus();
        if (r.faltando == ResultadoManutencao::Campo::Pasta) DeCaminho->setFocus();
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
    BitBtn1->setEnabled(true);
}

TFrm_Restore::TFrm_Restore(QWidget* pai) : QWidget(pai, Qt::Window) {
    setObjectName("Frm_Restore");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("Restauração do Banco"));
    auto* campos = new QFormLayout;
    campos->addRow("&Arquivo de Backup", campoComBotao(this, FeBackup, "FeBackup", false));
    campos->addRow("&Banco de Dados", campoComBotao(this, FeBanco, "FeBanco", false));
    Memo1 = log(this);
    BitBtn1 = new QPushButton("&Restore", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("&Sair", this);
    BitBtn2->setObjectName("BitBtn2");
    monta(this, campos, Memo1, BitBtn1, BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrm_Restore::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
}

void TFrm_Restore::BitBtn1Click() {
    QtDriver driver(this);
    BitBtn1->setEnabled(false);
    try {
        auto r = RestauraBanco(banco(), driver, paraUtf8(FeBackup->text()), paraUtf8(FeBanco->text()),
                               linhasNo(Memo1));
        if (r.faltando == ResultadoManutencao::Campo::ArquivoBackup) FeBackup->setFocus();
        if (r.faltando == ResultadoManutencao::Campo::Banco) FeBanco->setFocus();
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
    BitBtn1->setEnabled(true);
}

}  // namespace velt::ui
