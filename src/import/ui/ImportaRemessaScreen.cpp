#include "import/ui/ImportaRemessaScreen.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "common/Validacao.h"
#include "import/ImportaRemessa.h"
#include "import/ui/DlgRemessa.h"
#include "import/ui/OKBottomDlg.h"
#include "import/ui/ProtocoloRelatorio.h"

namespace velt::ui {

namespace {

SeletorArquivos& seletor() {
    static SeletorArquivos f;
    return f;
}

QStringList escolheArquivos(QWidget* pai, const QString& titulo, const QString& filtro) {
    if (seletor()) return seletor()(pai, titulo, filtro);
    QFileDialog dlg(pai, titulo, QString(), filtro);
    dlg.setObjectName("OpenDialog1");
    dlg.setFileMode(QFileDialog::ExistingFiles);
    dlg.setDefaultSuffix("zip");
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.selectedFiles();
}

}  // namespace

void defineSeletorArquivos(SeletorArquivos f) {
    seletor() = std::move(f);
}

TForm2::TForm2(QWidget* janelaPrincipal) : QWidget(nullptr), janela_(janelaPrincipal) {
    setObjectName("Form2");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(" Importa Remessa");

    auto* label1 = new QLabel(QString::fromUtf8("Competência:"), this);
    label1->setObjectName("Label1");
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName("MaskEdit1");
    MaskEdit1->setInputMask("99/9999;_");
    MaskEdit1->setMaximumWidth(90);
    SpeedButton1 = new QPushButton("Localizar", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setToolTip(QString::fromUtf8("Localizar arquivo(s) de VEL (*.ZIP) para integração"));

    auto* grupo = new QGroupBox("VELT's", this);
    grupo->setObjectName("GroupBox1");
    ListBox2 = new QListWidget(grupo);
    ListBox2->setObjectName("ListBox2");
    auto* g = new QVBoxLayout(grupo);
    g->addWidget(ListBox2);

    BitBtn1 = new QPushButton("Executar", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("Sair", this);
    BitBtn2->setObjectName("BitBtn2");
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->hide();

    auto* topo = new QHBoxLayout;
    topo->addWidget(label1);
    topo->addWidget(MaskEdit1);
    topo->addWidget(SpeedButton1);
    topo->addStretch();
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(BitBtn1);
    botoes->addWidget(BitBtn2);
    auto* v = new QVBoxLayout(this);
    v->addLayout(topo);
    v->addWidget(grupo);
    v->addWidget(Gauge1);
    v->addLayout(botoes);
    v->addWidget(StatusBar1);
    resize(520, 360);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
}

TForm2::~TForm2() {
    if (janela_) janela_->setEnabled(true);
}

void TForm2::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (janela_) janela_->setEnabled(false);
    ListBox2->clear();
    MaskEdit1->setFocus();
}

void TForm2::closeEvent(QCloseEvent* e) {
    if (executando_) {  // the run finishes first
        e->ignore();
        return;
    }
    if (janela_) janela_->setEnabled(true);
    QWidget::closeEvent(e);
}

QString TForm2::textoCompetencia() const {
    // The edit reads like the masked edit it stands for: blanks where nothing was typed.
    return MaskEdit1->displayText().replace('_', ' ');
}

void TForm2::SpeedButton1Click() {
    const std::string t = paraUtf8(textoCompetencia());
    const std::string cmpt = CompetenciaLocalizar(t);
    if (cmpt.empty()) {
        mostraCaixa(this, Caixa{"", QString::fromUtf8("Competência Inválida"), Driver::Icone::Erro, false});
        MaskEdit1->setFocus();
        return;
    }
    competencia_ = cmpt;
    const QString filtro = "Arquivos VELT |*" + deUtf8(cmpt) + ".ZIP";
    const QStringList escolhidos =
        escolheArquivos(this, QString::fromUtf8("Localização de Arquivo(s) de VELT compactados"), filtro);
    if (escolhidos.isEmpty()) return;  // cancelled: the list stays as it was
    ListBox2->clear();
    ListBox2->addItems(escolhidos);
}

void TForm2::habilitaComandos(bool sim) {
    SpeedButton1->setEnabled(sim);
    BitBtn1->setEnabled(sim);
    BitBtn2->setEnabled(sim);
    MaskEdit1->setEnabled(sim);
}

void TForm2::BitBtn1Click() {
    if (executando_) return;
    OpcoesImportacao op;
    op.textoCompetencia = paraUtf8(textoCompetencia());
    op.competencia = competencia_;
    for (int i = 0; i < ListBox2->count(); ++i)
        op.arquivos.emplace_back(ListBox2->item(i)->text().toStdString());
    op.perguntaSubstituicao = [this](const std::string& arquivo) {
        TDlgRemessa dlg(this, deCp1252(arquivo));
        dlg.exec();
    };
    EmissorProtocoloQt emissor(this, true);
    op.protocolo = &emissor;
    QtDriver driver(this, Gauge1, StatusBar1);

    executando_ = true;
    habilitaComandos(false);
    ResultadoImportacao r;
    try {
        Gauge1->setValue(0);
        Gauge1->show();
        r = ImportaRemessas(banco(), driver, op);
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
    executando_ = false;
    habilitaComandos(true);
    switch (r.recusa) {
        case ResultadoImportacao::Recusa::Competencia:
            MaskEdit1->setFocus();
            break;
        case ResultadoImportacao::Recusa::SemArquivos:
            ListBox2->setFocus();
            break;
        default:
            break;
    }
    if (r.concluida) {
        // A window of its own: a child would be disabled along with this screen.
        auto* resumo = new TOKBottomDlg(nullptr, r.contadores);
        resumo->setAttribute(Qt::WA_DeleteOnClose);
        setEnabled(false);
        QPointer<TForm2> eu(this);
        connect(resumo, &QDialog::finished, resumo, [eu] {
            if (!eu) return;
            eu->setEnabled(true);
            eu->BitBtn2->setFocus();
        });
        resumo->show();
    }
    Gauge1->hide();
    StatusBar1->clear();
    FileListBox1->clear();
}

}  // namespace velt::ui
