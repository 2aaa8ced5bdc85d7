#pragma once
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "app/common/Contexto.h"
#include "common/Cores.h"

class QToolBar;

namespace velt {
class TDM;
}

namespace velt::ui {

// The main window: menu, tool bar, status bar with its clock, and the tool-bar file.
class TForm1 : public QMainWindow, public MenuPrincipal {
    Q_OBJECT
public:
    static constexpr const char* kVersao = "1.0.5.0";

    // The data module may be absent or unconnected: the window still opens.
    TForm1(TDM* dm, QWidget* parent = nullptr);

    void defineAcao(const QString& nome, std::function<void()> acao) override;
    QWidget* janela() override { return this; }
    unsigned corFormulario() const override { return cores_.formulario; }
    unsigned corPainel() const override { return cores_.painel; }
    unsigned corGrade() const override { return cores_.grade; }

    struct Entrada;

    QAction* acao(const QString& nome) const { return acoes_.value(nome); }
    QToolBar* barra() const { return barra_; }
    QLabel* painel(int i) const { return paineis_[i]; }
    // Reloads the colours from "VELCores.txt" beside the program file.
    void carregaCores(const QString& pastaPrograma);
    void alternaBarra();
    void atualizaRelogio();

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

private:
    void montaMenu();
    void montaBarra();
    void montaStatus();
    void executa(const QString& nome);

    TDM* dm_;
    QMap<QString, QAction*> acoes_;
    QMap<QString, bool> guardadas_;
    QMap<QString, std::function<void()>> handlers_;
    QMap<QString, QList<QAction*>> botoes_;  // tool-bar buttons by the menu entry they run
    QToolBar* barra_ = nullptr;
    QLabel* paineis_[5] = {};
    QString dica_;
    QTimer relogio_;
    Cores cores_;
};

}  // namespace velt::ui
