#pragma once
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velt::ui {

// "Compactação": builds, zips and stamps the transmission file of a competência, with the
// optional workbook, then starts the backup. The backup goes on after the run; a backup that
// fails is reported when it ends.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* janelaPrincipal);

    QLineEdit* MaskEdit1;
    QCheckBox* ChkExecel;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QLabel* StatusBar1;

    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QWidget* janela_;
};

}  // namespace velt::ui
