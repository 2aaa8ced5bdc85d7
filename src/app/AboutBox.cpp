#include "app/AboutBox.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/MainWindow.h"

namespace velt::ui {

// Without a parent, so that disabling the main window does not disable the box itself.
TAboutBox::TAboutBox(QWidget* principal) : QDialog(nullptr), principal_(principal) {
    setObjectName("AboutBox");
    setWindowTitle("Sobre");
    auto* l = new QVBoxLayout(this);
    auto* produto = new QLabel("VELT02", this);
    produto->setObjectName("ProductName");
    QFont f = produto->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    produto->setFont(f);
    versao_ = new QLabel(this);
    versao_->setObjectName("Version");
    auto* titulo = new QLabel(QString::fromUtf8("Programa de \nVeltaria"), this);
    titulo->setObjectName("Comments");
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok->setObjectName("OKButton");
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    l->addWidget(produto);
    l->addWidget(versao_);
    l->addWidget(titulo);
    l->addWidget(ok);
}

void TAboutBox::showEvent(QShowEvent* e) {
    versao_->setText(TForm1::kVersao);
    if (principal_) principal_->setEnabled(false);
    setEnabled(true);
    QDialog::showEvent(e);
}

void TAboutBox::done(int r) {
    if (principal_) principal_->setEnabled(true);
    QDialog::done(r);
}

void TAboutBox::closeEvent(QCloseEvent* e) {
    if (principal_) principal_->setEnabled(true);
    QDialog::closeEvent(e);
}

}  // namespace velt::ui
