#include "reference/ui/ImportaCnesAdesaoScreen.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeView>
#include <exception>

#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "common/Catalogo.h"
#include "reference/ImportaCnesAdesao.h"

namespace velt::ui {
namespace {

class DriverAdesao : public QtDriver {
public:
    DriverAdesao(QWidget* pai, QProgressBar* barra) : QtDriver(pai), barra_(barra) {}
    void progresso(std::int64_t posicao, std::int64_t maximo) override {
        barra_->setRange(0, maximo > 0 ? int(maximo) : 1);
        barra_->setValue(maximo > 0 ? int(posicao) : 0);
    }

private:
    QProgressBar* barra_;
};

QColor corDe(unsigned bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

TfrmCnesAdesao::TfrmCnesAdesao(QWidget* dono) : QDialog(dono, Qt::FramelessWindowHint) {
    setObjectName("frmCnesAdesao");
    setWindowTitle("Importar CNES adesão");
    setModal(true);

    Panel1 = new QLabel("           Importação dos CNES Adesão", this);
    Panel1->setObjectName("Panel1");
    Panel1->setAutoFillBackground(true);
    QFont f = Panel1->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    Panel1->setFont(f);
    Panel1->setMinimumHeight(40);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    pastas_ = new QFileSystemModel(this);
    pastas_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setModel(pastas_);
    for (int c = 1; c < pastas_->columnCount(); ++c) DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->header()->hide();
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    iMPORTA = new QToolButton(this);
    iMPORTA->setObjectName("iMPORTA");
    iMPORTA->setText("Importar");
    iMPORTA->setToolTip("Confirma Importação");
    iMPORTA->setAutoRaise(true);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText("Fechar");
    SpeedButton1->setToolTip("Fechar");
    SpeedButton1->setAutoRaise(true);

    auto* g = new QGridLayout(this);
    g->addWidget(Panel1, 0, 0, 1, 3);
    g->addWidget(new QLabel("Selecione o driver", this), 1, 0);
    g->addWidget(new QLabel("Selecione a pasta que os arquivos se encontram", this), 1, 1);
    g->addWidget(new QLabel("Visualização de Arquivos", this), 1, 2);
    g->addWidget(ListBox1, 2, 0);
    g->addWidget(DirectoryListBox1, 2, 1);
    g->addWidget(FileListBox1, 2, 2);
    g->addWidget(ProgressBar1, 3, 0, 1, 3);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(iMPORTA);
    botoes->addWidget(SpeedButton1);
    g->addLayout(botoes, 4, 0, 1, 3);
    g->setColumnStretch(1, 2);
    g->setColumnStretch(2, 2);

    pastas_->setRootPath("/");
    DirectoryListBox1->setRootIndex(pastas_->index("/"));

    connect(ListBox1, &QListWidget::itemClicked, this, &TfrmCnesAdesao::ListBox1Click);
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmCnesAdesao::DirectoryListBox1Change);
    connect(iMPORTA, &QToolButton::clicked, this, &TfrmCnesAdesao::iMPORTAClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::reject);
    mostraPasta(QDir::currentPath());
}

void TfrmCnesAdesao::aplicaCores(unsigned formulario, unsigned painel) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, corDe(formulario));
    setPalette(p);
    QPalette pp = Panel1->palette();
    pp.setColor(QPalette::Window, corDe(painel));
    Panel1->setPalette(pp);
}

void TfrmCnesAdesao::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    ListBox1->clear();
    for (const auto& u : ListaUnidades()) ListBox1->addItem(QString::fromStdString(u));
}

void TfrmCnesAdesao::ListBox1Click() {
    if (!ListBox1->currentItem()) return;
    const QString unidade = ListBox1->currentItem()->text();
    QDir dir(unidade);
    if (!dir.exists() || !dir.isReadable()) {
        mostraCaixa(this,
                    Caixa{"", "Não é possível abrir o driver selecionado.", Driver::Icone::Nenhum, false});
        return;
    }
    pastas_->setRootPath(unidade);
    DirectoryListBox1->setRootIndex(pastas_->index(unidade));
    mostraPasta(unidade);
}

void TfrmCnesAdesao::DirectoryListBox1Change() {
    QModelIndex i = DirectoryListBox1->currentIndex();
    if (i.isValid()) mostraPasta(pastas_->filePath(i));
}

void TfrmCnesAdesao::mostraPasta(const QString& pasta) {
    pasta_ = pasta;
    FileListBox1->clear();
    QDir dir(pasta);
    // The file list shows the folder's text files, whatever the case of their extension.
    dir.setNameFilters({"*.txt"});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    FileListBox1->addItems(dir.entryList());
}

void TfrmCnesAdesao::iMPORTAClick() {
    std::filesystem::path arquivo;
    if (auto* item = FileListBox1->currentItem())
        arquivo = std::filesystem::path(QDir(pasta_).filePath(item->text()).toStdString());
    iMPORTA->setEnabled(false);
    try {
        DriverAdesao driver(this, ProgressBar1);
        ImportaCnesAdesao(banco(), driver).executa(arquivo);
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
    iMPORTA->setEnabled(true);
}

}  // namespace velt::ui
