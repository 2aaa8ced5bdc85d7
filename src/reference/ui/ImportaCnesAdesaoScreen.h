#pragma once
#include <QDialog>

class QFileSystemModel;
class QLabel;
class QListWidget;
class QProgressBar;
class QToolButton;
class QTreeView;

namespace velt::ui {

// TfrmCnesAdesao "Importar CNES adesão": the drive list, the folder tree and the list of "*.txt"
// files of the chosen folder; iMPORTA reloads TB_PROJ_SAUDE from the chosen
// TERMOSADESAOCNES.txt (any case).
class TfrmCnesAdesao : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCnesAdesao(QWidget* dono);
    // Colours of the main window: background and title panel (0x00BBGGRR).
    void aplicaCores(unsigned formulario, unsigned painel);
    QString pastaAtual() const { return pasta_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ListBox1Click();
    void DirectoryListBox1Change();
    void iMPORTAClick();
    void mostraPasta(const QString& pasta);

    QLabel* Panel1;
    QListWidget* ListBox1;
    QTreeView* DirectoryListBox1;
    QFileSystemModel* pastas_;
    QListWidget* FileListBox1;
    QProgressBar* ProgressBar1;
    QToolButton* iMPORTA;
    QToolButton* SpeedButton1;
    QString pasta_;
};

}  // namespace velt::ui
