#include "export/ui/CompactacaoScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "export/Compactacao.h"
#include "gestor/ui/JanelaDependente.h"

namespace velt::ui {

namespace {

// PerguntaSimNao: the question box titled "Atenção", then a beep.
class DriverCompactacao : public QtDriver {
public:
    using QtDriver::QtDriver;
    bool pergunta(std::string_view titulo, std::string_view texto) override {
        bool r = QtDriver::pergunta(titulo, texto);
        QApplication::beep();
        return r;
    }
};

// Backups started by compactions, kept until they end: the program waits for them before it
// closes rather than cutting a backup short.
class BackupsPendentes : public QObject {
public:
    explicit BackupsPendentes(QObject* dono) : QObject(dono) { setObjectName("BackupsPendentes"); }
    void guarda(std::unique_ptr<BackupEmSegundoPlano> b) {
        std::erase_if(lista_, [](const auto& x) { return x->terminou(); });
        lista_.push_back(std::move(b));
    }

private:
    std::vector<std::unique_ptr<BackupEmSegundoPlano>> lista_;
};

BackupsPendentes& pendentes(QWidget* janela) {
    QObject* dono = janela ? static_cast<QObject*>(janela) : static_cast<QObject*>(qApp);
    auto* p = dono->findChild<BackupsPendentes*>("BackupsPendentes", Qt::FindDirectChildrenOnly);
    return p ? *p : *new BackupsPendentes(dono);
}

}  // namespace

TForm3::TForm3(QWidget* janelaPrincipal) : QWidget(janelaPrincipal, Qt::Window), janela_(janelaPrincipal) {
    setObjectName("Form3");
    setWindowTitle(QString::fromUtf8("Compactação"));

    auto* label = new QLabel(QString::fromUtf8("Competência:"), this);
    label->setObjectName("Label1");
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName("MaskEdit1");
    MaskEdit1->setInputMask("99/9999;_");
    MaskEdit1->setMaxLength(7);
    MaskEdit1->setMaximumWidth(90);
    ChkExecel = new QCheckBox(this);
    ChkExecel->setObjectName("ChkExecel");
    ChkExecel->setText(QString::fromUtf8(
        "Selecione para gerar planilha excel com todos os registros que serão exportados/compatados. Atenção o "
        "processo poderá ficar mais lento e será exigido mais memória disponivel."));
    ChkExecel->setStyleSheet("QCheckBox { max-width: 420px; }");
    BitBtn1 = new QPushButton("Executar", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("Sair", this);
    BitBtn2->setObjectName("BitBtn2");
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* linha = new QHBoxLayout;
    linha->addWidget(label);
    linha->addWidget(MaskEdit1);
    linha->addStretch();
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BitBtn1);
    botoes->addWidget(BitBtn2);
    auto* v = new QVBoxLayout(this);
    v->addLayout(linha);
    v->addWidget(ChkExecel);
    v->addLayout(botoes);
    v->addWidget(StatusBar1);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
}

void TForm3::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    MaskEdit1->setFocus();
}

void TForm3::BitBtn1Click() {
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    QPointer<TForm3> eu(this);
    executaProtegido(this, [&] {
        DriverCompactacao driver(this, nullptr, StatusBar1);
        Compactacao c(banco(), driver);
        // Reported from the backup's own thread when it ends: shown on the screens' thread.
        auto aoTerminar = [](const ResultadoBackup& b) {
            if (b.sucesso) return;
            QString texto = deUtf8("Falha no Backup da base (" + b.arquivo + "): " + b.erro);
            QMetaObject::invokeMethod(
                qApp, [texto] { mostraCaixa(nullptr, Caixa{"ERRO", texto, Driver::Icone::Erro, false}); },
                Qt::QueuedConnection);
        };
        ResultadoCompactacao r = c.executa(paraUtf8(MaskEdit1->text()), ChkExecel->isChecked(), aoTerminar);
        if (r.backup) pendentes(janela_).guarda(std::move(r.backup));
        if (!eu) return;
        using Fim = ResultadoCompactacao::Fim;
        if (r.fim == Fim::Concluida || r.fim == Fim::CompetenciaInvalida) {
            MaskEdit1->clear();
            MaskEdit1->setFocus();
            ChkExecel->setChecked(false);
        }
    });
    if (!eu) return;
    BitBtn1->setEnabled(true);
    BitBtn2->setEnabled(true);
}

}  // namespace velt::ui
