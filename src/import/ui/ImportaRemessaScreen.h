#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace velt::ui {

// The file dialog of "Localizar" (title, filter), replaceable so tests choose files without it.
using SeletorArquivos =
    std::function<QStringList(QWidget* pai, const QString& titulo, const QString& filtro)>;
void defineSeletorArquivos(SeletorArquivos f);  // empty restores the real dialog

// " Importa Remessa": imports the establishments' batches of one competência.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* janelaPrincipal);
    ~TForm2() override;
    bool executando() const { return executando_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void SpeedButton1Click();
    void BitBtn1Click();
    QString textoCompetencia() const;
    void habilitaComandos(bool sim);

    QPointer<QWidget> janela_;
    QLineEdit* MaskEdit1;
    QPushButton* SpeedButton1;
    QListWidget* ListBox2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QProgressBar* Gauge1;
    QLabel* StatusBar1;
    QListWidget* FileListBox1;
    std::string competencia_;  // run competência, fixed by "Localizar"
    bool executando_ = false;
};

}  // namespace velt::ui
