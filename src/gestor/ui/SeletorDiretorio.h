#pragma once
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QTreeView;

namespace velt::ui {

// TForm12 "Diretório de Trabalho": a drive list (the volumes a user can browse), the folder
// tree of the chosen drive and the chosen folder's path; "Copiar" hands that path to the manager
// screen. Widgets: DriveComboBox1, DirectoryListBox1, Edit1, BitBtn1 "Copiar", BitBtn2 "Sair".
class TForm12 : public QWidget {
    Q_OBJECT
public:
    // `unidades` empty: the mounted volumes of this computer. `inicial`: the folder to show first
    // (the current work directory), when it lies on one of the drives.
    TForm12(QWidget* dono, const QString& inicial = {}, QStringList unidades = {});

    QString unidadeLembrada() const { return lembrada_; }

signals:
    void copiado(const QString& pasta);

private:
    void DriveComboBox1Change(int indice);
    void DirectoryListBox1Change();
    void BitBtn1Click();
    void mostraUnidade(const QString& unidade);

    QComboBox* drives_;
    QTreeView* arvore_;
    QFileSystemModel* modelo_;
    QLineEdit* pasta_;
    QString lembrada_;
};

}  // namespace velt::ui
