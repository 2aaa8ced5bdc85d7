#include "gestor/ui/SeletorDiretorio.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/common/QtDriver.h"
#include "app/common/Texto.h"
#include "gestor/ui/BotoesSeletor.h"
#include "common/Catalogo.h"

namespace velt::ui {
namespace {

// Whether a drive's folders can be listed now (an unplugged or unreadable volume cannot).
bool legivel(const QString& unidade) {
    QFileInfo f(unidade);
    return f.isDir() && f.isReadable() && f.isExecutable();
}

// The drive holding a folder: the longest drive path that begins it.
int unidadeDe(const QStringList& unidades, const QString& pasta) {
    int melhor = -1;
    for (int i = 0; i < unidades.size(); ++i) {
        QString u = unidades[i];
        QString prefixo = u.endsWith('/') ? u : u + '/';
        if ((pasta == u || pasta.startsWith(prefixo)) && (melhor < 0 || u.size() > unidades[melhor].size()))
            melhor = i;
    }
    return melhor;
}

}  // namespace

TForm12::TForm12(QWidget* dono, const QString& inicial, QStringList unidades) : QWidget(dono, Qt::Window) {
    setObjectName("Form12");
    setWindowTitle(QString::fromUtf8("Diretório de Trabalho"));
    if (unidades.isEmpty())
        for (const auto& u : ListaUnidades()) unidades << QString::fromStdString(u);

    auto* rotuloDrive = new QLabel("Drive", this);
    drives_ = new QComboBox(this);
    drives_->setObjectName("DriveComboBox1");
    drives_->addItems(unidades);
    auto* rotuloPasta = new QLabel(QString::fromUtf8("Diretório (Pasta)"), this);
    modelo_ = new QFileSystemModel(this);
    modelo_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    modelo_->setReadOnly(true);
    arvore_ = new QTreeView(this);
    arvore_->setObjectName("DirectoryListBox1");
    arvore_->setModel(modelo_);
    for (int c = 1; c < modelo_->columnCount(); ++c) arvore_->hideColumn(c);
    arvore_->header()->hide();
    pasta_ = new QLineEdit(this);
    pasta_->setObjectName("Edit1");
    pasta_->setReadOnly(true);

    auto* botoes = BotoesCopiarSair(this, [this] { BitBtn1Click(); });
    auto* l = new QVBoxLayout(this);
    l->addWidget(rotuloDrive);
    l->addWidget(drives_);
    l->addWidget(rotuloPasta);
    l->addWidget(arvore_);
    l->addWidget(pasta_);
    l->addLayout(botoes);
    resize(460, 520);

    // Opens on the drive of the current work directory (else the first), and remembers it.
    const int doInicial = inicial.isEmpty() ? -1 : unidadeDe(unidades, QDir::cleanPath(inicial));
    int inicio = doInicial >= 0 ? doInicial : unidadeDe(unidades, QDir::currentPath());
    if (inicio < 0) inicio = 0;
    drives_->setCurrentIndex(inicio);
    lembrada_ = drives_->currentText();
    mostraUnidade(lembrada_);
    if (doInicial >= 0 && QDir(inicial).exists()) {
        QModelIndex i = modelo_->index(QDir::cleanPath(inicial));
        arvore_->setCurrentIndex(i);
        arvore_->scrollTo(i);
        pasta_->setText(QDir::cleanPath(inicial));
    }
    connect(drives_, &QComboBox::currentIndexChanged, this, &TForm12::DriveComboBox1Change);
    connect(arvore_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { DirectoryListBox1Change(); });
}

void TForm12::mostraUnidade(const QString& unidade) {
    arvore_->setRootIndex(modelo_->setRootPath(unidade));
    pasta_->setText(unidade);
}

void TForm12::DriveComboBox1Change(int indice) {
    QString unidade = drives_->itemText(indice);
    if (!legivel(unidade)) {
        mostraCaixa(this, Caixa{{}, "Erro de Acesso ao Drive Escolhido", Driver::Icone::Nenhum, false});
        QSignalBlocker b(drives_);
        drives_->setCurrentText(lembrada_);
        return;
    }
    // The drive now shown is the one to come back to, so the list and the tree always agree.
    lembrada_ = unidade;
    mostraUnidade(unidade);
}

void TForm12::DirectoryListBox1Change() {
    QModelIndex i = arvore_->currentIndex();
    if (i.isValid()) pasta_->setText(modelo_->filePath(i));
}

void TForm12::BitBtn1Click() {
    emit copiado(pasta_->text());
    close();
}

}  // namespace velt::ui
