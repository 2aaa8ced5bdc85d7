#pragma once
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/QtDriver.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace velt::ui {

// The frame every reference reload screen shares: the folder label, `ed_Arquivo` showing the
// folder chosen with `SpeedButton3`, the memo `Msg_memo`, the bar `Progresso`, and the buttons
// "Importar" (`BtnImportar`) and "Sair" (`BtnFechar`). Each screen keeps its chosen folder for
// as long as the program runs.
class TelaCargaReferencia : public QWidget {
    Q_OBJECT
public:
    TelaCargaReferencia(QWidget* dono, const QString& objeto, const QString& titulo, const QString& rotulo,
                        QString& pastaLembrada);

protected:
    // The run of the screen's engine, with both buttons already disabled.
    virtual void executa() = 0;

    // The screen's answer to its engine: boxes, the progress bar, repaints between steps.
    class DriverTela : public QtDriver {
    public:
        DriverTela(QWidget* pai, QProgressBar* barra) : QtDriver(pai), barra_(barra) {}
        void progresso(std::int64_t posicao, std::int64_t maximo) override;

    private:
        QProgressBar* barra_;
    };

    std::filesystem::path pasta() const;
    void mostraMemo(const std::vector<std::string>& linhas);

    QPlainTextEdit* Msg_memo;
    QProgressBar* Progresso;
    QPushButton* BtnImportar;
    QPushButton* BtnFechar;

private:
    void SpeedButton3Click();
    void BtnImportarClick();

    QLineEdit* ed_Arquivo;
    QString& pasta_;
};

}  // namespace velt::ui
